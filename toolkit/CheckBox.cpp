#include "toolkit/CheckBox.h"
#include <algorithm>
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kValue = "Value";
constexpr std::string_view kAlignment = "Alignment";

}  // namespace

CheckBox::CheckBox(std::string name, int16_t index)
    : CaptionedControl("CheckBox", std::move(name), index) {}

void CheckBox::put_Value(int16_t v) {
    if (v < Unchecked || v > Grayed) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kValue);
    }
    auto keep = KeepAlive();
    if (Change(m_value, v, kValue)) {
        Click();
    }
}

void CheckBox::put_Alignment(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kAlignment);
    }
    Change(m_alignment, v, kAlignment);
}

void CheckBox::UserClick() {
    if (!IsUsable()) {
        return;
    }
    put_Value(m_value == Unchecked ? Checked : Unchecked);
}

void CheckBox::DescribeAccessible(AccessibleElement& element) const {
    element.MakeCheckButton(get_Caption(), m_value == Checked, m_value == Grayed);
}

std::string CheckBox::ReportDetails() const {
    const char* value = "other";
    switch (m_value) {
        case Unchecked:
            value = "unchecked";
            break;
        case Checked:
            value = "checked";
            break;
        case Grayed:
            value = "grayed";
            break;
        default:
            break;
    }
    return CaptionedControl::ReportDetails() + " value=" + value;
}

const MemberTable& CheckBox::Members() const {
    static const MemberTable table{
        CaptionedProperties(),
        {
            Prop(kValue, &CheckBox::get_Value, &CheckBox::put_Value),
            Prop(kAlignment, &CheckBox::get_Alignment, &CheckBox::put_Alignment),
        }};
    return table;
}

void CheckBox::Draw(DisplayList& out, const DrawContext& ctx) const {
    using style::Px;
    const Rect& box = ctx.box;
    out.Fill(box, Color::FromBgr(get_BackColor()));
    const int32_t side = std::min(box.height, 13 * Px);
    const bool boxRight = get_Alignment() == 1;
    const int32_t x = boxRight ? box.Right() - side - Px : box.left + Px;
    const Rect square{x, box.top + (box.height - side) / 2, side, side};
    const bool enabled = get_Enabled();
    style::SunkenEdge(out, square, enabled && !ctx.pressed ? style::Highlight : style::DisabledFill,
                      ctx.pixel);
    out.Stroke(square.Adjusted(-ctx.pixel, -ctx.pixel), Pen{style::DarkShadow});
    if (get_Value() != Unchecked) {
        const Color tick = enabled ? style::WindowText : style::GrayText;
        style::CheckMark(out, square, get_Value() == Grayed ? style::GrayText : tick);
    }
    const std::string caption = get_Caption();
    if (!caption.empty()) {
        const Rect text = boxRight ? Rect{box.left, box.top, x - box.left - 4 * Px, box.height}
                                   : Rect{square.Right() + 5 * Px, box.top,
                                          box.Right() - square.Right() - 5 * Px, box.height};
        out.Add(TextOp{text, caption, CaptionFont(), CaptionColor(),
                       boxRight ? HAlign::Right : HAlign::Left, VAlign::Center});
    }
}

}  // namespace arn
