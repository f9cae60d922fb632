#include "platform/PerformanceCounter.h"

#include <windows.h>

namespace arn {

namespace {

PerformanceCounterSource* g_source = nullptr;

}  // namespace

void SetPerformanceCounterSource(PerformanceCounterSource* source) {
    g_source = source;
}

bool QueryPerformanceFrequency(int64_t& frequency) {
    if (g_source != nullptr) {
        return g_source->Frequency(frequency);
    }
    LARGE_INTEGER value{};
    // A frequency of 0 means no counter, as a failed call does.
    if (::QueryPerformanceFrequency(&value) == 0 || value.QuadPart <= 0) {
        return false;
    }
    frequency = value.QuadPart;
    return true;
}

bool QueryPerformanceCounter(int64_t& count) {
    if (g_source != nullptr) {
        return g_source->Counter(count);
    }
    LARGE_INTEGER value{};
    if (::QueryPerformanceCounter(&value) == 0) {
        return false;
    }
    count = value.QuadPart;
    return true;
}

}  // namespace arn
