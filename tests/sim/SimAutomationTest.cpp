#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "core/ObjectClient.h"
#include "fakes/ErrorNumber.h"
#include "host/AutomationNet.h"
#include "host/AutomationNode.h"
#include "host/NodeParams.h"
#include "sim/SimNet.h"
#include "sim/SimNetAutomation.h"
#include "sim/SimNode.h"
#include "sim/SimNodeAutomation.h"

namespace arn {
namespace {

using test::ErrorNumber;

// A simulated net and node behind their automation faces, seen through our own wrappers as a
// host that hands out only automation objects would be.
struct WrappedSim {
    explicit WrappedSim(SimNodeOptions options = {}) : node(net->CreateNode(std::move(options))) {
        netFace = SimNetAutomation::Create(net);
        nodeFace = SimNodeAutomation::Create(node);
        netClient = std::make_shared<ObjectClient>(netFace);
        wrappedNet = AutomationNet::Create(netClient);
        wrappedNode = wrappedNet->WrapNode(std::make_shared<ObjectClient>(nodeFace));
    }

    std::shared_ptr<SimNet> net = SimNet::Create();
    std::shared_ptr<SimNode> node;
    std::shared_ptr<SimNetAutomation> netFace;
    std::shared_ptr<SimNodeAutomation> nodeFace;
    std::shared_ptr<ObjectClient> netClient;
    std::shared_ptr<AutomationNet> wrappedNet;
    std::shared_ptr<AutomationNode> wrappedNode;
};

TEST(SimAutomation, WrappedNodeReadsWritesAndDescribesTheSimulatedParameters) {
    SimNodeOptions options;
    options.omitParams = {param::MaxTravel};
    WrappedSim sim(options);
    AutomationNode& node = *sim.wrappedNode;

    EXPECT_TRUE(node.ParamExists(param::Position1 + 1));
    EXPECT_FALSE(node.ParamExists(param::MaxTravel));

    auto position2 = node.Param(param::Position1 + 1);
    EXPECT_EQ(position2->get_Name(), "Position 2");
    EXPECT_DOUBLE_EQ(position2->get_NumberValue()->GetDouble(), 1000.0);
    position2->get_NumberValue()->SetDouble(1500);
    EXPECT_DOUBLE_EQ(sim.node->Drive().Read(param::Position1 + 1), 1500.0);

    // The units follow the drive's units selection.
    std::string quantity, units;
    position2->get_NumberValue()->GetUnitsText(quantity, units);
    EXPECT_EQ(units, "counts");
    node.Param(param::UnitsSelect)->get_NumberValue()->SetDouble(2);
    position2->get_NumberValue()->GetUnitsText(quantity, units);
    EXPECT_EQ(quantity, "Position 2");
    EXPECT_EQ(units, "mm");

    auto status = node.Param(param::Status);
    ASSERT_EQ(status->get_Fields().Count(), 9u);
    const auto homing = status->Field("Homing");
    ASSERT_NE(homing, nullptr);
    EXPECT_EQ(homing->get_BitIndex(), 3);
    EXPECT_EQ(homing->get_BitCount(), 1);
    EXPECT_EQ(homing->get_Description(), "Homing in progress");

    // A command bit applied through the face reaches the drive.
    sim.node->SetPin(SimPin::Enable, true);  // homing and jog need the drive enabled
    auto command = node.Param(param::HomingCommand);
    command->Field("Start Homing")->put_Value(1);
    command->Field("Start Homing")->Apply();
    EXPECT_TRUE(sim.node->Drive().Homing());
    command->Field("Abort Homing")->put_Value(1);  // a homing drive refuses to jog
    command->Field("Abort Homing")->Apply();
    EXPECT_TRUE(sim.node->Drive().HomingAborted());

    node.put_AccelLimit(250);
    node.put_DecelLimit(125);
    EXPECT_DOUBLE_EQ(sim.node->get_AccelLimit(), 250.0);
    EXPECT_DOUBLE_EQ(node.get_DecelLimit(), 125.0);
    node.MoveVelocity(-30, 0, 0);
    EXPECT_TRUE(sim.node->Drive().Jogging());
    EXPECT_DOUBLE_EQ(sim.node->Drive().JogVelocity(), -30.0);
    node.NodeStop(65);
    EXPECT_FALSE(sim.node->Drive().Jogging());
}

// (The panel's automation test holds the app-events face to one object.)
TEST(SimAutomation, FacesKeepOneObjectPerParameterAndCheckTheFieldIndex) {
    WrappedSim sim;
    const Variant statusParam(param::Status);
    EXPECT_EQ(VariantToObject(sim.nodeFace->CallMethod("Param", {statusParam})),
              VariantToObject(sim.nodeFace->CallMethod("Param", {statusParam})));
    const auto fields =
        ObjectClient(sim.nodeFace).CallObject("Param", {statusParam})->GetObject("Fields");
    EXPECT_EQ(VariantToString(fields->CallObject("Item", {Variant(1)})->Get("Name")), "Enable Req");
    EXPECT_EQ(VariantToString(fields->CallObject("Item", {Variant(9)})->Get("Name")),
              "At Position");
    EXPECT_EQ(ErrorNumber([&] { fields->CallObject("Item", {Variant(0)}); }), 9);
    EXPECT_EQ(ErrorNumber([&] { fields->CallObject("Item", {Variant(10)}); }), 9);
}

TEST(SimAutomation, TickThroughTheNetFaceRefreshesValuesBeforeTheWrappersTimerTick) {
    WrappedSim sim;
    sim.net->SetDebugFlags(0x24);
    EXPECT_EQ(sim.wrappedNet->get_Options()->get_DebugFlags(), 0x24);
    auto position3 = sim.wrappedNode->Param(param::Position1 + 2);
    std::vector<double> seenAtTick;
    auto tick = sim.wrappedNet->get_AppEvents()->TimerTick.connect(
        [&] { seenAtTick.push_back(position3->Content()); });
    sim.node->ForceParam(param::Position1 + 2, 2750);
    EXPECT_DOUBLE_EQ(position3->Content(), 2000.0);
    sim.netClient->Call("Tick", {});
    EXPECT_EQ(seenAtTick, std::vector<double>{2750.0});
    EXPECT_EQ(sim.netClient->Get("Ticks"), Variant(1.0));

    // The app-events face's subscription to the net ends with the face.
    EXPECT_EQ(sim.net->Events()->TimerTick.slotCount(), 1u);
    sim.wrappedNode.reset();
    sim.wrappedNet.reset();
    sim.netClient.reset();
    sim.netFace.reset();
    EXPECT_EQ(sim.net->Events()->TimerTick.slotCount(), 0u);
}

TEST(SimAutomation, ErrorsTheSimulationRaisesReachTheCallerWithTheirNumber) {
    WrappedSim sim;
    auto position1 = sim.wrappedNode->Param(param::Position1);

    sim.node->Faults().Fail("Number.SetDouble", 1, param::Position1, vbObjectError + 0x2101);
    EXPECT_EQ(ErrorNumber([&] { position1->get_NumberValue()->SetDouble(5); }),
              vbObjectError + 0x2101);
    EXPECT_DOUBLE_EQ(sim.node->Drive().Read(param::Position1), 0.0);
    position1->get_NumberValue()->SetDouble(5);  // only the first call was planned to fail
    EXPECT_DOUBLE_EQ(sim.node->Drive().Read(param::Position1), 5.0);

    sim.node->Faults().Fail("Motion.MoveVelocity", 1, FaultPlan::kAnyParam, vbObjectError + 0x2102);
    EXPECT_EQ(ErrorNumber([&] { sim.wrappedNode->MoveVelocity(10); }), vbObjectError + 0x2102);
    sim.net->Faults().Fail("Options.DebugFlags", 1, FaultPlan::kAnyParam, vbObjectError + 0x2103);
    EXPECT_EQ(ErrorNumber([&] { sim.wrappedNet->get_Options()->get_DebugFlags(); }),
              vbObjectError + 0x2103);
    sim.node->Faults().Fail("Field.Apply", 1, param::HomingCommand, vbObjectError + 0x2104);
    EXPECT_EQ(ErrorNumber([&] {
                  sim.wrappedNode->Param(param::HomingCommand)->Field("Start Homing")->Apply();
              }),
              vbObjectError + 0x2104);
}

}  // namespace
}  // namespace arn
