#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "panel/PanelAutomation.h"
#include "panel/PanelFixture.h"

namespace arn::test {
namespace {

using Role = AccessibleElement::Role;

constexpr int32_t kShowTeachingDlg = 5;
constexpr int32_t kShowHoming = 1;

// A panel on a simulated net, presented by its automation object, which counts the events it
// raises.
class PanelAccessibility : public PanelTest {
  protected:
    PanelAccessibility() {
        raised = automation->EventRaised.connect([this](int32_t id) { events.push_back(id); });
    }

    // The element of the control whose description starts with the name in code; fails the
    // test when there is none.
    AccessibleElement Element(std::string_view nameInCode) {
        for (auto& element : automation->AccessibleElements()) {
            const std::string& d = element.description;
            if (d.starts_with(nameInCode) &&
                (d.size() == nameInCode.size() || d[nameInCode.size()] == ':')) {
                return element;
            }
        }
        ADD_FAILURE() << "no element " << nameInCode;
        return {};
    }
    long Count(int32_t dispId) const { return std::count(events.begin(), events.end(), dispId); }

    std::shared_ptr<PanelAutomation> automation = PanelAutomation::Create(panel);
    std::vector<int32_t> events;
    Connection raised;
};

// An element as a table row: its role, name and default action ("-" for none; "inert" when
// it has no action to run), then the states it is in besides enabled and visible.
std::string Summary(const AccessibleElement& e) {
    static const char* const roles[] = {"Client",  "PushButton", "CheckButton", "StaticText",
                                        "Graphic", "Grouping",   "Text",        "Indicator"};
    return std::string(roles[static_cast<int>(e.role)]) + " '" + e.name + "' " +
           (e.defaultAction.empty() ? "-" : e.defaultAction) + (e.doDefaultAction ? "" : " inert") +
           (e.enabled ? "" : " disabled") + (e.visible ? "" : " hidden") +
           (e.checked ? " checked" : "") + (e.mixed ? " mixed" : "");
}

TEST_F(PanelAccessibility, ElementsListEveryControlInControlOrderByKind) {
    const auto elements = automation->AccessibleElements();
    ASSERT_EQ(elements.size(), panel->ControlCount());
    const char* const first[][2] = {{"EnclosingFrame", "Grouping 'Absolute Positioning' - inert"},
                                    {"teachingCmd: Teaching Setup", "PushButton '?' Press"},
                                    {"teachingCheck", "CheckButton '' Check"},
                                    {"teachingLbl", "StaticText 'Enable Teaching' - inert"}};
    ASSERT_GE(elements.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(elements[i].description, first[i][0]);
        EXPECT_EQ(Summary(elements[i]), first[i][1]) << first[i][0];
    }
    // The hard stop is disabled by design until homing runs; the editor's view edits the
    // value, not a click; an unbound LED is unlit.
    const char* const byName[][2] = {
        {"HomingCtl", "PushButton 'Homing Setup...' Press"},
        {"ArnFdbkDisplayCtl1", "Grouping 'Position Feedback' - inert"},
        {"Picture1", "Grouping '' - inert"},
        {"swLED(1)", "Indicator '' - inert"},
        {"inCheck(2)", "CheckButton '' Check"},
        {"Line", "Graphic '' - inert"},
        {"warnBox", "Graphic '' - inert hidden"},
        {"hardStopCmd", "PushButton ':8136:SetHomePosn' Press disabled"},
        {"warnTriangle(14)", "Graphic '' - inert hidden"},
        {"ParamItems(5)", "Text 'N/A' - inert"}};
    for (const auto& [name, summary] : byName) {
        EXPECT_EQ(Summary(Element(name)), summary) << name;
    }
}

TEST_F(PanelAccessibility, PressingAButtonRaisesItsEventOnce) {
    const auto teaching = Element("teachingCmd");
    ASSERT_TRUE(teaching.doDefaultAction);
    int dialogs = 0;
    auto counted = panel->ShowTeachingDlg.connect([&] { ++dialogs; });
    teaching.doDefaultAction();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(events, std::vector<int32_t>{kShowTeachingDlg});

    // A setup sub-panel's press asks for its window.
    Element("HomingCtl").doDefaultAction();
    EXPECT_EQ(Count(kShowHoming), 1);
    EXPECT_EQ(Count(kShowTeachingDlg), 1);
}

TEST_F(PanelAccessibility, UnavailableElementsIgnoreTheirAction) {
    // Disabled by design.
    const auto hardStop = Element("hardStopCmd");
    ASSERT_TRUE(hardStop.doDefaultAction);
    hardStop.doDefaultAction();
    EXPECT_EQ(events.size(), 0u);

    // Taken while pressable, pressed after the panel hid its content: the live state decides.
    const auto teaching = Element("teachingCmd");
    panel->put_Show(false);
    EXPECT_FALSE(Element("teachingCmd").visible);
    EXPECT_TRUE(Element("teachingCmd").enabled);
    teaching.doDefaultAction();
    EXPECT_EQ(Count(kShowTeachingDlg), 0);

    // Enabling a panel that is not attached disables its inputs.
    panel->put_Show(true);
    panel->put_Enabled(true);
    EXPECT_FALSE(Element("teachingCmd").enabled);
    EXPECT_TRUE(Element("teachingCmd").visible);
    Element("teachingCmd").doDefaultAction();
    const auto box = Element("teachingCheck");
    box.doDefaultAction();
    EXPECT_EQ(Count(kShowTeachingDlg), 0);
    EXPECT_EQ(ctl().teachingCheck->get_Value(), CheckBox::Unchecked);

    // A snapshot outlives the panel without keeping it.
    std::weak_ptr<ArnAbsPosnCtl> gone = panel;
    panel.reset();
    automation.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_NO_THROW(teaching.doDefaultAction());
}

TEST_F(PanelAccessibility, AttachedAndEnabledPanelIsPressable) {
    AttachAndBind();
    panel->put_Show(true);
    panel->put_Enabled(true);
    const auto teaching = Element("teachingCmd");
    EXPECT_TRUE(teaching.enabled);
    EXPECT_TRUE(teaching.visible);
    teaching.doDefaultAction();
    EXPECT_EQ(Count(kShowTeachingDlg), 1);
}

TEST_F(PanelAccessibility, CheckBoxActionTogglesAndReportsTheClick) {
    int clicks = 0;
    auto counted = ctl().teachingCheck->Click.connect([&] { ++clicks; });

    Element("teachingCheck").doDefaultAction();
    EXPECT_EQ(ctl().teachingCheck->get_Value(), CheckBox::Checked);
    EXPECT_EQ(clicks, 1);
    auto checked = Element("teachingCheck");
    EXPECT_TRUE(checked.checked);
    EXPECT_FALSE(checked.mixed);
    EXPECT_EQ(checked.defaultAction, "Uncheck");

    checked.doDefaultAction();
    EXPECT_EQ(ctl().teachingCheck->get_Value(), CheckBox::Unchecked);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(Element("teachingCheck").defaultAction, "Check");

    // The third state reads as mixed, and a click clears it.
    ctl().teachingCheck->put_Value(CheckBox::Grayed);
    clicks = 0;
    const auto grayed = Element("teachingCheck");
    EXPECT_FALSE(grayed.checked);
    EXPECT_TRUE(grayed.mixed);
    EXPECT_EQ(grayed.defaultAction, "Uncheck");
    grayed.doDefaultAction();
    EXPECT_EQ(ctl().teachingCheck->get_Value(), CheckBox::Unchecked);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PanelAccessibility, ThreedCheckBoxActionTogglesAndReportsTheNewState) {
    // The override boxes write through the node's fields, so the panel is attached.
    AttachAndBind();
    panel->put_Show(true);
    panel->put_Enabled(true);
    // The boxes are off while the drive's pins rule; the user hands the inputs to software.
    EXPECT_FALSE(Element("inCheck(1)").enabled);
    Element("inputOptChk").doDefaultAction();
    ASSERT_FALSE(panel->InputsObject()->get_ExternalInputs());
    std::vector<int16_t> clicks;
    auto counted = ctl().inCheck(1).Click.connect([&](int16_t v) { clicks.push_back(v); });

    const auto before = Element("inCheck(1)");
    ASSERT_TRUE(before.enabled);
    EXPECT_FALSE(before.checked);
    EXPECT_EQ(before.defaultAction, "Check");
    before.doDefaultAction();
    EXPECT_TRUE(ctl().inCheck(1).get_CheckValue());
    EXPECT_EQ(node->Param(265)->Field("Input-A OR Override")->get_Value(), 1);
    const auto after = Element("inCheck(1)");
    EXPECT_TRUE(after.checked);
    EXPECT_EQ(after.defaultAction, "Uncheck");
    after.doDefaultAction();
    EXPECT_FALSE(ctl().inCheck(1).get_CheckValue());
    EXPECT_EQ(node->Param(265)->Field("Input-A OR Override")->get_Value(), 0);
    EXPECT_EQ(clicks, (std::vector<int16_t>{1, 0}));
}

}  // namespace
}  // namespace arn::test
