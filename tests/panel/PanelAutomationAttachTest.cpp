#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "core/ObjectClient.h"
#include "host/NodeParams.h"
#include "host/controls/UIuserControlAutomation.h"
#include "panel/PanelAutomation.h"
#include "panel/PanelFixture.h"
#include "sim/SimNetAutomation.h"
#include "sim/SimNodeAutomation.h"

namespace arn {
namespace {

// The panel attached by a host that holds nothing but automation objects: its UIuserControl
// reached through the panel's automation object, the simulated net and node through their
// faces, time driven through the net face's Tick. No component runtime is involved.
class PanelAutomationAttach : public test::PanelTest {
  protected:
    static Variant Object(const std::shared_ptr<AutomationObject>& face) {
        return Variant(std::shared_ptr<Dispatch>(face));
    }
    void TickThroughFace() { netClient->Call("Tick", {}); }
    // Who listens to the host's TimerTick through the app-events face.
    std::size_t HostTickListeners() {
        const auto events = std::dynamic_pointer_cast<AutomationObject>(
            VariantToObject(netClient->Get("AppEvents")));
        return events->EventRaised.slotCount();
    }

    std::shared_ptr<PanelAutomation> automation = PanelAutomation::Create(panel);
    std::shared_ptr<SimNetAutomation> netFace = SimNetAutomation::Create(net);
    std::shared_ptr<SimNodeAutomation> nodeFace = SimNodeAutomation::Create(node);
    std::shared_ptr<AutomationClient> netClient = std::make_shared<ObjectClient>(netFace);
};

int32_t ErrorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ArnError& e) {
        return e.number();
    }
    return 0;
}

TEST_F(PanelAutomationAttach, SimulatedFacesBindThePanelTicksDriveItAndReleaseEndsIt) {
    std::map<int32_t, int> raised;
    auto events = automation->EventRaised.connect([&](int32_t id) { ++raised[id]; });
    const auto ui = ClientOf(automation->GetProperty("UIref"));
    ASSERT_NE(ui, nullptr);

    EXPECT_EQ(ErrorNumberOf([&] {
                  ui->Call("AttachControl", {Object(netFace), Object(nodeFace)});
              }),
              450);
    EXPECT_FALSE(panel->IsAttached());

    ui->Call("AttachControl", {Object(netFace), Object(nodeFace), Variant{},
                               Variant(std::string("regName")), Variant(std::string("regSect"))});
    EXPECT_TRUE(panel->IsAttached());
    EXPECT_TRUE(panel->IsRebindDue());
    EXPECT_EQ(HostTickListeners(), 1u);

    TickThroughFace();
    EXPECT_FALSE(panel->IsRebindDue());
    EXPECT_EQ(panel->NumPosns(), 4);
    // The editors show the simulated drive's positions, and follow the drive from tick to tick.
    EXPECT_EQ(ctl().ParamItems(1).DisplayText(), "1000");
    EXPECT_EQ(ctl().ParamItems(3).DisplayText(), "3000");
    node->ForceParam(param::Position1 + 1, 1250);
    EXPECT_EQ(ctl().ParamItems(1).DisplayText(), "1000");
    TickThroughFace();
    EXPECT_EQ(ctl().ParamItems(1).DisplayText(), "1250");
    // A user's edit goes through the faces to the drive.
    automation->SetProperty("Enabled", Variant(true));
    ctl().ParamItems(2).UserEnter(2100);
    EXPECT_DOUBLE_EQ(node->Drive().Read(param::Position1 + 2), 2100.0);

    ctl().teachingCmd->UserClick();
    EXPECT_EQ(raised, (std::map<int32_t, int>{{5, 1}}));

    EXPECT_EQ(ui->Get("BarColor"), Variant(int32_t{0}));
    const std::string version = VariantToString(ui->Get("VersionStr"));
    EXPECT_FALSE(version.empty());
    EXPECT_EQ(version, panel->UIuserControl_VersionStr());
    // None of the panel's own controls reports a version, so its list is empty; a listed type
    // is read through the same dictionary object on the panel's jerk sub-panel, which lists
    // itself.
    const auto versions = ui->GetObject("ControlVersionList");
    EXPECT_EQ(versions->Get("Count"), Variant(int32_t{0}));
    EXPECT_EQ(versions->Call("Exists", {Variant(std::string("ArnJerkPanelCtl"))}), Variant(false));
    const auto jerkUi = std::make_shared<ObjectClient>(
        std::make_shared<UIuserControlAutomation>(ctl().JerkPanelCtl->get_UIref()));
    const auto jerkVersions = jerkUi->GetObject("ControlVersionList");
    EXPECT_EQ(jerkVersions->Get("Count"), Variant(int32_t{1}));
    const std::string jerkVersion =
        VariantToString(jerkVersions->Call("Item", {Variant(std::string("ArnJerkPanelCtl"))}));
    EXPECT_FALSE(jerkVersion.empty());
    EXPECT_EQ(jerkVersion, VariantToString(jerkUi->Get("VersionStr")));
    EXPECT_EQ(ui->GetObject("MyForms")->Get("Count"), Variant(int32_t{1}));

    const int64_t ticksBefore = net->Ticks();
    ui->Call("ReleaseControl", {});
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_EQ(HostTickListeners(), 0u);
    trace.Clear();
    TickThroughFace();
    TickThroughFace();
    EXPECT_EQ(net->Ticks(), ticksBefore + 2);
    EXPECT_EQ(net->ListenerFailures(), 0);
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_EQ(raised, (std::map<int32_t, int>{{5, 1}}));
}

}  // namespace
}  // namespace arn
