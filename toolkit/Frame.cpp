#include "toolkit/Frame.h"
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kBorderStyle = "BorderStyle";

}  // namespace

Frame::Frame(std::string name, int16_t index) : CaptionedControl("Frame", std::move(name), index) {}

void Frame::put_BorderStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kBorderStyle);
    }
    Change(m_borderStyle, v, kBorderStyle);
}

void Frame::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Grouping;
    element.name = get_Caption();
}

const MemberTable& Frame::Members() const {
    static const MemberTable table{
        CaptionedProperties(),
        {
            Prop(kBorderStyle, &Frame::get_BorderStyle, &Frame::put_BorderStyle),
        }};
    return table;
}

void Frame::Draw(DisplayList& out, const DrawContext& ctx) const {
    using style::Px;
    const Rect& box = ctx.box;
    const Color back = Color::FromBgr(get_BackColor());
    out.Fill(box, back);
    const Font font = CaptionFont();
    const int32_t textHeight = ctx.metrics.TextHeight(font);
    // The etched border starts at the middle of the caption, which interrupts it.
    const int32_t top = box.top + textHeight / 2;
    if (get_BorderStyle() != 0) {
        const int32_t pixel = ctx.pixel;
        // Half a pixel in, so that the etch falls on the same pixels at any zoom.
        const Rect etch{box.left + pixel / 2, top + pixel / 2, box.width - pixel,
                        box.Bottom() - top - pixel};
        constexpr int32_t radius = 3 * Px;
        out.Add(RoundedRectOp{etch, radius, NoFill, Pen{style::Shadow}});
        out.Add(
            RoundedRectOp{etch.Translated(pixel, pixel), radius, NoFill, Pen{style::Highlight}});
    }
    const std::string caption = get_Caption();
    if (!caption.empty()) {
        constexpr int32_t pad = 4 * Px;
        const Rect text{box.left + 8 * Px, box.top, ctx.metrics.TextWidth(font, caption) + 2 * pad,
                        textHeight};
        out.Fill(text, back);
        out.Add(TextOp{text, caption, font, CaptionColor(), HAlign::Center, VAlign::Center});
    }
}

}  // namespace arn
