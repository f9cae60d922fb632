#pragma once

#include <cstdint>
#include <functional>

namespace arn {

// The system beep: MessageBeep on Windows. Linux has no speaker to drive, so there a beep is
// only what the optional listener makes of it (the Qt program sounds its own). On both, every
// beep is handed to the listener. UI thread only, like its callers.
void Beep();

// Called once per beep; an empty function removes the listener.
// Returns the listener it replaces so a caller can put it back.
std::function<void()> SetBeepListener(std::function<void()> listener);

}  // namespace arn
