#include "platform/PerformanceCounter.h"

#include "platform/SystemCalls.h"

namespace arn {

namespace {

PerformanceCounterSource* g_source = nullptr;

}  // namespace

void SetPerformanceCounterSource(PerformanceCounterSource* source) {
    g_source = source;
}

bool QueryPerformanceFrequency(int64_t& frequency) {
    return g_source != nullptr ? g_source->Frequency(frequency)
                               : detail::SystemPerformanceFrequency(frequency);
}

bool QueryPerformanceCounter(int64_t& count) {
    return g_source != nullptr ? g_source->Counter(count) : detail::SystemPerformanceCounter(count);
}

}  // namespace arn
