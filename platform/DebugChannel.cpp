#include "platform/DebugChannel.h"

#include "platform/SystemCalls.h"

namespace arn {

namespace {

// Made on first use and never destroyed, so a trace line sent while statics are being torn
// down at exit still finds a channel.
Event<std::string_view>& Channel() {
    static auto* channel = new Event<std::string_view>();
    return *channel;
}

}  // namespace

void OutputDebugStringA(std::string_view text) {
    detail::SystemDebugOutput(text);
    Event<std::string_view>& channel = Channel();
    if (channel.slotCount() != 0) {
        channel(text);
    }
}

Connection AttachDebugListener(std::function<void(std::string_view)> listener) {
    return Channel().connect(std::move(listener));
}

bool DebugListenerAttached() {
    return Channel().slotCount() != 0;
}

}  // namespace arn
