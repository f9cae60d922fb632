#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Event.h"
#include "fakes/AllocationCounter.h"

namespace arn {
namespace {

using Calls = std::vector<std::string>;

TEST(Event, CallsSlotsInOrderWhileConnectedAndSeesDisconnectsDuringADispatch) {
    Event<int> event;
    Calls calls;
    const auto record = [&](const char* name) {
        return [&calls, name](int v) { calls.push_back(name + std::to_string(v)); };
    };
    Connection a = event.connect(record("a"));
    {
        Connection b = event.connect(record("b"));
        event(1);
    }
    event(2);  // b's connection went out of scope
    Connection moved = std::move(a);
    EXPECT_FALSE(a.connected());
    event(3);  // the moved connection still holds the slot
    moved = Connection();
    event(4);
    EXPECT_EQ(calls, (Calls{"a1", "b1", "a2", "a3"}));
    EXPECT_EQ(event.slotCount(), 0u);

    // A dispatch skips slots disconnected meanwhile, also from a nested raise, and leaves slots
    // connected meanwhile for the next one.
    calls.clear();
    Connection victim, late;
    Connection outer = event.connect([&](int depth) {
        calls.push_back("outer" + std::to_string(depth));
        if (depth == 0) {
            event(1);
        }
        if (!late.connected()) {
            late = event.connect(record("late"));
        }
    });
    Connection inner = event.connect([&](int depth) {
        calls.push_back("inner" + std::to_string(depth));
        victim.disconnect();
    });
    victim = event.connect(record("victim"));
    event(0);
    EXPECT_EQ(calls, (Calls{"outer0", "outer1", "inner1", "inner0"}));
    inner = Connection();
    event(5);
    EXPECT_EQ(calls.back(), "late5");
    EXPECT_EQ(event.slotCount(), 2u);
}

TEST(Event, AHandlerMayDestroyTheEventThatCalledIt) {
    auto event = std::make_unique<Event<>>();
    int after = 0;
    Connection kill = event->connect([&] { event.reset(); });
    Connection next = event->connect([&] { ++after; });
    (*event)();
    // The slot list lived through the rest of the dispatch, and the slots of the destroyed
    // event were disconnected with it, so the later one did not run.
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(next.connected());
    next.disconnect();  // harmless on a dead slot
}

TEST(Event, RaiseEachReachesEverySlotAndHandsOverEachFailureWithoutAllocating) {
    Event<const std::shared_ptr<int>&> event;
    Calls calls;
    Calls failures;
    Connection a = event.connect([&](auto&) {
        calls.push_back("a");
        throw std::runtime_error("a failed");
    });
    Connection b = event.connect([&](auto& v) { calls.push_back("b" + std::to_string(*v)); });
    Connection c = event.connect([&](auto&) {
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
    const auto value = std::make_shared<int>(7);
    event.RaiseEach(collect, value);
    EXPECT_EQ(calls, (Calls{"a", "b7", "c"}));
    EXPECT_EQ(failures, (Calls{"a failed", "other"}));
    // The plain raise stops at the first failure and hands it to the raiser.
    EXPECT_THROW(event(value), std::runtime_error);
    EXPECT_EQ(calls.size(), 4u);

    a = Connection();
    c = Connection();
    calls.reserve(1000);
    const int64_t before = test::AllocationCount();
    for (int i = 0; i < 100; ++i) {
        event.RaiseEach([] {}, value);
    }
    EXPECT_EQ(test::AllocationCount() - before, 0);
}

struct Source {
    Event<int> Changed;
};

TEST(WithEvents, SubscribesOnAssignmentAndDropsTheOldSubscriptionsFirst) {
    std::vector<int> seen;
    WithEvents<Source> member([&](Source& s, std::vector<Connection>& c) {
        c.push_back(s.Changed.connect([&](int v) { seen.push_back(v); }));
        // A handler that clears the member during the dispatch: the later handler is not called.
        c.push_back(s.Changed.connect([&](int v) {
            if (v == 3) {
                member = nullptr;
            }
        }));
        c.push_back(s.Changed.connect([&](int v) { seen.push_back(-v); }));
    });
    auto one = std::make_shared<Source>();
    member = one;
    member = one;  // the same object: still one subscription
    one->Changed(1);
    member = std::make_shared<Source>();
    one->Changed(2);  // no longer heard
    EXPECT_EQ(one->Changed.slotCount(), 0u);
    member = one;
    one->Changed(3);
    one->Changed(4);
    EXPECT_EQ(one->Changed.slotCount(), 0u);
    EXPECT_EQ(seen, (std::vector<int>{1, -1, 3}));
}

TEST(HeldSubscription, UndoesOnceWhenItsConnectionEndsAndNotAfterItIsGone) {
    int undone = 0;
    auto held = std::make_shared<HeldSubscription>([&] { ++undone; });
    held->Connect();  // the connection ends at once
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
