#include "platform/LocalClock.h"

#include "platform/SystemCalls.h"

namespace arn {

namespace {

LocalClockFunction g_clock = nullptr;

}  // namespace

LocalDateTime LocalNow() {
    return g_clock != nullptr ? g_clock() : detail::SystemLocalNow();
}

void SetLocalClock(LocalClockFunction clock) {
    g_clock = clock;
}

}  // namespace arn
