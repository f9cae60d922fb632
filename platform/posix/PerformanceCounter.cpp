#include "platform/PerformanceCounter.h"

#include <ctime>

namespace arn {

namespace {

// Nanoseconds of CLOCK_MONOTONIC: steady across wall-clock changes, never goes back.
constexpr int64_t kNanosPerSecond = 1'000'000'000;

PerformanceCounterSource* g_source = nullptr;

}  // namespace

void SetPerformanceCounterSource(PerformanceCounterSource* source) {
    g_source = source;
}

bool QueryPerformanceFrequency(int64_t& frequency) {
    if (g_source != nullptr) {
        return g_source->Frequency(frequency);
    }
    frequency = kNanosPerSecond;
    return true;
}

bool QueryPerformanceCounter(int64_t& count) {
    if (g_source != nullptr) {
        return g_source->Counter(count);
    }
    timespec ts{};
    if (clock_gettime(CLOCK_MONOTONIC, &ts) != 0) {
        return false;
    }
    count = static_cast<int64_t>(ts.tv_sec) * kNanosPerSecond + ts.tv_nsec;
    return true;
}

}  // namespace arn
