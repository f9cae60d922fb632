#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Event.h"

namespace arn {
namespace {

TEST(Event, CallsSlotsInConnectionOrderUntilTheirConnectionGoes) {
    Event<int> event;
    std::vector<std::string> calls;
    Connection a = event.connect([&](int v) { calls.push_back("a" + std::to_string(v)); });
    {
        Connection b = event.connect([&](int v) { calls.push_back("b" + std::to_string(v)); });
        event(1);
        EXPECT_EQ(event.slotCount(), 2u);
    }
    event(2);  // b's connection went out of scope
    Connection moved = std::move(a);
    EXPECT_FALSE(a.connected());
    EXPECT_TRUE(moved.connected());
    event(3);  // the moved connection still holds the slot
    moved = Connection();
    event(4);
    EXPECT_EQ(calls, (std::vector<std::string>{"a1", "b1", "a2", "a3"}));
    EXPECT_EQ(event.slotCount(), 0u);
}

TEST(Event, ADispatchSeesTheSlotsOfItsStartMinusThoseDisconnectedMeanwhile) {
    Event<> event;
    std::vector<std::string> calls;
    Connection late;
    Connection second;
    Connection first = event.connect([&] {
        calls.push_back("first");
        second.disconnect();  // skipped in this dispatch already
        if (!late.connected()) {
            late = event.connect([&] { calls.push_back("late"); });  // waits for the next
        }
    });
    second = event.connect([&] { calls.push_back("second"); });
    event();
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    event();
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "first", "late"}));
}

TEST(Event, AHandlerMayDestroyTheEventThatCalledIt) {
    auto event = std::make_unique<Event<>>();
    int after = 0;
    Connection kill = event->connect([&] { event.reset(); });
    Connection next = event->connect([&] { ++after; });
    (*event)();
    EXPECT_EQ(event, nullptr);
    // The slot list lived through the rest of the dispatch (no use after free), and the slots
    // of the destroyed event were disconnected with it, so the later one did not run.
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(next.connected());
    next.disconnect();  // harmless on a dead slot
}

struct Source {
    Event<int> Changed;
};

TEST(WithEvents, SubscribesOnAssignmentAndDropsTheOldSubscriptionsFirst) {
    std::vector<int> seen;
    WithEvents<Source> member([&](Source& s, std::vector<Connection>& c) {
        c.push_back(s.Changed.connect([&](int v) { seen.push_back(v); }));
    });
    auto one = std::make_shared<Source>();
    auto two = std::make_shared<Source>();

    member = one;
    member = one;  // the same object: still one subscription
    one->Changed(1);
    member = two;
    one->Changed(2);  // no longer heard
    two->Changed(3);
    EXPECT_EQ(one->Changed.slotCount(), 0u);
    member = nullptr;
    two->Changed(4);
    EXPECT_FALSE(member);
    EXPECT_EQ(seen, (std::vector<int>{1, 3}));
}

TEST(WithEvents, ClearingTheMemberInsideItsOwnEventIsSafe) {
    WithEvents<Source>* self = nullptr;
    int calls = 0;
    WithEvents<Source> member([&](Source& s, std::vector<Connection>& c) {
        c.push_back(s.Changed.connect([&](int) {
            ++calls;
            *self = nullptr;  // drops the object and the slot that is running
        }));
        c.push_back(s.Changed.connect([&](int) { ++calls; }));
    });
    self = &member;
    auto source = std::make_shared<Source>();
    member = source;
    source->Changed(1);
    EXPECT_EQ(calls, 1) << "the second slot was disconnected before its turn";
    EXPECT_EQ(source->Changed.slotCount(), 0u);
}

}  // namespace
}  // namespace arn
