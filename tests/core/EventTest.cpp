#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Event.h"
#include "fakes/AllocationCounter.h"

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

TEST(Event, RaiseEachReachesEverySlotAndHandsOverEachFailure) {
    Event<int> event;
    std::vector<std::string> calls;
    std::vector<std::string> failures;
    Connection a = event.connect([&](int) {
        calls.push_back("a");
        throw std::runtime_error("a failed");
    });
    Connection b = event.connect([&](int v) { calls.push_back("b" + std::to_string(v)); });
    Connection c = event.connect([&](int) {
        calls.push_back("c");
        throw 42;  // not even an exception class
    });
    const auto collect = [&] {
        try {
            throw;
        } catch (const std::exception& e) {
            failures.emplace_back(e.what());
        } catch (...) {
            failures.emplace_back("other");
        }
    };
    event.RaiseEach(collect, 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"a", "b7", "c"}));
    EXPECT_EQ(failures, (std::vector<std::string>{"a failed", "other"}));

    // The plain raise stops at the first failure and hands it to the raiser.
    calls.clear();
    EXPECT_THROW(event(1), std::runtime_error);
    EXPECT_EQ(calls, (std::vector<std::string>{"a"}));
}

TEST(Event, NestedRaisesAndDisconnectsKeepTheListConsistent) {
    Event<int> event;
    std::vector<std::string> calls;
    Connection victim;
    Connection outer = event.connect([&](int depth) {
        calls.push_back("outer" + std::to_string(depth));
        if (depth == 0) {
            event(1);  // the same event, raised again from one of its slots
        }
    });
    Connection inner = event.connect([&](int depth) {
        calls.push_back("inner" + std::to_string(depth));
        victim.disconnect();  // during two running dispatches at once
    });
    victim = event.connect([&](int depth) { calls.push_back("victim" + std::to_string(depth)); });
    event(0);
    EXPECT_EQ(calls, (std::vector<std::string>{"outer0", "outer1", "inner1", "inner0"}));
    EXPECT_EQ(event.slotCount(), 2u);
    calls.clear();
    inner = Connection();
    event(5);
    EXPECT_EQ(calls, (std::vector<std::string>{"outer5"}));
    EXPECT_EQ(event.slotCount(), 1u);
}

TEST(Event, RaisingAllocatesNothing) {
    Event<const std::shared_ptr<int>&> event;
    int sum = 0;
    Connection a = event.connect([&](const std::shared_ptr<int>& v) { sum += *v; });
    Connection b = event.connect([&](const std::shared_ptr<int>& v) { sum += 2 * *v; });
    const auto value = std::make_shared<int>(3);
    const int64_t before = test::AllocationCount();
    for (int i = 0; i < 100; ++i) {
        event(value);
        event.RaiseEach([] {}, value);
    }
    EXPECT_EQ(test::AllocationCount() - before, 0);
    EXPECT_EQ(sum, 1800);
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

TEST(HeldSubscription, UndoesOnceWhenItsConnectionEndsAndNotAfterItIsGone) {
    int undone = 0;
    auto held = std::make_shared<HeldSubscription>([&] { ++undone; });
    {
        Connection connection = held->Connect();
        EXPECT_TRUE(connection.connected());
    }
    EXPECT_EQ(undone, 1);
    held->erase(nullptr);  // a second end changes nothing
    EXPECT_EQ(undone, 1);

    auto dropped = std::make_shared<HeldSubscription>([&] { ++undone; });
    Connection outlived = dropped->Connect();
    dropped.reset();  // whoever held the subscription let it go first
    EXPECT_FALSE(outlived.connected());
    outlived.disconnect();
    EXPECT_EQ(undone, 1);
}

}  // namespace
}  // namespace arn
