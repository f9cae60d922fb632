#include <ctime>

#include "platform/SystemCalls.h"

namespace arn::detail {

namespace {

// Nanoseconds of CLOCK_MONOTONIC: steady across wall-clock changes, never goes back.
constexpr int64_t kNanosPerSecond = 1'000'000'000;

}  // namespace

bool SystemPerformanceFrequency(int64_t& frequency) {
    frequency = kNanosPerSecond;
    return true;
}

bool SystemPerformanceCounter(int64_t& count) {
    timespec ts{};
    if (clock_gettime(CLOCK_MONOTONIC, &ts) != 0) {
        return false;
    }
    count = static_cast<int64_t>(ts.tv_sec) * kNanosPerSecond + ts.tv_nsec;
    return true;
}

}  // namespace arn::detail
