#include "toolkit/PictureBox.h"
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

#include "toolkit/Picture.h"
#include "toolkit/ReportText.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kPicture = "Picture";
constexpr std::string_view kBorderStyle = "BorderStyle";

}  // namespace

PictureBox::PictureBox(std::string name, int16_t index)
    : Control("PictureBox", std::move(name), index) {}

void PictureBox::putref_Picture(std::shared_ptr<Picture> p) {
    Change(m_picture, std::move(p), kPicture);
}

void PictureBox::put_BorderStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kBorderStyle);
    }
    Change(m_borderStyle, v, kBorderStyle);
}

void PictureBox::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Grouping;
}

std::string PictureBox::ReportDetails() const {
    return " picture=" + report::PictureHandle(m_picture);
}

const MemberTable& PictureBox::Members() const {
    static const MemberTable table{
        CommonProperties(),
        {
            Prop(kPicture, &PictureBox::get_Picture, &PictureBox::putref_Picture),
            Prop(kBorderStyle, &PictureBox::get_BorderStyle, &PictureBox::put_BorderStyle),
        }};
    return table;
}

void PictureBox::Draw(DisplayList& out, const DrawContext& ctx) const {
    const Color back = Color::FromBgr(get_BackColor());
    if (get_BorderStyle() != 0) {
        style::SunkenEdge(out, ctx.box, back, ctx.pixel);
    } else {
        out.Fill(ctx.box, back);
    }
    if (m_picture) {
        out.Add(PictureAt(m_picture, NaturalSize(*m_picture, ctx.box.TopLeft()), false));
    }
}

}  // namespace arn
