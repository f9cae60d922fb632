#include "toolkit/CommandButton.h"
#include "toolkit/ButtonFace.h"

namespace arn {

CommandButton::CommandButton(std::string name, int16_t index)
    : CaptionedControl("CommandButton", std::move(name), index) {}

void CommandButton::UserClick() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    Click();
}

void CommandButton::DescribeAccessible(AccessibleElement& element) const {
    element.MakePushButton(get_Caption());
}

const MemberTable& CommandButton::Members() const {
    return CaptionedProperties();
}

void CommandButton::Draw(DisplayList& out, const DrawContext& ctx) const {
    DrawButtonFace(out, ctx, Color::FromBgr(get_BackColor()), nullptr, get_Caption(), CaptionFont(),
                   CaptionColor());
}

}  // namespace arn
