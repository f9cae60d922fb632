#include "toolkit/SSCommand.h"
#include "toolkit/ButtonFace.h"

#include <string_view>

#include "toolkit/Picture.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kPicture = "Picture";

}  // namespace

SSCommand::SSCommand(std::string name, int16_t index)
    : CaptionedControl("SSCommand", std::move(name), index) {}

void SSCommand::putref_Picture(std::shared_ptr<Picture> p) {
    Change(m_picture, std::move(p), kPicture);
}

void SSCommand::UserClick() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    Click();
}

void SSCommand::DescribeAccessible(AccessibleElement& element) const {
    element.MakePushButton(get_Caption());
}

const MemberTable& SSCommand::Members() const {
    static const MemberTable table{
        CaptionedProperties(),
        {
            Prop(kPicture, &SSCommand::get_Picture, &SSCommand::putref_Picture),
        }};
    return table;
}

void SSCommand::Draw(DisplayList& out, const DrawContext& ctx) const {
    DrawButtonFace(out, ctx, Color::FromBgr(get_BackColor()), m_picture, get_Caption(),
                   CaptionFont(), CaptionColor());
}

}  // namespace arn
