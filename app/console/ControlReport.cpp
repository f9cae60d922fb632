#include "app/console/ControlReport.h"

#include <cstdio>

#include "host/controls/ArnFieldLED.h"
#include "host/controls/ParamEditor.h"
#include "host/values/Field.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Image.h"
#include "toolkit/Line.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureBox.h"
#include "toolkit/SSCheck.h"

namespace arn {

namespace {

constexpr int kIndentPerLevel = 2;
constexpr int kNameColumn = 22;
constexpr int kKindColumn = 20;

const char* YesNo(bool v) {
    return v ? "yes" : "no";
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string Colour(int32_t bgr) {
    char text[16];
    std::snprintf(text, sizeof text, "&H%06X", static_cast<unsigned>(bgr) & 0xFFFFFFu);
    return text;
}

std::string PictureOf(const std::shared_ptr<Picture>& picture) {
    return picture ? std::to_string(picture->get_Handle()) : "none";
}

const char* CheckValueText(int16_t value) {
    switch (value) {
        case CheckBox::Unchecked:
            return "unchecked";
        case CheckBox::Checked:
            return "checked";
        case CheckBox::Grayed:
            return "grayed";
        default:
            return "other";
    }
}

// What the control's kind shows beyond the common properties.
std::string KindDetails(const Control& ctl) {
    if (const auto* box = dynamic_cast<const CheckBox*>(&ctl)) {
        return std::string(" value=") + CheckValueText(box->get_Value());
    }
    if (const auto* check = dynamic_cast<const SSCheck*>(&ctl)) {
        return std::string(" value=") + (check->get_CheckValue() ? "checked" : "unchecked") +
               " picture=" + PictureOf(check->get_CheckPicture());
    }
    if (const auto* image = dynamic_cast<const Image*>(&ctl)) {
        return " picture=" + PictureOf(image->get_Picture());
    }
    if (const auto* box = dynamic_cast<const PictureBox*>(&ctl)) {
        return " picture=" + PictureOf(box->get_Picture());
    }
    if (const auto* led = dynamic_cast<const ArnFieldLED*>(&ctl)) {
        const auto field = led->get_LEDField();
        return " field=\"" + led->get_fieldkey() +
               "\" bound=" + (field ? "\"" + field->get_Name() + "\"" : std::string("none")) +
               " lit=" + YesNo(led->IsLit()) + " on=" + Colour(led->get_LEDOnColor()) +
               " off=" + Colour(led->get_LEDOffColor()) + " shows=" + Colour(led->CurrentColor());
    }
    if (const auto* line = dynamic_cast<const arn::Line*>(&ctl)) {
        return " from=" + std::to_string(line->get_X1()) + "," + std::to_string(line->get_Y1()) +
               " to=" + std::to_string(line->get_X2()) + "," + std::to_string(line->get_Y2());
    }
    if (const auto* editor = dynamic_cast<const ParamEditor*>(&ctl)) {
        return " param=" + std::to_string(editor->get_Parameter()) + " value=\"" +
               editor->DisplayText() + "\" unit=\"" + editor->get_UserUnit() +
               "\" bound=" + YesNo(editor->get_ParamObject() != nullptr);
    }
    return {};
}

}  // namespace

std::string ControlReport::NameOf(const Control& ctl) {
    std::string name = ctl.get_Name();
    if (ctl.get_Index() >= 0) {
        name += "(" + std::to_string(ctl.get_Index()) + ")";
    }
    return name;
}

std::string ControlReport::Line(const Control& ctl) {
    std::string caption;
    if (const auto* captioned = dynamic_cast<const CaptionedControl*>(&ctl)) {
        caption = " \"" + captioned->get_Caption() + "\"";
    }
    std::string line = Padded(NameOf(ctl), kNameColumn) + " " +
                       Padded(ctl.TypeName(), kKindColumn) +
                       " visible=" + Padded(YesNo(ctl.get_Visible()), 3) +
                       " enabled=" + Padded(YesNo(ctl.get_Enabled()), 3) +
                       " at=" + std::to_string(ctl.get_Left()) + "," +
                       std::to_string(ctl.get_Top()) + " size=" + std::to_string(ctl.get_Width()) +
                       "x" + std::to_string(ctl.get_Height()) + caption + KindDetails(ctl);
    if (!ctl.get_ToolTipText().empty()) {
        line += " tooltip=\"" + ctl.get_ToolTipText() + "\"";
    }
    return line;
}

void ControlReport::Print(std::ostream& out, const std::vector<std::shared_ptr<Control>>& top) {
    for (const auto& ctl : top) {
        PrintTree(out, *ctl, 1);
    }
}

void ControlReport::PrintTree(std::ostream& out, const Control& ctl, int depth) {
    out << std::string(static_cast<size_t>(depth * kIndentPerLevel), ' ') << Line(ctl) << "\n";
    for (const auto& child : ctl.Children()) {
        PrintTree(out, *child, depth + 1);
    }
}

}  // namespace arn
