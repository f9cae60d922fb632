#include "platform/Beep.h"

#include <utility>

namespace arn {

namespace {

int64_t g_beepCount = 0;

std::function<void()>& Listener() {
    static std::function<void()> listener;
    return listener;
}

}  // namespace

void Beep() {
    ++g_beepCount;
    // Copy first: the listener may replace itself while it runs.
    const std::function<void()> listener = Listener();
    if (listener) {
        listener();
    }
}

int64_t BeepCount() {
    return g_beepCount;
}

void ResetBeepCount() {
    g_beepCount = 0;
}

std::function<void()> SetBeepListener(std::function<void()> listener) {
    return std::exchange(Listener(), std::move(listener));
}

}  // namespace arn
