#include "support/ControlUtils.h"

#include <algorithm>
#include <initializer_list>

#include "core/Dispatch.h"
#include "core/Variant.h"
#include "platform/StringTable.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/UserControl.h"

namespace arn {

namespace {

constexpr int32_t kYellow = 0xFFFF;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when text starts with a colon, digits digits and a colon.
bool StartsWithPlaceholder(std::string_view text, size_t digits) {
    if (text.size() < digits + 2 || text[0] != ':' || text[digits + 1] != ':') {
        return false;
    }
    return std::all_of(text.begin() + 1, text.begin() + 1 + static_cast<ptrdiff_t>(digits),
                       IsDigit);
}

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Each read-modify-write below is one step of the walk: whatever fails in it (a property the
// object lacks, a value that will not convert, a read-only property) is skipped.
template <class Step>
void Try(Step&& step) {
    try {
        step();
    } catch (...) {
    }
}

void LocalizeProperty(Dispatch& obj, std::string_view name) {
    Try([&] { obj.SetProperty(name, ResCaption(VariantToString(obj.GetProperty(name)))); });
}

void LocalizeProperties(Dispatch& obj, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        LocalizeProperty(obj, name);
    }
}

// The elements of a collection property; none when it cannot be read.
std::vector<std::shared_ptr<Dispatch>> CollectionOf(const Dispatch& obj, std::string_view name) {
    std::vector<std::shared_ptr<Dispatch>> elements;
    Try([&] {
        if (auto collection = VariantToObject(obj.GetProperty(name))) {
            elements = collection->Elements();
        }
    });
    return elements;
}

void LocalizeElements(const Dispatch& obj, std::string_view collection) {
    for (const auto& element : CollectionOf(obj, collection)) {
        if (element) {
            LocalizeProperties(*element, {"Caption", "ToolTipText"});
        }
    }
}

// A tab strip shows a tab's words one per line: the resolved text split at every blank and
// joined with line feeds, empty words included except at the very start.
std::string OneWordPerLine(std::string_view text) {
    const std::string resolved = ResCaption(text);
    std::string lines;
    size_t start = 0;
    while (true) {
        const size_t blank = resolved.find(' ', start);
        const std::string_view word = std::string_view(resolved).substr(
            start, blank == std::string::npos ? blank : blank - start);
        if (!lines.empty()) {
            lines.push_back('\n');
        }
        lines.append(word);
        if (blank == std::string::npos) {
            break;
        }
        start = blank + 1;
    }
    return lines;
}

void LocalizeSSTab(Dispatch& tabs) {
    int32_t count = 0;
    Try([&] { count = VariantToLong(tabs.GetProperty("Tabs")); });
    for (int32_t i = 0; i < count; ++i) {
        Try([&] {
            tabs.SetProperty("TabCaption", i,
                             ResCaption(VariantToString(tabs.GetProperty("TabCaption", i))));
        });
    }
}

void LocalizeSftTabs(Dispatch& tabs) {
    int32_t count = 0;
    Try([&] {
        if (auto collection = VariantToObject(tabs.GetProperty("Tabs"))) {
            count = VariantToLong(collection->GetProperty("Count"));
        }
    });
    for (int32_t i = 0; i < count; ++i) {
        Try([&] {
            auto tab = VariantToObject(tabs.GetProperty("Tab", i));
            if (tab) {
                tab->SetProperty("Text", OneWordPerLine(VariantToString(tab->GetProperty("Text"))));
            }
        });
    }
}

}  // namespace

std::string ResCaption(std::string_view text) {
    size_t digits = 0;
    if (StartsWithPlaceholder(text, 4)) {
        digits = 4;
    } else if (StartsWithPlaceholder(text, 5)) {
        digits = 5;
    } else {
        return std::string(text);
    }
    int32_t id = 0;
    for (char c : text.substr(1, digits)) {
        id = id * 10 + (c - '0');
    }
    if (auto entry = LoadResString(id)) {
        return std::move(*entry);
    }
    return std::string(text);
}

void LocalizeControl(Dispatch& control) {
    std::string type;
    try {
        type = control.TypeName();
    } catch (...) {
        return;
    }
    if (type == "Menu") {
        LocalizeProperties(control, {"Caption"});
    } else if (OneOf(type, {"Label", "Frame", "CommandButton", "SSFrame", "CheckBox",
                            "OptionButton", "RadioEditor", "LEDcontrol", "SSPanel", "Form",
                            "ParamRadioEditor", "SSCommand"})) {
        LocalizeProperties(control, {"Caption", "ToolTipText"});
    } else if (type == "PictureBox") {
        LocalizeProperties(control, {"ToolTipText"});
    } else if (type == "ParamRadioGrpEditor") {
        LocalizeProperties(control, {"Caption", "BitCaptions", "ToolTipText"});
    } else if (OneOf(type, {"OutputIO", "DisplayBoxCtl", "ARProgressBar"})) {
        LocalizeProperties(control, {"Caption", "ToolTipText"});
    } else if (type == "Toolbar") {
        LocalizeElements(control, "Buttons");
    } else if (type == "SmartUI") {
        LocalizeProperties(control, {"Caption", "ToolTipText"});
        LocalizeElements(control, "SmartItems");
    } else if (type == "nTextBox") {
        LocalizeProperties(control, {"Text", "ToolTipText"});
    } else if (type == "ParamEditor") {
        LocalizeProperties(control, {"UserDescription", "UserUnit", "ToolTipText"});
    } else if (type == "SSTab") {
        LocalizeSSTab(control);
    } else if (type == "SftTabs") {
        LocalizeSftTabs(control);
    } else if (type == "NTGraph") {
        LocalizeProperties(control, {"ToolTipText"});
    } else if (type == "CommonDialog") {
        LocalizeProperties(control, {"Filter", "DialogTitle"});
    }
    // Timers, image lists, images, pictures, combo boxes, status bars, hooks and every other
    // kind carry no localisable text.
}

void LocalizeControls(const std::vector<std::shared_ptr<Control>>& controls) {
    for (const auto& control : controls) {
        if (control) {
            LocalizeControl(*control);
        }
    }
}

void LocalizeControls(const std::vector<std::shared_ptr<Dispatch>>& controls) {
    for (const auto& control : controls) {
        if (control) {
            LocalizeControl(*control);
        }
    }
}

void LocalizeControls(const UserControl& surface) {
    LocalizeControls(surface.Controls());
}

void LocalizeControls(Form& form, const std::vector<std::shared_ptr<Control>>& controls) {
    LocalizeProperty(form, "Caption");
    LocalizeControls(controls);
}

bool IsUserInputControl(const Dispatch* control) {
    if (control == nullptr) {
        return false;
    }
    try {
        return OneOf(control->TypeName(),
                     {"nTextBox", "CommandButton", "OptionButton", "CheckBox", "SSCheck",
                      "SSOption", "SSCommand", "TextBox", "ComboBox", "ParamEditor", "RadioEditor",
                      "ParamRadioEditor", "ParamRadioGrpEditor", "OutputIO", "FieldRadioGrpEditor",
                      "FieldEditor", "ArnFieldEditor"});
    } catch (...) {
        return false;
    }
}

bool IsPassiveControl(const Dispatch* control) {
    if (control == nullptr) {
        return false;
    }
    try {
        return OneOf(control->TypeName(), {"Timer", "Line", "Shape", "ARProgressBar"});
    } catch (...) {
        return false;
    }
}

void ShowMessageLabel(CaptionedControl& label, const std::string& message) {
    label.put_BackColor(kYellow);
    label.put_Visible(!message.empty());
    label.put_Caption(message);
}

}  // namespace arn
