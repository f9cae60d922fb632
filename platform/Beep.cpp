#include "platform/Beep.h"

#include "platform/SystemCalls.h"

#include <utility>

namespace arn {

namespace {

std::function<void()>& Listener() {
    static std::function<void()> listener;
    return listener;
}

}  // namespace

void Beep() {
    detail::SystemBeep();
    // Copy first: the listener may replace itself while it runs.
    const std::function<void()> listener = Listener();
    if (listener) {
        listener();
    }
}

std::function<void()> SetBeepListener(std::function<void()> listener) {
    return std::exchange(Listener(), std::move(listener));
}

}  // namespace arn
