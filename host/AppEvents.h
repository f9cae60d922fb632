#pragma once

#include "core/Event.h"

namespace arn {

// The net's application events. TimerTick is the host's periodic tick; the net raises it on the
// user-interface thread after the drive has taken its step for that period.
class AppEvents {
  public:
    virtual ~AppEvents() = default;
    Event<> TimerTick;
};

}  // namespace arn
