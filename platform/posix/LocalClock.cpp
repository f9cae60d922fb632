#include <ctime>

#include "platform/SystemCalls.h"

namespace arn::detail {

LocalDateTime SystemLocalNow() {
    // Converting to local time takes the time-zone lock; callers ask many times a second, so
    // the conversion is redone only when the second changes.
    thread_local std::time_t cachedSecond = -1;
    thread_local LocalDateTime cached;
    const std::time_t now = std::time(nullptr);
    if (now != cachedSecond) {
        std::tm tm{};
        if (localtime_r(&now, &tm) == nullptr) {
            return cached;
        }
        cached = LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                               tm.tm_hour,        tm.tm_min,     tm.tm_sec};
        cachedSecond = now;
    }
    return cached;
}

}  // namespace arn::detail
