#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/ArnError.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelAutomation.h"
#include "sim/SimNet.h"

namespace arn {
namespace {

TEST(PanelAutomation, MembersByIdAndNameReachThePanel) {
    auto automation = PanelAutomation::Create(ArnAbsPosnCtl::Create());
    ArnAbsPosnCtl& panel = *automation->Panel();

    // Declaration order of the type library.
    const auto& members = automation->Members();
    ASSERT_EQ(members.size(), 5u);
    EXPECT_EQ(members[0].name, "UIuserControl_MyForms");
    EXPECT_EQ(members[0].dispId, 0x68030007);
    EXPECT_EQ(members[1].name, "UIref");
    EXPECT_EQ(members[1].dispId, 0x68030002);
    EXPECT_EQ(members[2].name, "DisplayMsg");
    EXPECT_EQ(members[2].dispId, 0x68030001);
    EXPECT_EQ(members[3].name, "Show");
    EXPECT_EQ(members[3].dispId, 0x68030003);
    EXPECT_EQ(members[4].name, "Enabled");
    EXPECT_EQ(members[4].dispId, 0x68030000);
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

    try {
        automation->GetProperty("Show");
        ADD_FAILURE() << "Show has no get";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 394);
    }
    try {
        automation->SetProperty("UIref", Variant(true));
        ADD_FAILURE() << "UIref has no put";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 383);
    }
    try {
        automation->GetProperty("NoSuchMember");
        ADD_FAILURE() << "no such member";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 438);
    }
}

TEST(PanelAutomation, ForwardsThePanelsEventsByDispatchId) {
    auto automation = PanelAutomation::Create(ArnAbsPosnCtl::Create());
    std::map<int32_t, int> raised;
    auto connection = automation->EventRaised.connect([&](int32_t id) { ++raised[id]; });

    const auto& events = automation->Events();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].name, "ShowHoming");
    EXPECT_EQ(events[2].name, "ShowJerkLim");
    EXPECT_EQ(events[2].dispId, 4);
    EXPECT_EQ(events[3].name, "Show16Posns");
    EXPECT_EQ(events[3].dispId, 3);

    auto net = SimNet::Create();
    automation->Panel()->get_UIref()->AttachControl(net, net->CreateNode(), nullptr, "", "");
    net->Tick();
    automation->SetProperty("Enabled", Variant(true));  // a disabled button takes no click
    automation->Panel()->NamedControls().teachingCmd->UserClick();
    automation->Panel()->ShowHoming();
    automation->Panel()->ShowTrqLim();
    automation->Panel()->ShowJerkLim();
    EXPECT_EQ(raised, (std::map<int32_t, int>{{1, 1}, {2, 1}, {4, 1}, {5, 1}}));
}

}  // namespace
}  // namespace arn
