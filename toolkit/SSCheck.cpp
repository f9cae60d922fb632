#include "toolkit/SSCheck.h"
#include <algorithm>
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>

#include "toolkit/Picture.h"
#include "toolkit/ReportText.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kCheckValue = "CheckValue";
constexpr std::string_view kCheckPicture = "CheckPicture";

}  // namespace

SSCheck::SSCheck(std::string name, int16_t index)
    : CaptionedControl("SSCheck", std::move(name), index) {}

void SSCheck::put_CheckValue(bool v) {
    auto keep = KeepAlive();
    if (Change(m_checkValue, v, kCheckValue)) {
        Click(static_cast<int16_t>(v ? 1 : 0));
    }
}

void SSCheck::putref_CheckPicture(std::shared_ptr<Picture> p) {
    Change(m_checkPicture, std::move(p), kCheckPicture);
}

void SSCheck::UserClick() {
    if (!IsUsable()) {
        return;
    }
    put_CheckValue(!m_checkValue);
}

void SSCheck::DescribeAccessible(AccessibleElement& element) const {
    element.MakeCheckButton(get_Caption(), m_checkValue, false);
}

std::string SSCheck::ReportDetails() const {
    return CaptionedControl::ReportDetails() +
           " value=" + (m_checkValue ? "checked" : "unchecked") +
           " picture=" + report::PictureHandle(m_checkPicture);
}

const MemberTable& SSCheck::Members() const {
    static const MemberTable table{
        CaptionedProperties(),
        {
            Prop(kCheckValue, &SSCheck::get_CheckValue, &SSCheck::put_CheckValue),
            Prop(kCheckPicture, &SSCheck::get_CheckPicture, &SSCheck::putref_CheckPicture),
        }};
    return table;
}

void SSCheck::Draw(DisplayList& out, const DrawContext& ctx) const {
    using style::Px;
    const Rect& box = ctx.box;
    out.Fill(box, Color::FromBgr(get_BackColor()));
    const int32_t side = std::min(box.height, 20 * Px);
    const Rect square{box.left, box.top + (box.height - side) / 2, side, side};
    const bool enabled = get_Enabled();
    if (const auto picture = get_CheckPicture()) {
        out.Add(PictureAt(picture, square, true));
    } else {
        // Without a picture the box draws itself in the plain style.
        const Rect inner = square.Adjusted(-2 * Px, -2 * Px);
        style::SunkenEdge(out, inner, enabled ? style::Highlight : style::DisabledFill, ctx.pixel);
        if (get_CheckValue()) {
            const Pen cross{enabled ? style::WindowText : style::GrayText, Px * 18 / 10};
            const Rect r = inner.Adjusted(-3 * Px, -3 * Px);
            out.Line(r.TopLeft(), {r.Right(), r.Bottom()}, cross);
            out.Line({r.left, r.Bottom()}, {r.Right(), r.top}, cross);
        }
    }
    if (ctx.pressed) {
        out.Stroke(square, Pen{style::Focus, Px, LineStyle::Dot});
    }
    const std::string caption = get_Caption();
    if (!caption.empty()) {
        out.Add(TextOp{
            {square.Right() + 4 * Px, box.top, box.Right() - square.Right() - 4 * Px, box.height},
            caption,
            CaptionFont(),
            CaptionColor(),
            HAlign::Left,
            VAlign::Center});
    }
}

}  // namespace arn
