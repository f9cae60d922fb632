// The simulated node: value objects over the drive, drive-side changes, omissions and faults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ArnError.h"
#include "sim/SimLayout.h"
#include "sim/SimNode.h"

namespace arn {
namespace {

namespace sp = simparam;

int ErrorNumber(const std::function<void()>& call) {
    try {
        call();
    } catch (const ArnError& e) {
        return e.number();
    }
    return 0;
}

struct ViewSpy {
    int views = 0;
    int contents = 0;
    Connection view;
    Connection content;
    ViewSpy(const std::shared_ptr<Value>& value, const std::string& key) {
        view = value->Field(key)->UpdateView.connect(
            [this](const std::shared_ptr<Field>&) { ++views; });
        content =
            value->ContentChanged.connect([this](const std::shared_ptr<Value>&) { ++contents; });
    }
};

TEST(SimNode, ParamsAreStableObjectsWithTheTablesFields) {
    auto node = SimNode::Create();
    EXPECT_TRUE(node->ParamExists(181));
    EXPECT_FALSE(node->ParamExists(999));
    auto status = node->Param(181);
    EXPECT_EQ(node->Param(181), status);
    EXPECT_EQ(status->get_ParamNumber(), 181);
    EXPECT_EQ(status->get_Name(), "Status");
    EXPECT_TRUE(status->IsBound());
    EXPECT_EQ(status->Field("Homing")->get_BitIndex(), SimField(181, "Homing").bit);
    EXPECT_EQ(ErrorNumber([&] { node->Param(999); }), FaultPlan::kDefaultNumber + 3);
    EXPECT_EQ(node->Param(265)->get_NumberValue()->GetDouble(), 65535.0);

    auto trigger = node->Param(180)->Field("Trigger Detected");
    int active = 0;
    for (const auto& [key, caption] : trigger->get_ValueCaptions()) {
        active += caption->get_Active() ? 1 : 0;
    }
    EXPECT_GE(active, 1);
    EXPECT_EQ(std::dynamic_pointer_cast<Motion>(std::shared_ptr<Node>(node)).get(),
              static_cast<Motion*>(node.get()));
}

TEST(SimNode, PinsReachTheirValuesBetweenOperations) {
    auto node = SimNode::Create();
    ViewSpy pin(node->Param(35), "Enable Req");
    ViewSpy status(node->Param(181), "Enable Req");
    node->SetPin(SimPin::Enable, true);
    EXPECT_EQ(pin.views, 1);
    EXPECT_EQ(status.views, 1);
    EXPECT_EQ(node->Param(35)->Field("Enable Req")->get_Value(), 1);
    node->SetPin(SimPin::Enable, true);
    node->Sync();
    EXPECT_EQ(pin.views, 1) << "no change, no event";
    EXPECT_EQ(pin.contents, 1);
    EXPECT_TRUE(node->QueryState());
}

TEST(SimNode, StatusFollowsAStimulusWriteOnlyAfterRefresh) {
    auto node = SimNode::Create();
    node->SetPin(SimPin::InputA, true);
    auto stim = node->Param(265);
    auto status = node->Param(181);
    ViewSpy statusA(status, "InA");
    ViewSpy overrideA(stim, "Input-A OR Override");

    // The inputs object's switch to software control: pins copied onto the overrides.
    const auto pins = static_cast<int>(node->Param(35)->get_NumberValue()->GetDouble()) & 7;
    stim->get_NumberValue()->SetDouble(pins * 65536.0);
    EXPECT_EQ(overrideA.views, 1);
    EXPECT_EQ(stim->Field("Input-A OR Override")->get_Value(), 1);
    EXPECT_EQ(statusA.contents, 0) << "a write never touches another parameter's object";
    status->Refresh();
    EXPECT_EQ(statusA.contents, 0) << "the effective states did not change";

    // Software Input A off: the status register follows at Refresh.
    stim->Field("Input-A OR Override")->put_Value(0);
    EXPECT_EQ(status->Field("InA")->get_Value(), 1);
    status->Refresh();
    EXPECT_EQ(statusA.views, 1);
    EXPECT_EQ(status->Field("InA")->get_Value(), 0);
    EXPECT_EQ(node->Param(35)->Field("InA")->get_Value(), 1) << "the pin itself stays set";

    // Writing an override under hardware control hands the inputs to software.
    stim->get_NumberValue()->SetDouble(65535.0);
    stim->Field("Input-B OR Override")->put_Value(1);
    EXPECT_EQ(stim->get_NumberValue()->GetDouble(), 0x40000);
    EXPECT_FALSE(node->Drive().FollowsPins());
}

TEST(SimNode, HomingAndUnitsAsTheUserSeesThem) {
    auto node = SimNode::Create();
    auto command = node->Param(285);
    ViewSpy homing(node->Param(181), "Homing");
    command->Field("Start Homing")->put_Value(1);
    command->Field("Start Homing")->Apply();
    EXPECT_EQ(command->get_NumberValue()->GetDouble(), 0) << "the command bit reads back clear";
    node->Step();
    EXPECT_EQ(homing.views, 1);
    EXPECT_EQ(node->Param(181)->Field("Homing")->get_Value(), 1);
    EXPECT_EQ(node->Param(181)->Field("Homing Complete")->get_Value(), 0);

    command->Field("Set Hard Stopped")->put_Value(1);
    command->Field("Set Hard Stopped")->Apply();
    node->Step();
    EXPECT_EQ(homing.views, 2);
    EXPECT_EQ(node->Param(181)->Field("Homing Complete")->get_Value(), 1);
    EXPECT_EQ(node->Param(180)->Field("Homing Done")->get_Value(), 1);

    std::string quantity;
    std::string units;
    int unitChanges = 0;
    auto c = node->Param(268)->ValueChanged.connect(
        [&](const std::shared_ptr<Value>&) { ++unitChanges; });
    node->Param(271)->get_UnitsInfo()->GetUnitsText(quantity, units);
    EXPECT_EQ(units, "counts");
    node->Param(268)->get_NumberValue()->SetDouble(1);
    EXPECT_EQ(unitChanges, 1);
    node->Param(271)->get_UnitsInfo()->GetUnitsText(quantity, units);
    EXPECT_EQ(units, "revs");
    EXPECT_EQ(ErrorNumber([&] { node->Param(268)->get_NumberValue()->SetDouble(9); }), 380);
    EXPECT_EQ(node->Param(268)->get_NumberValue()->GetDouble(), 1);
    EXPECT_EQ(unitChanges, 1);
    EXPECT_EQ(ErrorNumber([&] { node->Param(181)->Field("Homing")->put_Value(1); }), 383);
    EXPECT_EQ(node->Param(181)->Field("Homing")->get_Value(), 0);
}

TEST(SimNode, DriveSideChangesAndTriggerPulse) {
    auto node = SimNode::Create();
    ViewSpy mode(node->Param(171), "Operational Mode");
    node->ForceField(171, "Operational Mode", 18);
    EXPECT_EQ(mode.views, 1);
    EXPECT_EQ(node->Param(171)->Field("Operational Mode")->get_Value(), 18);
    EXPECT_EQ(node->Param(171)->Field("Homing Direction")->get_Value(), 1) << "neighbours kept";

    ViewSpy trigger(node->Param(180), "Trigger Detected");
    node->PulseTrigger();
    EXPECT_EQ(node->Param(180)->Field("Trigger Detected")->get_Value(), 1);
    node->Step();
    EXPECT_EQ(node->Param(180)->Field("Trigger Detected")->get_Value(), 0);
    EXPECT_EQ(trigger.views, 2);

    node->SetPositionRecovering(true);
    EXPECT_EQ(node->Param(181)->Field("Position Recovering")->get_Value(), 1);
    node->ForceParam(68, 123.5);
    EXPECT_EQ(node->Param(68)->get_NumberValue()->GetDouble(), 123.5);
    EXPECT_EQ(node->Param(181)->Field("Motion Pending")->get_Value(), 1);
}

TEST(SimNode, CopiesIntoAFreeStandingValue) {
    auto node = SimNode::Create();
    node->PulseTrigger();
    auto accum = node->Param(180);
    auto copy = Value::Create();
    EXPECT_TRUE(accum->CopyTo(copy));
    auto seen = accum->Field("Trigger Detected");
    copy->DefineField("Trigger Detected", seen->get_BitIndex(), seen->get_BitCount(), "");
    EXPECT_EQ(copy->Field("Trigger Detected")->get_Value(), 1);
    EXPECT_EQ(copy->get_ParamNumber(), 180);
    node->Step();
    EXPECT_EQ(copy->Field("Trigger Detected")->get_Value(), 1) << "a copy does not follow the node";

    std::string quantity;
    std::string units;
    auto position = Value::Create();
    node->Param(247)->CopyTo(position);
    position->get_UnitsInfo()->GetUnitsText(quantity, units);
    EXPECT_EQ(quantity, "Position 1");
    EXPECT_EQ(units, "counts");

    node->Faults().Fail("Value.CopyTo", 1, 180);
    EXPECT_THROW(accum->CopyTo(Value::Create()), ArnError);
}

TEST(SimNode, BuildsWithoutChosenParametersAndFields) {
    SimNodeOptions options;
    options.omitParams = {436, 343};
    options.omitFields = {{181, "Homing"}, {168, "Configuration Source"}};
    auto node = SimNode::Create(options);
    EXPECT_FALSE(node->ParamExists(436));
    EXPECT_FALSE(node->ParamExists(343));
    EXPECT_NE(ErrorNumber([&] { node->Param(436); }), 0);
    EXPECT_FALSE(node->Param(181)->get_Fields().Exists("Homing"));
    EXPECT_EQ(node->Param(181)->Field("Homing"), nullptr);
    EXPECT_NE(node->Param(181)->Field("Homing Complete"), nullptr);
    EXPECT_EQ(node->Param(168)->get_Fields().Count(), 0u);

    // The drive still homes; only the field is missing from the value.
    node->Drive().StartHoming();
    node->Sync();
    EXPECT_EQ(node->Param(181)->Field("Position Recovering")->get_Value(), 0);
    EXPECT_TRUE(node->QueryState());
}

TEST(SimNode, FaultPlanFailsChosenCallsOfTheNodeAndItsValues) {
    auto node = SimNode::Create();
    auto& faults = node->Faults();
    faults.Fail("Param", 2);
    EXPECT_NO_THROW(node->Param(181));
    EXPECT_EQ(ErrorNumber([&] { node->Param(181); }), FaultPlan::kDefaultNumber);
    EXPECT_NO_THROW(node->Param(181));

    faults.Fail("Field.Value.get", 0, 265);
    auto stim = node->Param(265);
    auto status = node->Param(181);
    EXPECT_EQ(ErrorNumber([&] { (void)stim->Field("Input-A OR Override")->get_Value(); }),
              FaultPlan::kDefaultNumber);
    EXPECT_NO_THROW((void)status->Field("Homing")->get_Value()) << "rule limited to one parameter";

    faults.Fail("Number.SetDouble", 1, FaultPlan::kAnyParam, 440, "write refused");
    int changes = 0;
    auto c = stim->ContentChanged.connect([&](const std::shared_ptr<Value>&) { ++changes; });
    try {
        stim->get_NumberValue()->SetDouble(0);
        ADD_FAILURE() << "no error";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 440);
        EXPECT_EQ(e.description(), "write refused");
    }
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(node->Drive().FollowsPins()) << "a failed write leaves the drive as it was";

    faults.Fail("QueryState");
    faults.Fail("Motion.MoveVelocity");
    faults.Fail("Value.Refresh", 1);
    EXPECT_THROW(node->QueryState(), ArnError);
    EXPECT_THROW(node->MoveVelocity(10, 0, 0), ArnError);
    EXPECT_FALSE(node->Drive().Jogging());
    EXPECT_THROW(status->Refresh(), ArnError);
    EXPECT_NO_THROW(status->Refresh());
    EXPECT_EQ(faults.Calls("Value.Refresh"), 2);
    node->SetPin(SimPin::Enable, true);  // drive-side changes never fail
    EXPECT_EQ(status->Field("Enable Req")->get_Value(), 1);
    EXPECT_THROW((void)stim->Field("Enable Request OR Override")->get_Value(), ArnError);
    faults.Clear();
    EXPECT_EQ(stim->Field("Enable Request OR Override")->get_Value(), 0);

    // Free-standing values ignore every plan.
    faults.Fail("Field.Value.put");
    auto free = Value::Create();
    free->DefineField("Enable Req", 0, 1, "Enable Request");
    EXPECT_NO_THROW(free->Field("Enable Req")->put_Value(1));
}

TEST(SimNode, MotionInterfaceAndAGoneOrSilentNode) {
    auto node = SimNode::Create();
    std::shared_ptr<Node> asNode = node;
    auto motion = std::dynamic_pointer_cast<Motion>(asNode);
    ASSERT_TRUE(motion);
    motion->put_AccelLimit(8);
    motion->put_DecelLimit(motion->get_AccelLimit());
    EXPECT_EQ(motion->get_DecelLimit(), 8);
    EXPECT_THROW(motion->put_AccelLimit(-1), ArnError);
    EXPECT_EQ(motion->get_AccelLimit(), 8);
    motion->MoveVelocity(100, 0, 0);
    EXPECT_TRUE(node->Drive().Jogging());
    motion->NodeStop(65);
    EXPECT_FALSE(node->Drive().Jogging());

    auto status = node->Param(181);
    node->SetOffline(true);
    EXPECT_THROW(node->ParamExists(181), ArnError);
    EXPECT_THROW((void)status->Field("Homing")->get_Value(), ArnError);
    node->SetOffline(false);

    auto field = status->Field("Homing");
    asNode.reset();
    motion.reset();
    node.reset();
    EXPECT_THROW((void)field->get_Value(), ArnError) << "values outliving their node fail clearly";
    EXPECT_THROW(status->Refresh(), ArnError);
}

}  // namespace
}  // namespace arn
