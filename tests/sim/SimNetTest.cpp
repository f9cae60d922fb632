// The simulated net: its objects, the tick, and nets built without or failing on them.
#include <gtest/gtest.h>

#include "platform/ArnError.h"
#include "sim/SimNet.h"

namespace arn {
namespace {

TEST(SimNet, TickStepsEveryNodeBeforeRaisingTimerTick) {
    SimNetOptions options;
    options.debugFlags = 0x40000;
    auto net = SimNet::Create(options);
    auto node = net->CreateNode();
    node->SetPin(SimPin::Enable, true);
    node->SetPin(SimPin::InputA, true);  // position 2: 1000
    auto measured = node->Param(68);

    std::vector<double> seenAtTick;
    std::vector<std::string> order;
    auto c1 = measured->ContentChanged.connect(
        [&](const std::shared_ptr<Value>&) { order.push_back("content"); });
    auto c2 = net->get_AppEvents()->TimerTick.connect([&] {
        order.push_back("tick");
        seenAtTick.push_back(measured->get_NumberValue()->GetDouble());
    });
    net->Tick();
    net->Tick();
    EXPECT_EQ(order, (std::vector<std::string>{"content", "tick", "content", "tick"}));
    EXPECT_EQ(seenAtTick, (std::vector<double>{25, 50}));
    EXPECT_EQ(net->Ticks(), 2);
    EXPECT_EQ(net->get_Options()->get_DebugFlags(), 0x40000);
    net->SetDebugFlags(1);
    EXPECT_EQ(net->get_Options()->get_DebugFlags(), 1);
    EXPECT_NE(net->get_DriveEvents(), nullptr);
    EXPECT_NE(net->get_NetSupervisor(), nullptr);
    EXPECT_EQ(&node->Faults(), &net->Faults()) << "nodes share the net's plan";
}

TEST(SimNet, BuildsWithoutItsObjectsOrWithFailingOnes) {
    SimNetOptions bare;
    bare.withAppEvents = false;
    bare.withDriveEvents = false;
    bare.withNetSupervisor = false;
    bare.withOptions = false;
    auto net = SimNet::Create(bare);
    auto node = net->CreateNode();
    EXPECT_EQ(net->get_AppEvents(), nullptr);
    EXPECT_EQ(net->get_DriveEvents(), nullptr);
    EXPECT_EQ(net->get_NetSupervisor(), nullptr);
    EXPECT_EQ(net->get_Options(), nullptr);
    node->Drive().StartHoming();
    net->Tick();  // still steps the drive
    EXPECT_EQ(node->Param(181)->Field("Homing")->get_Value(), 1);

    auto failing = SimNet::Create();
    failing->Faults().Fail("Net.AppEvents");
    failing->Faults().Fail("Options.DebugFlags", 2);
    EXPECT_THROW(failing->get_AppEvents(), ArnError);
    EXPECT_NE(failing->get_DriveEvents(), nullptr);
    auto opts = failing->get_Options();
    EXPECT_NO_THROW(opts->get_DebugFlags());
    EXPECT_THROW(opts->get_DebugFlags(), ArnError);
    int ticks = 0;
    auto c = failing->Events()->TimerTick.connect([&] { ++ticks; });
    failing->Tick();
    EXPECT_EQ(ticks, 1) << "the tick itself never goes through the plan";
}

TEST(SimNet, AHandlerMayDropTheNodeDuringTheTick) {
    auto net = SimNet::Create();
    auto node = net->CreateNode();
    node->SetPin(SimPin::Enable, true);
    node->SetPin(SimPin::InputA, true);
    std::shared_ptr<Value> measured = node->Param(68);
    // The value's subscriber lets go of everything inside the drive's own event.
    auto c = measured->ContentChanged.connect([&](const std::shared_ptr<Value>&) {
        measured.reset();
        node.reset();
    });
    net->Tick();
    EXPECT_EQ(measured, nullptr);
    EXPECT_EQ(net->Nodes().size(), 1u);
}

}  // namespace
}  // namespace arn
