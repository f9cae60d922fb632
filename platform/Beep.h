#pragma once

#include <cstdint>
#include <functional>

namespace arn {

// The system beep. On this platform there is no speaker to drive: every beep is handed to an
// optional listener, through which a host (the Qt program) sounds its own. UI thread only,
// like its callers.
void Beep();

// Called once per beep; an empty function removes the listener.
// Returns the listener it replaces so a caller can put it back.
std::function<void()> SetBeepListener(std::function<void()> listener);

}  // namespace arn
