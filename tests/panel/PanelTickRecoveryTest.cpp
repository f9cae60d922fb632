// A tick that fails after it has seen the homing state change still does the work of that
// change on the next tick.
#include "panel/PanelFixture.h"

namespace arn::test {
namespace {

TEST_F(PanelTest, HomingStartSeenByAFailedTickLocksTheEditorsOnTheNextTick) {
    AttachAndBind();
    panel->put_Enabled(true);
    net->Tick();
    ASSERT_TRUE(ctl().ParamItems(0).get_Enabled());

    node->Drive().StartHoming();
    node->Sync();
    // The tick reads "Homing", then fails on the operational mode, before UpdateFocus.
    node->Faults().Fail("Field.Value.get", 1, param::MotionSetup);
    net->Tick();
    node->Faults().Clear();
    ASSERT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.ZK Timer Tick err="), 1);

    net->Tick();
    EXPECT_TRUE(panel->IsHomingActive());
    EXPECT_FALSE(ctl().ParamItems(0).get_Enabled());
    EXPECT_FALSE(ctl().ParamItems(1).get_Enabled());
    EXPECT_TRUE(ctl().hardStopCmd->get_Enabled());
    EXPECT_TRUE(ctl().ParamItems(5).get_Enabled()) << "other editors follow the enabled state";
}

TEST_F(PanelTest, HomingStartSeenByAFailedTickStillSetsInputBInTheHardStopMode) {
    node->ForceField(param::MotionSetup, fieldkey::OperationalMode, opmode::HomeToHardStop);
    node->ForceField(param::MotionSetup, fieldkey::HomeSensorPolarity, 1);
    AttachAndBind();
    panel->put_Enabled(true);
    ctl().inputOptChk->put_Value(1);  // the overrides drive the inputs
    net->Tick();
    ASSERT_FALSE(panel->InputsObject()->get_ExternalInputs());
    ASSERT_FALSE(node->Drive().SoftwareState(SimPin::InputB));

    node->Drive().StartHoming();
    node->Sync();
    // The tick sees homing start, then fails reading whether the overrides are in use.
    node->Faults().Fail("ParamExists", 1, param::InputStimulus);
    net->Tick();
    node->Faults().Clear();
    ASSERT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.ZK Timer Tick err="), 1);
    EXPECT_FALSE(node->Drive().SoftwareState(SimPin::InputB));

    net->Tick();
    EXPECT_TRUE(node->Drive().SoftwareState(SimPin::InputB));
    EXPECT_TRUE(ctl().inCheck(2).get_CheckValue());

    // Served once: clearing the override by hand during the same homing keeps it clear.
    ctl().inCheck(2).put_CheckValue(false);
    net->Tick();
    EXPECT_FALSE(node->Drive().SoftwareState(SimPin::InputB));
}

}  // namespace
}  // namespace arn::test
