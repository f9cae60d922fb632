#include "toolkit/CheckBox.h"
#include "core/ErrorCatalogue.h"

namespace arn {

CheckBox::CheckBox(std::string name, int16_t index)
    : CaptionedControl("CheckBox", std::move(name), index) {}

void CheckBox::put_Value(int16_t v) {
    if (v < Unchecked || v > Grayed) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Value");
    }
    auto keep = KeepAlive();
    if (Change(m_value, v, "Value")) {
        Click();
    }
}

void CheckBox::put_Alignment(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Alignment");
    }
    Change(m_alignment, v, "Alignment");
}

void CheckBox::UserClick() {
    if (!IsUsable()) {
        return;
    }
    put_Value(m_value == Unchecked ? Checked : Unchecked);
}

const PropertyTable& CheckBox::Properties() const {
    static const PropertyTable table{
        CaptionedProperties(),
        {
            Prop("Value", &CheckBox::get_Value, &CheckBox::put_Value),
            Prop("Alignment", &CheckBox::get_Alignment, &CheckBox::put_Alignment),
        }};
    return table;
}

}  // namespace arn
