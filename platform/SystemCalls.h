#pragma once

#include <cstdint>
#include <string_view>

#include "platform/LocalClock.h"

namespace arn::detail {

// What differs per operating system behind the platform seam. The seam itself (listeners,
// the sources and clocks tests install) is written once in platform/; each platform folder
// implements only these calls to its system.

// The system's debug output and its sound, beside the in-process listeners; nothing at all
// where the system has no such thing.
void SystemDebugOutput(std::string_view text);
void SystemBeep();

// The high-resolution counter: false when the system has none (or reports a frequency of 0).
bool SystemPerformanceFrequency(int64_t& frequency);
bool SystemPerformanceCounter(int64_t& count);

// The local date and time, to the second.
LocalDateTime SystemLocalNow();

}  // namespace arn::detail
