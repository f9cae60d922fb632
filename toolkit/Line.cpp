#include "toolkit/Line.h"
#include <algorithm>
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string>
#include <string_view>
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kX1 = "X1";
constexpr std::string_view kY1 = "Y1";
constexpr std::string_view kX2 = "X2";
constexpr std::string_view kY2 = "Y2";
constexpr std::string_view kBorderColor = "BorderColor";
constexpr std::string_view kBorderWidth = "BorderWidth";

}  // namespace

Line::Line(std::string name, int16_t index) : Control("Line", std::move(name), index) {}

void Line::put_X1(int32_t v) {
    Change(m_x1, v, kX1);
}
void Line::put_Y1(int32_t v) {
    Change(m_y1, v, kY1);
}
void Line::put_X2(int32_t v) {
    Change(m_x2, v, kX2);
}
void Line::put_Y2(int32_t v) {
    Change(m_y2, v, kY2);
}

Rect Line::DrawnBounds() const {
    const int32_t left = std::min(m_x1, m_x2);
    const int32_t top = std::min(m_y1, m_y2);
    const Rect box{left, top, std::max(m_x1, m_x2) - left, std::max(m_y1, m_y2) - top};
    // A horizontal or vertical line has no area of its own; the pen gives it one.
    return box.Adjusted(m_borderWidth * TwipsPerPixelAt96Dpi, m_borderWidth * TwipsPerPixelAt96Dpi);
}

void Line::SetPoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    put_X1(x1);
    put_Y1(y1);
    put_X2(x2);
    put_Y2(y2);
}

void Line::put_BorderColor(int32_t v) {
    Change(m_borderColor, v, kBorderColor);
}

void Line::put_BorderWidth(int16_t v) {
    if (v < 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kBorderWidth);
    }
    Change(m_borderWidth, v, kBorderWidth);
}

void Line::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Graphic;
}

std::string Line::ReportDetails() const {
    return " from=" + std::to_string(m_x1) + "," + std::to_string(m_y1) +
           " to=" + std::to_string(m_x2) + "," + std::to_string(m_y2);
}

const MemberTable& Line::Members() const {
    static const MemberTable table{
        CommonProperties().Without(
            {"ToolTipText", "Enabled", "Left", "Top", "Width", "Height", "BackColor"}),
        {
            Prop(kX1, &Line::get_X1, &Line::put_X1),
            Prop(kY1, &Line::get_Y1, &Line::put_Y1),
            Prop(kX2, &Line::get_X2, &Line::put_X2),
            Prop(kY2, &Line::get_Y2, &Line::put_Y2),
            Prop(kBorderColor, &Line::get_BorderColor, &Line::put_BorderColor),
            Prop(kBorderWidth, &Line::get_BorderWidth, &Line::put_BorderWidth),
        }};
    return table;
}

void Line::Draw(DisplayList& out, const DrawContext& ctx) const {
    const Point o = ctx.origin;
    out.Line(o.Translated(m_x1, m_y1), o.Translated(m_x2, m_y2),
             Pen{Color::FromBgr(m_borderColor), m_borderWidth * style::Px, LineStyle::Solid, true});
}

}  // namespace arn
