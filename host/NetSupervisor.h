#pragma once

namespace arn {

// The net's supervisor object. Callers only hold it while attached.
class NetSupervisor {
  public:
    virtual ~NetSupervisor() = default;
};

}  // namespace arn
