#include "toolkit/CheckBox.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kValue = "Value";
constexpr std::string_view kAlignment = "Alignment";

}  // namespace

CheckBox::CheckBox(std::string name, int16_t index)
    : CaptionedControl("CheckBox", std::move(name), index) {}

void CheckBox::put_Value(int16_t v) {
    if (v < Unchecked || v > Grayed) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kValue);
    }
    auto keep = KeepAlive();
    if (Change(m_value, v, kValue)) {
        Click();
    }
}

void CheckBox::put_Alignment(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kAlignment);
    }
    Change(m_alignment, v, kAlignment);
}

void CheckBox::UserClick() {
    if (!IsUsable()) {
        return;
    }
    put_Value(m_value == Unchecked ? Checked : Unchecked);
}

void CheckBox::DescribeAccessible(AccessibleElement& element) const {
    element.MakeCheckButton(get_Caption(), m_value == Checked, m_value == Grayed);
}

std::string CheckBox::ReportDetails() const {
    const char* value = "other";
    switch (m_value) {
        case Unchecked:
            value = "unchecked";
            break;
        case Checked:
            value = "checked";
            break;
        case Grayed:
            value = "grayed";
            break;
        default:
            break;
    }
    return CaptionedControl::ReportDetails() + " value=" + value;
}

const MemberTable& CheckBox::Members() const {
    static const MemberTable table{
        CaptionedProperties(),
        {
            Prop(kValue, &CheckBox::get_Value, &CheckBox::put_Value),
            Prop(kAlignment, &CheckBox::get_Alignment, &CheckBox::put_Alignment),
        }};
    return table;
}

}  // namespace arn
