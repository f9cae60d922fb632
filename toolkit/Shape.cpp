#include "toolkit/Shape.h"
#include "core/ErrorCatalogue.h"

namespace arn {

Shape::Shape(std::string name, int16_t index) : Control("Shape", std::move(name), index) {}

void Shape::put_Shape(int16_t v) {
    if (v < Rectangle || v > RoundedSquare) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Shape");
    }
    Change(m_shape, v, "Shape");
}

void Shape::put_BorderColor(int32_t v) {
    Change(m_borderColor, v, "BorderColor");
}

void Shape::put_BorderWidth(int16_t v) {
    if (v < 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "BorderWidth");
    }
    Change(m_borderWidth, v, "BorderWidth");
}

void Shape::put_BackStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "BackStyle");
    }
    Change(m_backStyle, v, "BackStyle");
}

const PropertyTable& Shape::Properties() const {
    static const PropertyTable table{
        CommonProperties().Without({"ToolTipText", "Enabled"}),
        {
            Prop("Shape", &Shape::get_Shape, &Shape::put_Shape),
            Prop("BorderColor", &Shape::get_BorderColor, &Shape::put_BorderColor),
            Prop("BorderWidth", &Shape::get_BorderWidth, &Shape::put_BorderWidth),
            Prop("BackStyle", &Shape::get_BackStyle, &Shape::put_BackStyle),
        }};
    return table;
}

}  // namespace arn
