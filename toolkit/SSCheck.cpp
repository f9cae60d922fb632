#include "toolkit/SSCheck.h"

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

}  // namespace arn
