#pragma once

#include <cstdint>

namespace arn {

// The net's options. DebugFlags is the host's 32-bit debug flag word.
class NetOptions {
  public:
    virtual ~NetOptions() = default;
    virtual int32_t get_DebugFlags() const = 0;  // may throw ArnError
};

}  // namespace arn
