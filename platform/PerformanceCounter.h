#pragma once

#include <cstdint>

namespace arn {

// The high-resolution counter: a frequency in counts per second and a monotonic count.
// Both return false when the counter is unavailable, leaving their argument untouched.
bool QueryPerformanceFrequency(int64_t& frequency);
bool QueryPerformanceCounter(int64_t& count);

// Replaces the counter for tests (a fake that steps on command, or one with no frequency).
// Process-wide; nullptr restores the system's counter (QueryPerformanceCounter on Windows,
// the monotonic clock in nanoseconds on Linux). The source must outlive its use.
class PerformanceCounterSource {
  public:
    virtual ~PerformanceCounterSource() = default;
    virtual bool Frequency(int64_t& frequency) = 0;
    virtual bool Counter(int64_t& count) = 0;
};
void SetPerformanceCounterSource(PerformanceCounterSource* source);

}  // namespace arn
