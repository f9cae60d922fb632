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
    EXPECT_EQ(elements[0].description, "EnclosingFrame");
    EXPECT_EQ(elements[1].description, "teachingCmd: Teaching Setup");
    // The hard stop is disabled by design until homing runs; the editor's view edits the
    // value, not a click; an unbound LED is unlit.
    const char* const byName[][2] = {
        {"EnclosingFrame", "Grouping 'Absolute Positioning' - inert"},
        {"teachingCmd", "PushButton '?' Press"},
        {"teachingCheck", "CheckButton '' Check"},
        {"teachingLbl", "StaticText 'Enable Teaching' - inert"},
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

TEST_F(PanelAccessibility, ButtonsRaiseTheirEventOnceOnlyWhileAvailable) {
    const auto teaching = Element("teachingCmd");
    int dialogs = 0;
    auto counted = panel->ShowTeachingDlg.connect([&] { ++dialogs; });
    teaching.doDefaultAction();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(events, std::vector<int32_t>{kShowTeachingDlg});
    // A setup sub-panel's press asks for its window; the hard stop is disabled by design.
    const AccessibleElement homing = Element("HomingCtl");
    EXPECT_EQ(Rect(homing.left, homing.top, homing.width, homing.height),
              ctl().HomingCtl->SurfaceRect());
    homing.doDefaultAction();
    Element("hardStopCmd").doDefaultAction();
    EXPECT_EQ(events, (std::vector<int32_t>{kShowTeachingDlg, kShowHoming}));

    // Taken while pressable, pressed after the panel hid its content: the live state decides.
    panel->put_Show(false);
    EXPECT_FALSE(Element("teachingCmd").visible);
    EXPECT_TRUE(Element("teachingCmd").enabled);
    teaching.doDefaultAction();
    // Enabling a panel that is not attached disables its inputs.
    panel->put_Show(true);
    panel->put_Enabled(true);
    EXPECT_FALSE(Element("teachingCmd").enabled);
    EXPECT_TRUE(Element("teachingCmd").visible);
    Element("teachingCmd").doDefaultAction();
    Element("teachingCheck").doDefaultAction();
    EXPECT_EQ(Count(kShowTeachingDlg), 1);
    EXPECT_EQ(ctl().teachingCheck->get_Value(), CheckBox::Unchecked);

    // A snapshot outlives the panel without keeping it.
    std::weak_ptr<ArnAbsPosnCtl> gone = panel;
    panel.reset();
    automation.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_NO_THROW(teaching.doDefaultAction());
}

TEST_F(PanelAccessibility, CheckBoxActionTogglesAndReportsTheClick) {
    int clicks = 0;
    auto counted = ctl().teachingCheck->Click.connect([&] { ++clicks; });
    // Each press: the element before it, then the value after it.
    const struct {
        const char* before;
        int after;
    } rows[] = {{"CheckButton '' Check", CheckBox::Checked},
                {"CheckButton '' Uncheck checked", CheckBox::Unchecked},
                {"CheckButton '' Uncheck mixed", CheckBox::Unchecked}};
    for (const auto& row : rows) {
        if (row.before == rows[2].before) {
            ctl().teachingCheck->put_Value(CheckBox::Grayed);
        }
        const auto box = Element("teachingCheck");
        EXPECT_EQ(Summary(box), row.before);
        box.doDefaultAction();
        EXPECT_EQ(ctl().teachingCheck->get_Value(), row.after);
    }
    EXPECT_EQ(clicks, 4) << "three presses, and putting the third state";
}

TEST_F(PanelAccessibility, ThreedCheckBoxActionTogglesAndReportsTheNewState) {
    // The override boxes write through the node's fields, so the panel is attached.
    AttachAndBind();
    panel->put_Enabled(true);
    Element("teachingCmd").doDefaultAction();
    EXPECT_EQ(Count(kShowTeachingDlg), 1);
    // The boxes are off while the drive's pins rule; the user hands the inputs to software.
    EXPECT_FALSE(Element("inCheck(1)").enabled);
    Element("inputOptChk").doDefaultAction();
    ASSERT_FALSE(io().get_ExternalInputs());
    std::vector<int16_t> clicks;
    auto counted = ctl().inCheck(1).Click.connect([&](int16_t v) { clicks.push_back(v); });
    for (const bool checked : {false, true}) {
        const auto box = Element("inCheck(1)");
        ASSERT_EQ(Summary(box),
                  checked ? "CheckButton '' Uncheck checked" : "CheckButton '' Check");
        box.doDefaultAction();
        EXPECT_EQ(ctl().inCheck(1).get_CheckValue(), !checked);
        EXPECT_EQ(node->Param(265)->Field("Input-A OR Override")->get_Value(), checked ? 0 : 1);
    }
    EXPECT_EQ(clicks, (std::vector<int16_t>{1, 0}));
}

}  // namespace
}  // namespace arn::test
