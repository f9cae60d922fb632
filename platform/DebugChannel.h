#pragma once

#include <functional>
#include <string_view>

#include "core/Event.h"

namespace arn {

// The system's debug output: one channel for the whole process. On Windows every text also goes
// to the system's OutputDebugStringA, converted to the ANSI code page; on Linux a text sent
// while no listener is attached goes nowhere, at the cost of one test. Listeners receive the
// text exactly as sent (the trace sends whole lines ending in CR LF). Attach and send on the
// UI thread.
void OutputDebugStringA(std::string_view text);

// Attaches a listener until the returned connection is dropped or disconnected.
[[nodiscard]] Connection AttachDebugListener(std::function<void(std::string_view)> listener);

bool DebugListenerAttached();

}  // namespace arn
