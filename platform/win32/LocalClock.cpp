#include "platform/LocalClock.h"

#include <windows.h>

namespace arn {

namespace {

LocalClockFunction g_clock = nullptr;

LocalDateTime SystemNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace

LocalDateTime LocalNow() {
    return g_clock != nullptr ? g_clock() : SystemNow();
}

void SetLocalClock(LocalClockFunction clock) {
    g_clock = clock;
}

}  // namespace arn
