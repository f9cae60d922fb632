// Control trees of any shape: LocalizeControls walks controls of every type name, with
// properties of any kind, missing ones and ones that refuse to be read, and never throws.
// Which properties each kind resolves is the unit test's table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzInput.h"
#include "core/Variant.h"
#include "fakes/DispatchCollection.h"
#include "fakes/GenericControl.h"
#include "fakes/GenericObject.h"
#include "support/ControlUtils.h"

namespace {

using arn::fuzz::FuzzInput;

// Type names the walk localises and ones it must leave alone (input and passive classes,
// kinds without localisable text, a wrong case, none).
const char* const kTypes[] = {"Menu",          "Label",         "Frame",
                              "CommandButton", "SSFrame",       "CheckBox",
                              "OptionButton",  "RadioEditor",   "LEDcontrol",
                              "SSPanel",       "Form",          "ParamRadioEditor",
                              "SSCommand",     "PictureBox",    "ParamRadioGrpEditor",
                              "OutputIO",      "DisplayBoxCtl", "ARProgressBar",
                              "Toolbar",       "SmartUI",       "nTextBox",
                              "ParamEditor",   "SSTab",         "SftTabs",
                              "NTGraph",       "CommonDialog",  "Timer",
                              "ImageList",     "Image",         "Picture",
                              "ComboBox",      "StatusBar",     "WinHook",
                              "TextBox",       "label",         "SSCheck",
                              "Line",          "Shape",         ""};

const char* const kProperties[] = {
    "Caption",    "ToolTipText", "Text", "BitCaptions", "UserUnit", "UserDescription",
    "Filter",     "DialogTitle", "Tabs", "TabCaption",  "Tag",      "Buttons",
    "SmartItems", "Tab",         "Count"};

// Texts that resolve, that almost resolve, and whatever the input spells.
std::string MakeText(FuzzInput& in) {
    const char* const fixed[] = {":8011:Input Override", ":18018:", ":99999:none"};
    const size_t kind = in.Pick(6);
    return kind < 3 ? fixed[kind] : kind == 3 ? ":801:" + in.Text(8) : in.Text(24);
}

arn::Variant MakeValue(FuzzInput& in, int depth);

// A tab strip or a collection holds a handful of entries. A count in the millions, spelled by
// a text or a double, is still walked index by index as the controls ask, and would only spin
// through that many refused reads without reaching any new code; it is folded into a small one.
arn::Variant Plausible(std::string_view name, arn::Variant value) {
    try {
        const int32_t count = name == "Tabs" || name == "Count" ? arn::VariantToLong(value) : 0;
        return count > 64 || count < -64 ? arn::Variant(count % 64) : value;
    } catch (...) {
        return value;  // not a number at all: the walk meets the same refusal
    }
}

std::shared_ptr<arn::Dispatch> MakeObject(FuzzInput& in, int depth) {
    const size_t kind = depth > 2 ? 2 : in.Pick(3);
    if (kind == 0) {
        std::vector<std::shared_ptr<arn::Dispatch>> items;
        const size_t count = in.Pick(4);
        for (size_t i = 0; i < count; ++i) {
            items.push_back(in.Flag() ? MakeObject(in, depth + 1) : nullptr);
        }
        return arn::DispatchCollection::Create(std::move(items));
    }
    auto object = arn::GenericObject::Create(in.Flag() ? "Tab" : "Button");
    const size_t count = in.Pick(4);
    for (size_t i = 0; i < count; ++i) {
        const std::string_view name = kProperties[in.Pick(std::size(kProperties))];
        object->Define(std::string(name), Plausible(name, MakeValue(in, depth + 1)));
    }
    return object;
}

arn::Variant MakeValue(FuzzInput& in, int depth) {
    switch (in.Pick(7)) {
        case 0:
            return arn::Variant{};
        case 1:
            return in.Flag();
        case 2:
            return static_cast<int32_t>(static_cast<int8_t>(in.Byte()));
        case 3:
            return in.Double();
        case 4:
            return depth > 2 ? arn::Variant{} : arn::Variant{MakeObject(in, depth)};
    }
    return MakeText(in);
}

std::shared_ptr<arn::GenericControl> MakeControl(FuzzInput& in, size_t n) {
    const std::string type = in.Pick(16) == 0 ? in.Text(12) : kTypes[in.Pick(std::size(kTypes))];
    auto control = arn::GenericControl::Create(type, "c" + std::to_string(n));
    const size_t count = in.Pick(6);
    for (size_t i = 0; i < count; ++i) {
        const std::string name = kProperties[in.Pick(std::size(kProperties))];
        switch (in.Pick(4)) {
            case 0:
                control->Withhold(name);  // reading it fails
                break;
            case 1: {
                std::vector<arn::Variant> values;
                const size_t length = in.Pick(4);
                for (size_t k = 0; k < length; ++k) {
                    values.push_back(MakeValue(in, 1));
                }
                control->DefineIndexed(name, std::move(values));
                break;
            }
            default:
                control->Define(name, Plausible(name, MakeValue(in, 0)));
        }
    }
    return control;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    std::vector<std::shared_ptr<arn::Control>> controls;
    const size_t count = 1 + in.Pick(8);
    for (size_t i = 0; i < count; ++i) {
        auto control = MakeControl(in, i);
        // Nesting is the panel's business; a child after its parent is walked like it.
        if (!controls.empty() && in.Flag()) {
            controls.back()->AddChild(control);
        }
        (void)arn::IsUserInputControl(control.get());
        (void)arn::IsPassiveControl(control.get());
        controls.push_back(std::move(control));
    }
    if (in.Flag()) {
        controls.push_back(nullptr);  // a hole in the collection is skipped
    }
    arn::LocalizeControls(controls);
    return 0;
}
