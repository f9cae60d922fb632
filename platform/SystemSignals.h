#pragma once

#include <string_view>

namespace arn::detail {

// What the debug channel and the beep hand to the operating system, beside the in-process
// listeners they keep on every platform: the system's debug output and its sound. Each
// platform folder implements both (nothing at all where the system has no such thing).
void SystemDebugOutput(std::string_view text);
void SystemBeep();

}  // namespace arn::detail
