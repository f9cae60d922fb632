#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/DispatchCollection.h"
#include "fakes/GenericControl.h"
#include "fakes/GenericObject.h"
#include "host/controls/ParamEditor.h"
#include "support/ControlUtils.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/UserControl.h"

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
    // Malformed placeholders, and well-formed ones whose ids have no entry, stay as they are.
    for (const char* unchanged :
         {":801:x", "8011:x", ":8011", ":80a1:x", " :8011:", "", ":", ":12345",
          "x:8011:", ":801:1:", ":8012:Spare", ":99999:", ":0000:"}) {
        EXPECT_EQ(ResCaption(unchanged), unchanged);
    }
}

// Each kind of the localisation table with the properties it must resolve; every other
// property carrying a placeholder must be left alone.
TEST(LocalizeControls, ResolvesExactlyThePropertiesOfEachKind) {
    using Names = std::vector<std::string>;
    const Names candidates = {"Caption",         "ToolTipText", "BitCaptions", "Text",
                              "UserDescription", "UserUnit",    "Filter",      "DialogTitle"};
    const std::vector<std::pair<Names, Names>> groups = {
        {{"Menu"}, {"Caption"}},
        {{"Label", "Frame", "CommandButton", "SSFrame", "CheckBox", "OptionButton", "RadioEditor",
          "LEDcontrol", "SSPanel", "Form", "ParamRadioEditor", "SSCommand", "OutputIO",
          "DisplayBoxCtl", "ARProgressBar", "SmartUI"},
         {"Caption", "ToolTipText"}},
        {{"PictureBox", "NTGraph"}, {"ToolTipText"}},
        {{"ParamRadioGrpEditor"}, {"Caption", "BitCaptions", "ToolTipText"}},
        {{"nTextBox"}, {"Text", "ToolTipText"}},
        {{"ParamEditor"}, {"UserDescription", "UserUnit", "ToolTipText"}},
        {{"CommonDialog"}, {"Filter", "DialogTitle"}},
        // Type names compare case-sensitively.
        {{"Toolbar", "SSTab", "SftTabs", "Timer", "ImageList", "Image", "Picture", "ComboBox",
          "StatusBar", "WinHook", "TextBox", "label"},
         {}},
    };
    UserControl surface;
    std::vector<std::pair<std::shared_ptr<GenericControl>, const Names*>> controls;
    for (const auto& [types, props] : groups) {
        for (const auto& type : types) {
            auto control =
                surface.Add(GenericControl::Create(type, "c" + std::to_string(controls.size())));
            for (const auto& name : candidates) {
                control->Define(name, ":8011:" + name);
            }
            controls.emplace_back(control, &props);
        }
    }
    LocalizeControls(surface);
    for (const auto& [control, props] : controls) {
        for (const auto& name : candidates) {
            const bool resolved = std::find(props->begin(), props->end(), name) != props->end();
            EXPECT_EQ(Text(*control, name), resolved ? kOverride : ":8011:" + name)
                << control->TypeName() << "." << name;
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

    auto item = GenericObject::Create("SmartItem");
    item->Define("Caption", ":8011:").Define("ToolTipText", "plain");
    auto smart = GenericControl::Create("SmartUI", "smart");
    smart->Define("Caption", ":8001:").Define("SmartItems", DispatchCollection::Create({item}));

    auto ssTab = GenericControl::Create("SSTab", "tabs");
    ssTab->Define("Tabs", 2).DefineIndexed("TabCaption", {":8001:", ":8011:x", ":8002:"});

    // A tab strip shows one word per line; empty words count except at the very start.
    std::vector<std::shared_ptr<Dispatch>> sftTabList;
    std::vector<Variant> sftTabElements;
    for (const char* text : {":8011:", "one two", " lead", "a  b", ""}) {
        auto tab = GenericObject::Create("Tab");
        tab->Define("Text", std::string(text));
        sftTabList.push_back(tab);
        sftTabElements.emplace_back(std::shared_ptr<Dispatch>(tab));
    }
    auto sft = GenericControl::Create("SftTabs", "sft");
    sft->Define("Tabs", DispatchCollection::Create(sftTabList))
        .DefineIndexed("Tab", sftTabElements);

    // Controls held as controls or as plain automation objects, gaps skipped.
    LocalizeControls(std::vector<std::shared_ptr<Control>>{toolbar, nullptr, smart});
    LocalizeControls(std::vector<std::shared_ptr<Dispatch>>{ssTab, nullptr, sft});

    std::vector<std::string> texts = {
        Text(*button, "Caption"), Text(*button, "ToolTipText"), Text(*captionless, "ToolTipText"),
        Text(*smart, "Caption"),  Text(*item, "Caption"),       Text(*item, "ToolTipText")};
    for (int16_t i = 0; i < 3; ++i) {
        texts.push_back(VariantToString(ssTab->GetProperty("TabCaption", i)));  // 2 is beyond Tabs
    }
    for (const auto& tab : sftTabList) {
        texts.push_back(Text(*tab, "Text"));
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{kEnable, kOverride, kEnable, kEnable, kOverride, "plain",
                                        kEnable, kOverride, ":8002:", "Override\nInputs",
                                        "one\ntwo", "lead", "a\n\nb", ""}));
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
    Form form("dlg", ":8110:");
    auto inner = GenericControl::Create("Frame", "inner");
    inner->Define("Caption", ":8119:");
    LocalizeControls(form, {inner});
    EXPECT_EQ(
        (std::vector<std::string>{noCaption->get_ToolTipText(), objectCaption->get_ToolTipText(),
                                  VariantToString(badTabs->GetProperty("TabCaption", 0)),
                                  label->get_Caption(), editor->get_UserDescription(),
                                  editor->get_UserUnit(), form.get_Caption(),
                                  Text(*inner, "Caption")}),
        (std::vector<std::string>{kEnable, kOverride, kEnable, "Inputs and Commands", "Input A",
                                  "Set Home Posn", "Click to Stop", "Home Switch"}));
}

TEST(ControlUtils, ClassifiesControlsByTypeName) {
    const auto kind = [](const char* type) {
        auto control = GenericControl::Create(type, "c");
        return std::string(IsUserInputControl(control.get()) ? "input" : "") +
               (IsPassiveControl(control.get()) ? "passive" : "");
    };
    for (const char* type : {"nTextBox", "CommandButton", "OptionButton", "CheckBox", "SSCheck",
                             "SSOption", "SSCommand", "TextBox", "ComboBox", "ParamEditor",
                             "RadioEditor", "ParamRadioEditor", "ParamRadioGrpEditor", "OutputIO",
                             "FieldRadioGrpEditor", "FieldEditor", "ArnFieldEditor"}) {
        EXPECT_EQ(kind(type), "input") << type;
    }
    for (const char* type : {"Timer", "Line", "Shape", "ARProgressBar"}) {
        EXPECT_EQ(kind(type), "passive") << type;
    }
    for (const char* type : {"Label", "Frame", "ArnFieldLED", "checkbox", "Image"}) {
        EXPECT_EQ(kind(type), "") << type;
    }
    EXPECT_FALSE(IsUserInputControl(nullptr));
    EXPECT_FALSE(IsPassiveControl(nullptr));
}

}  // namespace
}  // namespace arn
