#include "toolkit/Line.h"
#include "core/ErrorCatalogue.h"

namespace arn {

Line::Line(std::string name, int16_t index) : Control("Line", std::move(name), index) {}

void Line::put_X1(int32_t v) {
    Change(m_x1, v, "X1");
}
void Line::put_Y1(int32_t v) {
    Change(m_y1, v, "Y1");
}
void Line::put_X2(int32_t v) {
    Change(m_x2, v, "X2");
}
void Line::put_Y2(int32_t v) {
    Change(m_y2, v, "Y2");
}

void Line::SetPoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    put_X1(x1);
    put_Y1(y1);
    put_X2(x2);
    put_Y2(y2);
}

void Line::put_BorderColor(int32_t v) {
    Change(m_borderColor, v, "BorderColor");
}

void Line::put_BorderWidth(int16_t v) {
    if (v < 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "BorderWidth");
    }
    Change(m_borderWidth, v, "BorderWidth");
}

const PropertyTable& Line::Properties() const {
    static const PropertyTable table{
        CommonProperties().Without(
            {"ToolTipText", "Enabled", "Left", "Top", "Width", "Height", "BackColor"}),
        {
            Prop("X1", &Line::get_X1, &Line::put_X1),
            Prop("Y1", &Line::get_Y1, &Line::put_Y1),
            Prop("X2", &Line::get_X2, &Line::put_X2),
            Prop("Y2", &Line::get_Y2, &Line::put_Y2),
            Prop("BorderColor", &Line::get_BorderColor, &Line::put_BorderColor),
            Prop("BorderWidth", &Line::get_BorderWidth, &Line::put_BorderWidth),
        }};
    return table;
}

}  // namespace arn
