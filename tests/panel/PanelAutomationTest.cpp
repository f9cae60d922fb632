#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/ObjectClient.h"
#include "fakes/ErrorNumber.h"
#include "panel/PanelAutomation.h"
#include "panel/PanelFixture.h"
#include "sim/SimNetAutomation.h"
#include "sim/SimNodeAutomation.h"

namespace arn {
namespace {

using test::ErrorNumber;
using test::PanelTest;

TEST(PanelAutomation, MembersAndEventsByIdAndNameReachThePanel) {
    auto automation = PanelAutomation::Create(ArnAbsPosnCtl::Create());
    ArnAbsPosnCtl& panel = *automation->Panel();

    // The type library's dispatch ids, checked against it by the Windows client's tests.
    const auto& members = automation->Members();
    ASSERT_EQ(members.size(), 5u);
    EXPECT_EQ(members[3].name, "Show");
    EXPECT_FALSE(members[3].get);  // Show is put only
    EXPECT_FALSE(members[1].put);
    EXPECT_EQ(automation->FindMember("enabled"), automation->FindMember(0x68030000));
    EXPECT_EQ(automation->FindMember(0x12345), nullptr);

    automation->SetProperty("Enabled", Variant(true));
    EXPECT_TRUE(panel.get_Enabled());
    EXPECT_EQ(automation->FindMember(0x68030000)->get(*automation), Variant(true));
    automation->SetProperty("DisplayMsg", Variant(std::string("Homing first")));
    EXPECT_EQ(panel.get_DisplayMsg(), "Homing first");
    EXPECT_EQ(automation->GetProperty("DisplayMsg"), Variant(std::string("Homing first")));
    automation->SetProperty("Show", Variant(false));
    EXPECT_FALSE(panel.NamedControls().EnclosingFrame->get_Visible());

    const auto framework = VariantToObject(automation->GetProperty("UIref"));
    EXPECT_EQ(framework, automation->Facet("{de79a7c1-7138-4ce8-8f7d-2758c759f497}"));
    EXPECT_EQ(framework->TypeName(), "UIuserControl");
    EXPECT_EQ(automation->Facet("{00000000-0000-0000-C000-000000000046}"), nullptr);
    auto forms = VariantToObject(automation->GetProperty("UIuserControl_MyForms"));
    ASSERT_NE(forms, nullptr);
    EXPECT_EQ(forms->GetProperty("Count"), Variant(int32_t{1}));
    EXPECT_EQ(forms->Elements().size(), 1u);

    EXPECT_EQ(ErrorNumber([&] { automation->GetProperty("Show"); }), 394);  // no get
    EXPECT_EQ(ErrorNumber([&] { automation->SetProperty("UIref", Variant(true)); }), 383);
    EXPECT_EQ(ErrorNumber([&] { automation->GetProperty("NoSuchMember"); }), 438);

    // The panel's events go out by dispatch id.
    const auto& events = automation->Events();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[2].name, "ShowJerkLim");
    EXPECT_EQ(events[3].dispId, 3);
    std::map<int32_t, int> raised;
    auto connection = automation->EventRaised.connect([&](int32_t id) { ++raised[id]; });
    panel.ShowHoming();
    panel.ShowTrqLim();
    panel.ShowJerkLim();
    panel.ShowTeachingDlg();
    EXPECT_EQ(raised, (std::map<int32_t, int>{{1, 1}, {2, 1}, {4, 1}, {5, 1}}));
}

Variant Object(const std::shared_ptr<AutomationObject>& face) {
    return Variant(std::shared_ptr<Dispatch>(face));
}

// The panel attached by a host that holds nothing but automation objects: its UIuserControl
// reached through the panel's automation object, the simulated net and node through their
// faces, time driven through the net face's Tick. No component runtime is involved.
TEST_F(PanelTest, SimulatedFacesBindThePanelTicksDriveItAndReleaseEndsIt) {
    auto automation = PanelAutomation::Create(panel);
    auto netFace = SimNetAutomation::Create(net);
    auto nodeFace = SimNodeAutomation::Create(node);
    auto netClient = std::make_shared<ObjectClient>(netFace);
    auto tick = [&] { netClient->Call("Tick", {}); };
    // Who listens to the host's TimerTick through the app-events face.
    auto hostTickListeners = [&] {
        return std::dynamic_pointer_cast<AutomationObject>(
                   VariantToObject(netClient->Get("AppEvents")))
            ->EventRaised.slotCount();
    };
    const auto ui = ClientOf(automation->GetProperty("UIref"));
    ASSERT_NE(ui, nullptr);

    EXPECT_EQ(ErrorNumber([&] {
                  ui->Call("AttachControl", {Object(netFace), Object(nodeFace)});
              }),
              450);
    EXPECT_FALSE(panel->IsAttached());

    ui->Call("AttachControl", {Object(netFace), Object(nodeFace), Variant{},
                               Variant(std::string("regName")), Variant(std::string("regSect"))});
    EXPECT_TRUE(panel->IsAttached());
    EXPECT_TRUE(panel->IsRebindDue());
    EXPECT_EQ(hostTickListeners(), 1u);

    tick();
    EXPECT_FALSE(panel->IsRebindDue());
    EXPECT_EQ(panel->NumPosns(), 4);
    // The editors show the simulated drive's positions (the faces' own tests follow a write).
    EXPECT_EQ(ctl().ParamItems(3).DisplayText(), "3000");

    EXPECT_EQ(ui->Get("BarColor"), Variant(int32_t{0}));
    EXPECT_EQ(VariantToString(ui->Get("VersionStr")), panel->UIuserControl_VersionStr());
    // None of the panel's own controls reports a version (the sub-panels' tests list theirs).
    EXPECT_EQ(ui->GetObject("ControlVersionList")->Get("Count"), Variant(int32_t{0}));
    EXPECT_EQ(ui->GetObject("MyForms")->Get("Count"), Variant(int32_t{1}));

    const int64_t ticksBefore = net->Ticks();
    ui->Call("ReleaseControl", {});
    EXPECT_FALSE(panel->IsAttached());
    EXPECT_EQ(hostTickListeners(), 0u);
    trace.Clear();
    tick();
    EXPECT_EQ(net->Ticks(), ticksBefore + 1);
    EXPECT_EQ(net->ListenerFailures(), 0);
    EXPECT_TRUE(trace.Lines().empty());
}

}  // namespace
}  // namespace arn
