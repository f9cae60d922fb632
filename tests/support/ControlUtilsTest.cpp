#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/ParamEditor.h"
#include "platform/DispatchCollection.h"
#include "platform/Form.h"
#include "platform/GenericControl.h"
#include "platform/GenericObject.h"
#include "platform/Label.h"
#include "platform/UserControl.h"
#include "support/ControlUtils.h"

namespace arn {
namespace {

const std::string kOverride = "Override Inputs";  // entry 8011
const std::string kEnable = "Enable";             // entry 8001

std::string Text(const Dispatch& obj, std::string_view name) {
    return VariantToString(obj.GetProperty(name));
}

TEST(ResCaption, ResolvesLeadingPlaceholdersOnly) {
    EXPECT_EQ(ResCaption(":8011:Input Override"), kOverride);
    EXPECT_EQ(ResCaption(":8011:"), kOverride);
    EXPECT_EQ(ResCaption(":18018:old text"),
              "Warning: Disconnecting USB will cause disable even if box is checked.");
    EXPECT_EQ(ResCaption(":8136:"), "Set Home Posn");

    for (const char* unchanged : {":801:x", "8011:x", ":8011", ":80a1:x", " :8011:", "", ":",
                                  ":12345", "x:8011:", ":801:1:"}) {
        EXPECT_EQ(ResCaption(unchanged), unchanged);
    }
    // Well-formed placeholders whose ids have no entry stay as they are.
    EXPECT_EQ(ResCaption(":8012:Spare"), ":8012:Spare");
    EXPECT_EQ(ResCaption(":99999:"), ":99999:");
    EXPECT_EQ(ResCaption(":0000:"), ":0000:");
}

// Each kind of the localisation table with the properties it must resolve; every other
// property carrying a placeholder must be left alone.
TEST(LocalizeControls, ResolvesExactlyThePropertiesOfEachKind) {
    const std::vector<std::string> candidates = {"Caption", "ToolTipText",     "BitCaptions",
                                                 "Text",    "UserDescription", "UserUnit",
                                                 "Filter",  "DialogTitle"};
    const std::map<std::string, std::vector<std::string>> expected = {
        {"Menu", {"Caption"}},
        {"Label", {"Caption", "ToolTipText"}},
        {"Frame", {"Caption", "ToolTipText"}},
        {"CommandButton", {"Caption", "ToolTipText"}},
        {"SSFrame", {"Caption", "ToolTipText"}},
        {"CheckBox", {"Caption", "ToolTipText"}},
        {"OptionButton", {"Caption", "ToolTipText"}},
        {"RadioEditor", {"Caption", "ToolTipText"}},
        {"LEDcontrol", {"Caption", "ToolTipText"}},
        {"SSPanel", {"Caption", "ToolTipText"}},
        {"Form", {"Caption", "ToolTipText"}},
        {"ParamRadioEditor", {"Caption", "ToolTipText"}},
        {"SSCommand", {"Caption", "ToolTipText"}},
        {"PictureBox", {"ToolTipText"}},
        {"ParamRadioGrpEditor", {"Caption", "BitCaptions", "ToolTipText"}},
        {"OutputIO", {"Caption", "ToolTipText"}},
        {"DisplayBoxCtl", {"Caption", "ToolTipText"}},
        {"ARProgressBar", {"Caption", "ToolTipText"}},
        {"SmartUI", {"Caption", "ToolTipText"}},
        {"nTextBox", {"Text", "ToolTipText"}},
        {"ParamEditor", {"UserDescription", "UserUnit", "ToolTipText"}},
        {"NTGraph", {"ToolTipText"}},
        {"CommonDialog", {"Filter", "DialogTitle"}},
        {"Toolbar", {}},
        {"SSTab", {}},
        {"SftTabs", {}},
        {"Timer", {}},
        {"ImageList", {}},
        {"Image", {}},
        {"Picture", {}},
        {"ComboBox", {}},
        {"StatusBar", {}},
        {"WinHook", {}},
        {"TextBox", {}},
        {"label", {}},  // type names compare case-sensitively
    };
    UserControl surface;
    std::map<std::string, std::shared_ptr<GenericControl>> controls;
    for (const auto& [type, props] : expected) {
        auto control =
            surface.Add(GenericControl::Create(type, "c" + std::to_string(controls.size())));
        for (const auto& name : candidates) {
            control->Define(name, ":8011:" + name);
        }
        controls[type] = control;
    }
    LocalizeControls(surface);
    for (const auto& [type, props] : expected) {
        for (const auto& name : candidates) {
            const bool resolved = std::find(props.begin(), props.end(), name) != props.end();
            EXPECT_EQ(Text(*controls[type], name), resolved ? kOverride : ":8011:" + name)
                << type << "." << name;
        }
    }
}

TEST(LocalizeControls, WalksCollectionsAndTabs) {
    auto button = GenericObject::Create("Button");
    button->Define("Caption", ":8001:").Define("ToolTipText", ":8011:");
    auto captionless = GenericObject::Create("Button");
    captionless->Define("ToolTipText", ":8001:");
    auto toolbar = GenericControl::Create("Toolbar", "bar");
    toolbar->Define("Buttons", DispatchCollection::Create({button, captionless}));
    auto emptyBar = GenericControl::Create("Toolbar", "emptyBar");
    emptyBar->Define("Buttons", DispatchCollection::Create());

    auto item = GenericObject::Create("SmartItem");
    item->Define("Caption", ":8011:").Define("ToolTipText", "plain");
    auto smart = GenericControl::Create("SmartUI", "smart");
    smart->Define("Caption", ":8001:").Define("SmartItems", DispatchCollection::Create({item}));

    auto ssTab = GenericControl::Create("SSTab", "tabs");
    ssTab->Define("Tabs", 2).DefineIndexed("TabCaption", {":8001:", ":8011:x", ":8002:"});
    auto noTabs = GenericControl::Create("SSTab", "noTabs");
    noTabs->Define("Tabs", 0).DefineIndexed("TabCaption", {":8001:"});

    std::vector<std::shared_ptr<Dispatch>> sftTabList;
    std::vector<Variant> sftTabElements;
    for (const char* text : {":8011:", "one two", " lead", "a  b", ":8017:", ""}) {
        auto tab = GenericObject::Create("Tab");
        tab->Define("Text", std::string(text));
        sftTabList.push_back(tab);
        sftTabElements.emplace_back(std::shared_ptr<Dispatch>(tab));
    }
    auto sft = GenericControl::Create("SftTabs", "sft");
    sft->Define("Tabs", DispatchCollection::Create(sftTabList))
        .DefineIndexed("Tab", sftTabElements);

    LocalizeControls(
        std::vector<std::shared_ptr<Control>>{toolbar, emptyBar, smart, ssTab, noTabs, sft});

    EXPECT_EQ(Text(*button, "Caption"), kEnable);
    EXPECT_EQ(Text(*button, "ToolTipText"), kOverride);
    EXPECT_EQ(Text(*captionless, "ToolTipText"), kEnable);
    EXPECT_EQ(Text(*smart, "Caption"), kEnable);
    EXPECT_EQ(Text(*item, "Caption"), kOverride);
    EXPECT_EQ(Text(*item, "ToolTipText"), "plain");
    EXPECT_EQ(VariantToString(ssTab->GetProperty("TabCaption", 0)), kEnable);
    EXPECT_EQ(VariantToString(ssTab->GetProperty("TabCaption", 1)), kOverride);
    EXPECT_EQ(VariantToString(ssTab->GetProperty("TabCaption", 2)), ":8002:");  // beyond Tabs
    EXPECT_EQ(VariantToString(noTabs->GetProperty("TabCaption", 0)), ":8001:");

    const std::vector<std::string> words = {
        "Override\nInputs",
        "one\ntwo",
        "lead",
        "a\n\nb",
        "Use\ncaution\nwhen\nenabling;\ncurrent\nsettings\nwill\ncause\nimmediate\nmotion.",
        ""};
    for (size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(Text(*sftTabList[i], "Text"), words[i]) << i;
    }
}

TEST(LocalizeControls, SkipsEveryFailingStepAndGoesOn) {
    auto noCaption = GenericControl::Create("Label", "noCaption");
    noCaption->Define("Caption", ":8011:").Withhold("Caption").put_ToolTipText(":8001:");
    auto objectCaption = GenericControl::Create("CheckBox", "objectCaption");
    objectCaption->Define("Caption", std::shared_ptr<Dispatch>(GenericObject::Create("Font")))
        .put_ToolTipText(":8011:");
    auto badTabs = GenericControl::Create("SSTab", "badTabs");
    badTabs->Define("Tabs", 3).DefineIndexed("TabCaption", {":8001:"});  // fewer than Tabs
    auto brokenBar = GenericControl::Create("Toolbar", "brokenBar");
    brokenBar->Define("Buttons", std::string("not a collection"));
    auto sftWithoutTab = GenericControl::Create("SftTabs", "sftWithoutTab");
    sftWithoutTab->Define("Tabs", DispatchCollection::Create({GenericObject::Create("Tab")}));
    auto label = std::make_shared<Label>("realLabel");
    label->put_Caption(":8000:Design text");
    auto editor = std::make_shared<ParamEditor>("ParamItems", 0);
    editor->put_UserDescription(":8002:");
    editor->put_UserUnit(":8136:");

    EXPECT_NO_THROW(LocalizeControls(std::vector<std::shared_ptr<Control>>{
        noCaption, objectCaption, badTabs, brokenBar, sftWithoutTab, nullptr, label, editor}));
    EXPECT_EQ(noCaption->get_ToolTipText(), kEnable);
    EXPECT_EQ(objectCaption->get_ToolTipText(), kOverride);
    EXPECT_EQ(VariantToString(badTabs->GetProperty("TabCaption", 0)), kEnable);
    EXPECT_EQ(label->get_Caption(), "Inputs and Commands");
    EXPECT_EQ(editor->get_UserDescription(), "Input A");
    EXPECT_EQ(editor->get_UserUnit(), "Set Home Posn");

    Form form("dlg", ":8110:");
    auto inner = GenericControl::Create("Frame", "inner");
    inner->Define("Caption", ":8119:");
    LocalizeControls(form, {inner});
    EXPECT_EQ(form.get_Caption(), "Click to Stop");
    EXPECT_EQ(Text(*inner, "Caption"), "Home Switch");
}

TEST(ControlUtils, ClassifiesControlsByTypeName) {
    for (const char* type : {"nTextBox", "CommandButton", "OptionButton", "CheckBox", "SSCheck",
                             "SSOption", "SSCommand", "TextBox", "ComboBox", "ParamEditor",
                             "RadioEditor", "ParamRadioEditor", "ParamRadioGrpEditor", "OutputIO",
                             "FieldRadioGrpEditor", "FieldEditor", "ArnFieldEditor"}) {
        auto control = GenericControl::Create(type, "c");
        EXPECT_TRUE(IsUserInputControl(control.get())) << type;
        EXPECT_FALSE(IsPassiveControl(control.get())) << type;
    }
    for (const char* type : {"Timer", "Line", "Shape", "ARProgressBar"}) {
        auto control = GenericControl::Create(type, "c");
        EXPECT_TRUE(IsPassiveControl(control.get())) << type;
        EXPECT_FALSE(IsUserInputControl(control.get())) << type;
    }
    for (const char* type : {"Label", "Frame", "ArnFieldLED", "checkbox", "Image"}) {
        auto control = GenericControl::Create(type, "c");
        EXPECT_FALSE(IsUserInputControl(control.get())) << type;
        EXPECT_FALSE(IsPassiveControl(control.get())) << type;
    }
    EXPECT_FALSE(IsUserInputControl(nullptr));
    EXPECT_FALSE(IsPassiveControl(nullptr));
}

TEST(ControlUtils, MessageLabelIsYellowAndShownOnlyWithText) {
    Label label("msgLbl");
    label.put_Visible(false);
    ShowMessageLabel(label, "Drive is busy");
    EXPECT_EQ(label.get_BackColor(), 0xFFFF);
    EXPECT_TRUE(label.get_Visible());
    EXPECT_EQ(label.get_Caption(), "Drive is busy");
    ShowMessageLabel(label, "");
    EXPECT_FALSE(label.get_Visible());
    EXPECT_EQ(label.get_Caption(), "");
    EXPECT_EQ(label.get_BackColor(), 0xFFFF);
}

}  // namespace
}  // namespace arn
