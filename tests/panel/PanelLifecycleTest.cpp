#include <string>
#include <vector>

#include "PanelFixture.h"
#include "fakes/SubPanelSpy.h"
#include "host/values/ValueCaption.h"
#include "toolkit/Form.h"

namespace arn::test {
namespace {

// Records the order in which the sub-panels see attach and release.
struct SubPanelLog {
    explicit SubPanelLog(PanelControls& c) {
        Watch(*c.ArnFdbkDisplayCtl1, "Fdbk");
        Watch(*c.TrqLimitSetupCtl, "TrqLimit");
        Watch(*c.HomingCtl, "Homing");
        Watch(*c.JerkPanelCtl, "Jerk");
    }
    void Watch(SubPanel& sub, std::string name) {
        subs.push_back(&sub);
        connections.push_back(sub.AttachCalled.connect([this, name] { attached.push_back(name); }));
        connections.push_back(
            sub.ReleaseCalled.connect([this, name] { released.push_back(name); }));
    }
    std::vector<std::string> attached;
    std::vector<std::string> released;
    std::vector<Connection> connections;
    std::vector<SubPanel*> subs;
};

using Order = std::vector<std::string>;

TEST_F(PanelTest, InitialisationPreparesInputsAndTooltips) {
    EXPECT_NE(panel->InputsObject(), nullptr);
    EXPECT_EQ(ctl().inCheck(0).get_ToolTipText(),
              "Warning: Disconnecting USB will cause disable even if box is checked.");
    EXPECT_EQ(ctl().warnTriangle(14).get_ToolTipText(),
              "Attempting to teach positions before the unit has been homed will result in a "
              "shutdown");
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_FALSE(panel->get_Enabled());
    // Placeholders wait for binding.
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), ":8011:Input Override");
}

TEST_F(PanelTest, AttachWithNodeDefersBindingAndAttachesSubPanelsInOrder) {
    SubPanelLog log(ctl());
    SetDebugFlags(0);
    auto appObj = std::make_shared<int>(7);
    panel->get_UIref()->AttachControl(net, node, appObj, "regName", "regSect");

    EXPECT_EQ(log.attached, (Order{"Fdbk", "TrqLimit", "Homing", "Jerk"}));
    for (SubPanel* sub : log.subs) {
        EXPECT_EQ(sub->AttachedNet(), net);
        EXPECT_EQ(sub->AttachedNode(), node);
        EXPECT_EQ(sub->AttachedAppObj(), appObj);
        EXPECT_EQ(sub->get_RegName(), "regName");
        EXPECT_EQ(sub->get_RegSect(), "regSect");
    }
    EXPECT_TRUE(panel->IsAttached());
    EXPECT_TRUE(panel->IsRebindDue());
    EXPECT_FALSE(ctl().EnclosingFrame->get_Visible());
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.AttachControl ArnAbsPosnCtl1"), 1);
    // The panel and its inputs object both follow the tick.
    EXPECT_EQ(net->get_AppEvents()->TimerTick.slotCount(), 2u);
    // Nothing was read from the node yet.
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), ":8011:Input Override");

    net->Tick();
    EXPECT_FALSE(panel->IsRebindDue());
    EXPECT_TRUE(ctl().EnclosingFrame->get_Visible());
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), "Override Inputs");
}

TEST_F(PanelTest, AttachHandsTheNetsDebugFlagsToTheTrace) {
    auto verboseNet = MakeNet(TraceLevelVerbose);
    auto verboseNode = verboseNet->CreateNode();
    panel->get_UIref()->AttachControl(verboseNet, verboseNode, nullptr, "", "");
    EXPECT_EQ(GetDebugFlags(), TraceLevelVerbose | 1);
    panel->get_UIref()->ReleaseControl();
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.ReleaseControl ArnAbsPosnCtl1"), 1);
}

TEST_F(PanelTest, AttachWithoutNodeHoldsTheNetOnly) {
    SubPanelLog log(ctl());
    panel->get_UIref()->AttachControl(net, nullptr, nullptr, "", "");
    EXPECT_TRUE(log.attached.empty());
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_FALSE(ctl().EnclosingFrame->get_Visible());
    net->Tick();
    EXPECT_FALSE(ctl().EnclosingFrame->get_Visible());
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), ":8011:Input Override");

    panel->Show();  // the platform's show event
    EXPECT_TRUE(ctl().EnclosingFrame->get_Visible());
    panel->put_Show(false);
    EXPECT_FALSE(ctl().EnclosingFrame->get_Visible());
}

TEST_F(PanelTest, AttachFailureIsTracedAndKeepsWhatWasSet) {
    SubPanelLog log(ctl());
    auto bareNet = MakeNet(0, false);
    auto bareNode = bareNet->CreateNode();
    EXPECT_NO_THROW(panel->get_UIref()->AttachControl(bareNet, bareNode, nullptr, "", ""));
    EXPECT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.UIuserControl_AttachControl err="), 1);
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_TRUE(log.attached.empty());
    // The inputs object was never given the node.
    EXPECT_FALSE(panel->InputsObject()->get_ExternalInputs());

    // A failure after the panel was marked attached leaves the later sub-panels alone.
    trace.Clear();
    test::SubPanelSpy homingSpy(*ctl().HomingCtl);
    homingSpy.FailNextAttach("homing panel refused");
    panel->get_UIref()->AttachControl(net, node, nullptr, "", "");
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.UIuserControl_AttachControl err=homing panel refused"), 1);
    EXPECT_TRUE(panel->IsAttached());
    EXPECT_EQ(log.attached, (Order{"Fdbk", "TrqLimit"}));
}

TEST_F(PanelTest, ReleaseDropsEverythingAndReleasesSubPanelsJerkBeforeHoming) {
    SubPanelLog log(ctl());
    AttachAndBind();
    std::weak_ptr<jogAndSwInputs> oldInputs = panel->InputsObject();
    ValueCaption::Default()->put_Active(true);

    panel->get_UIref()->ReleaseControl();

    EXPECT_EQ(log.released, (Order{"Fdbk", "TrqLimit", "Jerk", "Homing"}));
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_FALSE(ValueCaption::Default()->get_Active());
    EXPECT_TRUE(oldInputs.expired());
    EXPECT_EQ(net->get_AppEvents()->TimerTick.slotCount(), 0u);
    EXPECT_EQ(ctl().HomingCtl->AttachedNode(), nullptr);
    // Verbose line, not emitted with the flag word 0.
    EXPECT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.ReleaseControl"), 0);
    // Content stays as shown; the released node's fields no longer reach the panel.
    EXPECT_TRUE(ctl().EnclosingFrame->get_Visible());
    const std::string inBCaption = ctl().inBLbl->get_Caption();
    node->ForceField(171, "Operational Mode", 2);
    EXPECT_EQ(ctl().inBLbl->get_Caption(), inBCaption);

    trace.Clear();
    net->Tick();
    EXPECT_TRUE(trace.Lines().empty());
}

TEST_F(PanelTest, ReleaseBeforeAnyAttachStillReleasesSubPanels) {
    SubPanelLog log(ctl());
    SetDebugFlags(TraceLevelVerbose);
    EXPECT_NO_THROW(panel->get_UIref()->ReleaseControl());
    EXPECT_EQ(log.released, (Order{"Fdbk", "TrqLimit", "Jerk", "Homing"}));
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.ReleaseControl ArnAbsPosnCtl1"), 1);
    EXPECT_FALSE(panel->InputsObject()->get_ExternalInputs());
}

TEST_F(PanelTest, SecondAttachReplacesReferencesAndBindsAgain) {
    SubPanelLog log(ctl());
    AttachAndBind();
    auto otherNode = net->CreateNode();
    otherNode->ForceField(171, "Operational Mode", 2);
    panel->get_UIref()->AttachControl(net, otherNode, nullptr, "", "");
    EXPECT_EQ(log.attached.size(), 8u);
    EXPECT_EQ(ctl().JerkPanelCtl->AttachedNode(), otherNode);
    EXPECT_TRUE(panel->IsRebindDue());
    // One subscription each for the panel and its inputs object, not two.
    EXPECT_EQ(net->get_AppEvents()->TimerTick.slotCount(), 2u);
    net->Tick();
    EXPECT_EQ(panel->NumPosns(), 2);
    EXPECT_EQ(ctl().inALbl->get_Caption(), "Position");
}

TEST_F(PanelTest, ResizeFollowsTheSurfaceAbove200Twips) {
    const int32_t width = ctl().EnclosingFrame->get_Width();
    const int32_t height = ctl().EnclosingFrame->get_Height();
    panel->Resize(200, 150);
    EXPECT_EQ(ctl().EnclosingFrame->get_Width(), width);
    EXPECT_EQ(ctl().EnclosingFrame->get_Height(), height);
    panel->Resize(201, 9000);
    EXPECT_EQ(ctl().EnclosingFrame->get_Width(), 201);
    EXPECT_EQ(ctl().EnclosingFrame->get_Height(), 9000);
    const int32_t left = ctl().teachingCmd->get_Left();
    panel->Resize(12000, 5000);
    EXPECT_EQ(ctl().teachingCmd->get_Left(), left);
}

TEST_F(PanelTest, DisplayMsgShowsAYellowLabelOnlyForText) {
    panel->put_DisplayMsg("Drive offline");
    EXPECT_TRUE(ctl().DisplayMsgLbl->get_Visible());
    EXPECT_EQ(ctl().DisplayMsgLbl->get_BackColor(), 0x00FFFF);
    EXPECT_EQ(panel->get_DisplayMsg(), "Drive offline");
    panel->put_DisplayMsg("");
    EXPECT_FALSE(ctl().DisplayMsgLbl->get_Visible());
    EXPECT_EQ(panel->get_DisplayMsg(), "");
}

TEST_F(PanelTest, EnabledWithoutNodeDisablesOnlyUserInputControls) {
    EXPECT_FALSE(panel->get_Enabled());
    ctl().Label1->put_Enabled(true);
    ctl().teachingCmd->put_Enabled(true);
    panel->put_Enabled(true);
    EXPECT_TRUE(panel->get_Enabled());
    EXPECT_FALSE(ctl().teachingCmd->get_Enabled());
    EXPECT_FALSE(ctl().inCheck(1).get_Enabled());
    EXPECT_FALSE(ctl().ParamItems(0).get_Enabled());
    EXPECT_TRUE(ctl().Label1->get_Enabled());
}

TEST_F(PanelTest, HostWindowRequestsAndTheFormsOfTheSubPanels) {
    EXPECT_EQ(panel->get_UIref().get(), static_cast<UIuserControl*>(panel.get()));
    EXPECT_EQ(panel->get_UIuserControl_MyForms(), ctl().JerkPanelCtl->get_UIref()->get_MyForms());

    int homing = 0, trq = 0, jerk = 0, teach = 0, sixteen = 0;
    auto c1 = panel->ShowHoming.connect([&] { ++homing; });
    auto c2 = panel->ShowTrqLim.connect([&] { ++trq; });
    auto c3 = panel->ShowJerkLim.connect([&] { ++jerk; });
    auto c4 = panel->ShowTeachingDlg.connect([&] { ++teach; });
    auto c5 = panel->Show16Posns.connect([&] { ++sixteen; });
    ctl().HomingCtl->SetupRequested();
    ctl().TrqLimitSetupCtl->SetupRequested();
    ctl().JerkPanelCtl->SetupRequested();
    ctl().teachingCmd->UserClick();
    EXPECT_EQ((std::vector<int>{homing, trq, jerk, teach, sixteen}),
              (std::vector<int>{1, 1, 1, 1, 0}));
}

TEST_F(PanelTest, TerminationDropsTheInputsObject) {
    std::weak_ptr<jogAndSwInputs> io = panel->InputsObject();
    panel->Terminate();
    EXPECT_EQ(panel->InputsObject(), nullptr);
    EXPECT_TRUE(io.expired());
}

}  // namespace
}  // namespace arn::test
