#pragma once

namespace arn {

// The net's drive-event source. Callers only hold it while attached; it raises nothing they use.
class DriveEvents {
  public:
    virtual ~DriveEvents() = default;
};

}  // namespace arn
