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
        connections.push_back(sub.AttachCalled.connect([this, name] { attached.push_back(name); }));
        connections.push_back(
            sub.ReleaseCalled.connect([this, name] { released.push_back(name); }));
    }
    std::vector<std::string> attached;
    std::vector<std::string> released;
    std::vector<Connection> connections;
};

using Order = std::vector<std::string>;

// Before any node: the design's tooltips and placeholders, the size, the enabled state of the
// inputs, the host's window requests, a net without a node, a release and the termination.
TEST_F(PanelTest, UnattachedPanelKeepsItsDesignAndServesTheHost) {
    SubPanelLog log(ctl());
    EXPECT_EQ(ctl().inCheck(0).get_ToolTipText(),
              "Warning: Disconnecting USB will cause disable even if box is checked.");
    EXPECT_EQ(ctl().warnTriangle(14).get_ToolTipText(),
              "Attempting to teach positions before the unit has been homed will result in a "
              "shutdown");
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), ":8011:Input Override");
    EXPECT_FALSE(panel->get_Enabled());

    const int32_t width = ctl().EnclosingFrame->get_Width();
    panel->Resize(200, 150);
    EXPECT_EQ(ctl().EnclosingFrame->get_Width(), width);
    panel->Resize(201, 9000);
    EXPECT_EQ(ctl().EnclosingFrame->get_Width(), 201);
    EXPECT_EQ(ctl().EnclosingFrame->get_Height(), 9000);
    const int32_t left = ctl().teachingCmd->get_Left();
    panel->Resize(12000, 5000);
    EXPECT_EQ(ctl().teachingCmd->get_Left(), left);

    EXPECT_EQ(panel->get_UIuserControl_MyForms(), ctl().JerkPanelCtl->get_UIref()->get_MyForms());
    std::vector<int> shown(5);
    Connection c[] = {panel->ShowHoming.connect([&] { ++shown[0]; }),
                      panel->ShowTrqLim.connect([&] { ++shown[1]; }),
                      panel->ShowJerkLim.connect([&] { ++shown[2]; }),
                      panel->ShowTeachingDlg.connect([&] { ++shown[3]; }),
                      panel->Show16Posns.connect([&] { ++shown[4]; })};
    ctl().HomingCtl->SetupRequested();
    ctl().TrqLimitSetupCtl->SetupRequested();
    ctl().JerkPanelCtl->SetupRequested();
    ctl().teachingCmd->UserClick();
    EXPECT_EQ(shown, (std::vector<int>{1, 1, 1, 1, 0}));

    // Enabled without a node: user-input controls off, passive ones untouched; a control whose
    // host handler fails is traced once.
    ctl().Label1->put_Enabled(true);
    ctl().teachingCmd->put_Enabled(true);
    Connection refusing = Refusing(*ctl().teachingCmd);
    panel->put_Enabled(true);
    refusing.disconnect();
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.UpdateFocus err=refused"), 1);
    EXPECT_FALSE(ctl().teachingCmd->get_Enabled());
    EXPECT_FALSE(ctl().inCheck(1).get_Enabled());
    EXPECT_FALSE(ctl().ParamItems(0).get_Enabled());
    EXPECT_TRUE(ctl().Label1->get_Enabled());

    // A net without a node: nothing attaches, and the content shows on the show event only.
    panel->get_UIref()->AttachControl(net, nullptr, nullptr, "", "");
    EXPECT_TRUE(log.attached.empty());
    EXPECT_FALSE(panel->IsAttached());
    net->Tick();
    EXPECT_FALSE(ctl().EnclosingFrame->get_Visible());
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), ":8011:Input Override");
    panel->Show();  // the platform's show event
    EXPECT_TRUE(ctl().EnclosingFrame->get_Visible());
    panel->put_Show(false);
    EXPECT_FALSE(ctl().EnclosingFrame->get_Visible());

    SetDebugFlags(TraceLevelVerbose);
    EXPECT_NO_THROW(panel->get_UIref()->ReleaseControl());
    EXPECT_EQ(log.released, (Order{"Fdbk", "TrqLimit", "Jerk", "Homing"}));
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.ReleaseControl ArnAbsPosnCtl1"), 1);
    EXPECT_FALSE(io().get_ExternalInputs());

    std::weak_ptr<jogAndSwInputs> inputs = panel->InputsObject();
    panel->Terminate();
    EXPECT_EQ(panel->InputsObject(), nullptr);
    EXPECT_TRUE(inputs.expired());
}

TEST_F(PanelTest, AttachDefersBindingReleaseDropsItAndASecondAttachReplacesIt) {
    SubPanelLog log(ctl());
    auto appObj = std::make_shared<int>(7);
    panel->get_UIref()->AttachControl(net, node, appObj, "regName", "regSect");
    EXPECT_EQ(log.attached, (Order{"Fdbk", "TrqLimit", "Homing", "Jerk"}));
    // Every sub-panel is handed the same arguments; two of them stand for the rest.
    EXPECT_EQ(ctl().JerkPanelCtl->AttachedAppObj(), appObj);
    EXPECT_EQ(ctl().HomingCtl->get_RegSect(), "regSect");
    EXPECT_TRUE(panel->IsAttached());
    EXPECT_TRUE(panel->IsRebindDue());
    EXPECT_FALSE(ctl().EnclosingFrame->get_Visible());
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.AttachControl ArnAbsPosnCtl1"), 1);
    // The panel and its inputs object both follow the tick; nothing was read from the node yet.
    EXPECT_EQ(net->get_AppEvents()->TimerTick.slotCount(), 2u);
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), ":8011:Input Override");
    net->Tick();
    EXPECT_FALSE(panel->IsRebindDue());
    EXPECT_TRUE(ctl().EnclosingFrame->get_Visible());
    EXPECT_EQ(ctl().inputOptChk->get_Caption(), "Override Inputs");

    // A second attach replaces the references and binds again, one subscription each.
    auto otherNode = net->CreateNode();
    otherNode->ForceField(171, "Operational Mode", 2);
    panel->get_UIref()->AttachControl(net, otherNode, nullptr, "", "");
    EXPECT_EQ(log.attached.size(), 8u);
    EXPECT_EQ(ctl().JerkPanelCtl->AttachedNode(), otherNode);
    EXPECT_TRUE(panel->IsRebindDue());
    EXPECT_EQ(net->get_AppEvents()->TimerTick.slotCount(), 2u);
    net->Tick();
    EXPECT_EQ(panel->NumPosns(), 2);
    EXPECT_EQ(ctl().inALbl->get_Caption(), "Position");

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
    otherNode->ForceField(171, "Operational Mode", 8);
    EXPECT_EQ(ctl().inALbl->get_Caption(), "Position");
    trace.Clear();
    net->Tick();
    EXPECT_TRUE(trace.Lines().empty());
}

TEST_F(PanelTest, AttachTakesTheNetsDebugFlagsAndAFailureIsTracedKeepingWhatWasSet) {
    SubPanelLog log(ctl());
    auto verboseNet = MakeNet(TraceLevelVerbose);
    panel->get_UIref()->AttachControl(verboseNet, verboseNet->CreateNode(), nullptr, "", "");
    EXPECT_EQ(GetDebugFlags(), TraceLevelVerbose | 1);
    panel->get_UIref()->ReleaseControl();
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.ReleaseControl ArnAbsPosnCtl1"), 1);

    log.attached.clear();
    auto bareNet = MakeNet(0, false);
    EXPECT_NO_THROW(
        panel->get_UIref()->AttachControl(bareNet, bareNet->CreateNode(), nullptr, "", ""));
    EXPECT_EQ(trace.CountStartingWith("ArnAbsPosnCtl.UIuserControl_AttachControl err="), 1);
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_TRUE(log.attached.empty());
    // The inputs object was never given the node.
    EXPECT_FALSE(io().get_ExternalInputs());

    // A failure after the panel was marked attached leaves the later sub-panels alone.
    trace.Clear();
    test::SubPanelSpy homingSpy(*ctl().HomingCtl);
    homingSpy.FailNextAttach("homing panel refused");
    panel->get_UIref()->AttachControl(net, node, nullptr, "", "");
    EXPECT_EQ(trace.Count("ArnAbsPosnCtl.UIuserControl_AttachControl err=homing panel refused"), 1);
    EXPECT_TRUE(panel->IsAttached());
    EXPECT_EQ(log.attached, (Order{"Fdbk", "TrqLimit"}));
}

}  // namespace
}  // namespace arn::test
