#include "toolkit/Shape.h"
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
constexpr std::string_view kShape = "Shape";
constexpr std::string_view kBorderColor = "BorderColor";
constexpr std::string_view kBorderWidth = "BorderWidth";
constexpr std::string_view kBackStyle = "BackStyle";

}  // namespace

Shape::Shape(std::string name, int16_t index) : Control("Shape", std::move(name), index) {}

void Shape::put_Shape(int16_t v) {
    if (v < Rectangle || v > RoundedSquare) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kShape);
    }
    Change(m_shape, v, kShape);
}

void Shape::put_BorderColor(int32_t v) {
    Change(m_borderColor, v, kBorderColor);
}

void Shape::put_BorderWidth(int16_t v) {
    if (v < 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kBorderWidth);
    }
    Change(m_borderWidth, v, kBorderWidth);
}

void Shape::put_BackStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kBackStyle);
    }
    Change(m_backStyle, v, kBackStyle);
}

void Shape::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Graphic;
}

const MemberTable& Shape::Members() const {
    static const MemberTable table{
        CommonProperties().Without({"ToolTipText", "Enabled"}),
        {
            Prop(kShape, &Shape::get_Shape, &Shape::put_Shape),
            Prop(kBorderColor, &Shape::get_BorderColor, &Shape::put_BorderColor),
            Prop(kBorderWidth, &Shape::get_BorderWidth, &Shape::put_BorderWidth),
            Prop(kBackStyle, &Shape::get_BackStyle, &Shape::put_BackStyle),
        }};
    return table;
}

void Shape::Draw(DisplayList& out, const DrawContext& ctx) const {
    const Pen pen{Color::FromBgr(get_BorderColor()), get_BorderWidth() * style::Px};
    const Color fill = get_BackStyle() != 0 ? Color::FromBgr(get_BackColor()) : NoFill;
    const int16_t kind = get_Shape();
    const bool square = kind == Square || kind == Circle || kind == RoundedSquare;
    const Rect r = square ? style::CentredSquare(ctx.box) : ctx.box;
    switch (kind) {
        case Oval:
        case Circle:
            out.Add(EllipseOp{r, fill, pen});
            break;
        case RoundedRectangle:
        case RoundedSquare:
            out.Add(RoundedRectOp{r, std::min(r.width, r.height) / 6, fill, pen});
            break;
        default:
            out.Add(RoundedRectOp{r, 0, fill, pen});
            break;
    }
}

}  // namespace arn
