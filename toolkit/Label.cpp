#include "toolkit/Label.h"
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kAlignment = "Alignment";
constexpr std::string_view kBackStyle = "BackStyle";
constexpr std::string_view kWordWrap = "WordWrap";

}  // namespace

Label::Label(std::string name, int16_t index) : CaptionedControl("Label", std::move(name), index) {}

void Label::put_Alignment(int16_t v) {
    if (v < LeftJustify || v > Center) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kAlignment);
    }
    Change(m_alignment, v, kAlignment);
}

void Label::put_BackStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kBackStyle);
    }
    Change(m_backStyle, v, kBackStyle);
}

void Label::put_WordWrap(bool v) {
    Change(m_wordWrap, v, kWordWrap);
}

void Label::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::StaticText;
    element.name = get_Caption();
}

const MemberTable& Label::Members() const {
    static const MemberTable table{
        CaptionedProperties(),
        {
            Prop(kAlignment, &Label::get_Alignment, &Label::put_Alignment),
            Prop(kBackStyle, &Label::get_BackStyle, &Label::put_BackStyle),
            Prop(kWordWrap, &Label::get_WordWrap, &Label::put_WordWrap),
        }};
    return table;
}

void Label::Draw(DisplayList& out, const DrawContext& ctx) const {
    if (get_BackStyle() != 0) {
        out.Fill(ctx.box, Color::FromBgr(get_BackColor()));
    }
    HAlign horizontal = HAlign::Left;
    if (get_Alignment() == RightJustify) {
        horizontal = HAlign::Right;
    } else if (get_Alignment() == Center) {
        horizontal = HAlign::Center;
    }
    const bool wrap = get_WordWrap();
    out.Add(TextOp{ctx.box.Adjusted(-style::Px, 0), get_Caption(), CaptionFont(), CaptionColor(),
                   horizontal, wrap ? VAlign::Top : VAlign::Center, wrap});
}

}  // namespace arn
