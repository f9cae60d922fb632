#include "platform/SystemCalls.h"

namespace arn::detail {

// Linux has no system-wide debug output; the in-process listeners are the channel.
void SystemDebugOutput(std::string_view) {}

// A library inside a host has no terminal of its own to ring; hosts hear the beep listener.
void SystemBeep() {}

}  // namespace arn::detail
