// The simulated net: the tick, and nets built without or failing on their objects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ArnError.h"
#include "sim/SimNet.h"

namespace arn {
namespace {

// A tick steps every node before it raises TimerTick; a failing listener is reported and the
// others still hear the tick. (The panel's automation test ticks without failures.)
TEST(SimNet, TickStepsTheNodesThenRaisesTimerTickToEveryListener) {
    auto net = SimNet::Create();
    auto first = net->CreateNode();
    auto second = net->CreateNode();
    for (const auto& node : {first, second}) {
        node->SetPin(SimPin::Enable, true);
        node->SetPin(SimPin::InputA, true);
    }
    std::vector<std::string> heard;
    std::vector<std::string> reports;
    auto r = net->ListenerFailed.connect([&](std::string_view where, const ArnError& e) {
        reports.push_back(std::string(where) + " " + std::to_string(e.number()) + " " + e.source() +
                          ": " + e.description());
    });
    auto c1 = first->Param(68)->ContentChanged.connect(
        [&](const std::shared_ptr<Value>&) { throw ArnError(440, "Handler", "first node"); });
    auto c2 = second->Param(68)->ContentChanged.connect(
        [&](const std::shared_ptr<Value>&) { heard.push_back("second moved"); });
    auto t1 = net->get_AppEvents()->TimerTick.connect([&] {
        heard.push_back("tick 1");
        throw ArnError(91, "Listener", "node stopped answering");
    });
    auto t2 = net->get_AppEvents()->TimerTick.connect([&] {
        heard.push_back("tick 2");
        throw std::runtime_error("plain");
    });
    auto t3 = net->get_AppEvents()->TimerTick.connect([&] { heard.push_back("tick 3"); });

    EXPECT_NO_THROW(net->Tick());
    EXPECT_EQ(heard, (std::vector<std::string>{"second moved", "tick 1", "tick 2", "tick 3"}));
    EXPECT_EQ(reports, (std::vector<std::string>{"Step 440 Handler: first node",
                                                 "TimerTick 91 Listener: node stopped answering",
                                                 "TimerTick 0 SimNet: plain"}));
    EXPECT_EQ(net->ListenerFailures(), 3);
    EXPECT_EQ(second->Param(68)->Content(), 25) << "the second node stepped";
    EXPECT_EQ(&first->Faults(), &net->Faults()) << "nodes share the net's plan";

    EXPECT_EQ(net->Ticks(), 1);
}

}  // namespace
}  // namespace arn
