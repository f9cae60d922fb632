#include <string>

#include "PanelFixture.h"

namespace arn::test {
namespace {

constexpr const char* kHomingSide =
    "Location of this position is in the same direction as homing, but the axis is not set as "
    "having infinite rotation.";
constexpr const char* kHwCaution =
    "Use caution when enabling via HW input; current settings will cause immediate motion.";

// Mode 2 selects two positions, any other mode four; the table, its labels and its frame follow.
TEST_F(PanelTest, PositionModeSetsTheTableItsLabelsAndItsFrame) {
    const struct {
        int16_t posns;
        const char *inA, *inB;
    } rows[] = {{4, "P-sel A", "P-sel B"}, {2, "Position", "Home Switch"}};
    for (const auto& row : rows) {
        if (row.posns == 2) {  // a node without the teaching parameter and parameter 159
            MakeNodeWithout({436, 159});
            node->ForceField(171, "Operational Mode", 2);
        }
        AttachAndBind();
        panel->put_Enabled(true);
        EXPECT_EQ(panel->NumPosns(), row.posns);
        EXPECT_EQ(ctl().inALbl->get_Caption(), row.inA);
        EXPECT_EQ(ctl().inBLbl->get_Caption(), row.inB);
        for (int16_t i : {3, 4, 8, 9}) {
            EXPECT_EQ(ctl().Label(i).get_Visible(), row.posns == 4) << i;
        }
        EXPECT_EQ(ctl().ParamItems(2).get_Active(), row.posns == 4);
        auto& last = ctl().ParamItems(row.posns - 1);
        EXPECT_EQ(ctl().posnSettingsFrame->get_Width(), last.get_Left() + last.get_Width() + 300);
        EXPECT_EQ(ctl().ParamItems(7).get_ParamObject(),
                  row.posns == 4 ? node->Param(159) : nullptr);
        // Without teaching, the switch stays locked whatever the enabled state.
        EXPECT_EQ(ctl().teachingCheck->get_Enabled(), row.posns == 4);
        EXPECT_TRUE(ctl().teachingCmd->get_Enabled());
        // A position the table does not show costs no checks when it changes.
        net->Tick();
        node->ForceParam(249, 1234);
        EXPECT_EQ(panel->IsPosnChecksDue(), row.posns == 4);
        if (row.posns == 4) {
            EXPECT_FALSE(ctl().IndexLbl->get_Visible());
            for (int16_t i = 0; i < 4; ++i) {
                EXPECT_EQ(ctl().warnTriangle(i).get_Top(), 720);
                EXPECT_EQ(ctl().ParamItems(i).get_ParamObject(), node->Param(247 + i));
            }
            EXPECT_TRUE(ctl().ParamItems(3).get_Active());
            EXPECT_EQ(ctl().Label(0).get_Caption(), "1)");
            EXPECT_EQ(ctl().posnSettingsFrame->get_Caption().rfind("Position Selection Setup (", 0),
                      0u);
        }
        panel->get_UIref()->ReleaseControl();
    }
}

TEST_F(PanelTest, EarlyBindingFailureShowsContentTracesAndGoesOn) {
    MakeNodeWithout({168});
    AttachAndBind();
    EXPECT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.AttachNodeProc err="), 1);
    EXPECT_TRUE(ctl().EnclosingFrame->get_Visible());
    EXPECT_EQ(panel->NumPosns(), 4);
    // A missing field later in the table is skipped silently, and a homing seen on the node
    // before does not outlive the rebind (the positions would stay locked).
    node->Drive().StartHoming();
    node->Sync();
    net->Tick();
    ASSERT_TRUE(panel->IsHomingActive());
    panel->get_UIref()->ReleaseControl();
    trace.Clear();
    MakeNodeWithout({}, {{181, "Homing"}});
    AttachAndBind();
    EXPECT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.AttachNodeProc err="), 0);
    EXPECT_FALSE(panel->IsHomingActive());
    EXPECT_FALSE(ctl().hardStopCmd->get_Visible());
}

// The inputs follow the override switch, the boxes write one-bit overrides and follow the
// drive, and a hardware Enable takes the inputs back.
TEST_F(PanelTest, InputsFollowTheSwitchTheBoxesAndTheHardwareEnable) {
    AttachAndBind();
    // Bound but never enabled: user-input controls are off, passive ones untouched.
    EXPECT_FALSE(ctl().ParamItems(0).get_Enabled());
    EXPECT_TRUE(ctl().Line->get_Enabled());
    panel->put_Enabled(true);
    EXPECT_FALSE(ctl().inCheck(0).get_Enabled());
    EXPECT_TRUE(ctl().inputOptChk->get_Enabled());
    EXPECT_TRUE(ctl().ParamItems(0).get_Enabled());
    EXPECT_FALSE(ctl().hardStopCmd->get_Enabled());

    ctl().inputOptChk->UserClick();
    EXPECT_FALSE(io().get_ExternalInputs());
    EXPECT_EQ(ctl().inputOptChk->get_Value(), 1);
    EXPECT_TRUE(ctl().swItemFrame(0).get_Enabled());
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl Break Here"), 1);
    auto stimulus = node->Param(265);
    const char* const fields[] = {"Enable Request OR Override", "Input-A OR Override",
                                  "Input-B OR Override"};
    // The node refuses anything but 0 or 1 for these one-bit fields, so a click that carried
    // a 16-bit True would surface here as an error instead of a checked override.
    for (int16_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(ctl().inCheck(i).get_Enabled());
        ctl().inCheck(i).UserClick();
        EXPECT_EQ(stimulus->Field(fields[i])->get_Value(), 1) << fields[i];
        EXPECT_TRUE(ctl().inCheck(i).get_CheckValue());
    }
    // The pins no longer drive the stimulus (low 16 bits clear).
    EXPECT_EQ(stimulus->get_NumberValue()->GetDouble(), 0x70000);
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.IN-A upd view"), 1);
    EXPECT_EQ(ctl().inCheck(0).get_ToolTipText(), "");
    ctl().inCheck(1).UserClick();
    EXPECT_EQ(stimulus->get_NumberValue()->GetDouble(), 0x50000);
    // A change from the drive checks the box; the box's click writes the same 1 back.
    stimulus->Field(fields[1])->put_Value(1);
    EXPECT_TRUE(ctl().inCheck(1).get_CheckValue());
    EXPECT_EQ(stimulus->get_NumberValue()->GetDouble(), 0x70000);
    stimulus->Field(fields[0])->put_Value(0);
    EXPECT_FALSE(ctl().inCheck(0).get_CheckValue());
    EXPECT_EQ(stimulus->get_NumberValue()->GetDouble(), 0x60000);

    // The hand-back comes at the next tick, once: a second tick raises nothing more.
    node->SetPin(SimPin::Enable, true);
    net->Tick();
    net->Tick();
    EXPECT_TRUE(io().get_ExternalInputs());
    EXPECT_TRUE(io().get_EnableReqPin());
    EXPECT_EQ(ctl().inputOptChk->get_Value(), 0);
    EXPECT_FALSE(ctl().inCheck(0).get_Enabled());
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl m_io_EnableReqChanged=True"), 1);
    // With the pin set, software control is refused and nothing changes.
    ctl().inputOptChk->UserClick();
    EXPECT_TRUE(io().get_ExternalInputs());
    EXPECT_FALSE(ctl().inputOptChk->get_Enabled());
    EXPECT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.AttachNodeProc err="), 0);
}

// (The soak holds the hard stop's look against the homing state and the enabled state.)
TEST_F(PanelTest, HomingDrivesTheHardStopCommandAndLocksPositions) {
    node->ForceField(171, "Operational Mode", 2);
    node->ForceField(436, "Homing Ex", 1);  // extended homing counts in four-position mode only
    AttachAndBind();
    panel->put_Enabled(true);
    node->Drive().StartHoming();
    node->Sync();
    net->Tick();
    EXPECT_TRUE(panel->IsHomingActive());
    EXPECT_TRUE(ctl().hardStopCmd->get_FontBold());
    EXPECT_TRUE(ctl().HSwarnBox->get_Visible());
    EXPECT_FALSE(ctl().ParamItems(0).get_Enabled());
    EXPECT_TRUE(ctl().ParamItems(5).get_Enabled()) << "only the positions are locked";
    // The hard stop ends the homing and frees the positions.
    ctl().hardStopCmd->UserClick();
    net->Tick();
    net->Tick();
    EXPECT_FALSE(panel->IsHomingActive());
    EXPECT_FALSE(ctl().HSwarnBox->get_Visible());
    EXPECT_TRUE(ctl().ParamItems(0).get_Enabled());
    Connection refusing = Refusing(ctl().ParamItems(0));  // traced once, and the rest go on
    panel->put_Enabled(false);
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.UpdateFocus err=refused"), 1);
    EXPECT_FALSE(ctl().ParamItems(5).get_Enabled()) << "a disabled panel locks every editor";
}

TEST_F(PanelTest, HomingInStopModeUnderSoftwareInputsSetsInputBOnce) {
    node->ForceField(171, "Operational Mode", 18);
    node->ForceField(171, "Home Sensor Polarity", 1);
    AttachAndBind();
    panel->put_Enabled(true);
    ctl().inputOptChk->UserClick();
    ASSERT_FALSE(panel->InputsObject()->get_ExternalInputs());

    node->Drive().StartHoming();
    node->Sync();
    net->Tick();
    EXPECT_EQ(node->Param(265)->Field("Input-B OR Override")->get_Value(), 1);
    EXPECT_TRUE(ctl().warnLbl->get_Visible());
    EXPECT_TRUE(ctl().warnLine(4).get_Visible());
    EXPECT_FALSE(ctl().hardStopCmd->get_Visible());

    // Written once: a later tick during the same homing leaves a user's change alone.
    node->Param(265)->Field("Input-B OR Override")->put_Value(0);
    net->Tick();
    EXPECT_EQ(node->Param(265)->Field("Input-B OR Override")->get_Value(), 0);

    // A panel bound while the drive homes takes that homing as under way, not as a start.
    auto late = ArnAbsPosnCtl::Create();
    late->get_UIref()->AttachControl(net, node, nullptr, "", "");
    net->Tick();
    EXPECT_TRUE(late->IsHomingActive());
    EXPECT_EQ(node->Param(265)->Field("Input-B OR Override")->get_Value(), 0);
}

TEST_F(PanelTest, PositionWarningsFollowHomingSetup) {
    node->ForceField(171, "Operational Mode", 18);
    node->ForceField(171, "Homing Direction", 0);
    node->ForceField(171, "Axis Type", 0);
    node->ForceParam(247, 100);
    AttachAndBind();
    net->Tick();
    EXPECT_TRUE(ctl().warnTriangle(0).get_Visible());
    EXPECT_EQ(ctl().warnTriangle(0).get_ToolTipText(), kHomingSide);
    EXPECT_TRUE(panel->IsBadPosn());

    node->ForceField(171, "Homing Direction", 1);
    net->Tick();
    EXPECT_FALSE(ctl().warnTriangle(0).get_Visible());
    EXPECT_EQ(ctl().warnTriangle(0).get_ToolTipText(), "");

    node->ForceParam(248, -6000);  // beyond the maximum travel, on the homing side
    net->Tick();
    EXPECT_EQ(ctl().warnTriangle(1).get_ToolTipText(), kHomingSide);
    node->ForceParam(343, 0);  // no travel limit
    node->ForceField(171, "Homing Direction", 0);
    net->Tick();
    EXPECT_FALSE(ctl().warnTriangle(1).get_Visible());
    EXPECT_TRUE(ctl().warnTriangle(0).get_Visible());

    // Another mode turns the checks off and clears the bad-position state.
    node->ForceField(171, "Operational Mode", 2);
    net->Tick();
    EXPECT_FALSE(ctl().warnTriangle(0).get_Visible());
    EXPECT_FALSE(panel->IsBadPosn());
}

TEST_F(PanelTest, MotionIndicatorComparesSelectedPositionsWithWindow) {
    net = MakeNet(TraceLevelVerbose);
    node = net->CreateNode();
    node->ForceParam(267, 400);  // window 400 / 80 = 5
    node->ForceParam(247, 100);
    node->ForceParam(248, 105.5);
    node->ForceParam(68, 100);
    AttachAndBind();
    panel->put_Enabled(true);
    // Software inputs select position 1, where the motor stands.
    ctl().inputOptChk->UserClick();
    net->Tick();
    EXPECT_FALSE(ctl().motionTriangle->get_Visible());

    // The hardware pins now select position 2, 5.5 away: enabling through them would move.
    node->SetPin(SimPin::InputA, true);
    net->Tick();
    EXPECT_TRUE(ctl().motionTriangle->get_Visible());
    EXPECT_EQ(ctl().motionTriangle->get_ToolTipText(), kHwCaution);
    EXPECT_EQ(trace.Lines().back(),
              std::string("ArnAbsPosnCtl.tmr(motion pend) hw=True, sw=False, dx=5, tip=") +
                  kHwCaution + ", pend=0, badPosn=False, vis=True");

    // Exactly the window away is in position.
    node->ForceParam(248, 105);
    net->Tick();
    EXPECT_FALSE(ctl().motionTriangle->get_Visible());
}

TEST_F(PanelTest, TeachingWarningNeedsTeachingOnAndNotHomed) {
    AttachAndBind();
    panel->put_Enabled(true);
    EXPECT_FALSE(ctl().warnTriangle(14).get_Visible());
    ctl().teachingCheck->UserClick();
    EXPECT_EQ(node->Param(436)->Field("Teach Absolute Positions")->get_Value(), 1);
    EXPECT_TRUE(ctl().warnTriangle(14).get_Visible());
    node->Drive().SetHomed(true);
    node->Sync();
    EXPECT_FALSE(ctl().warnTriangle(14).get_Visible());
}

}  // namespace
}  // namespace arn::test
