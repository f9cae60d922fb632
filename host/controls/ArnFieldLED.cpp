#include "host/controls/ArnFieldLED.h"
#include <exception>
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>

#include "host/values/Field.h"
#include "toolkit/ReportText.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kfieldkey = "fieldkey";
constexpr std::string_view kLEDOnColor = "LEDOnColor";
constexpr std::string_view kLEDOffColor = "LEDOffColor";

}  // namespace

ArnFieldLED::ArnFieldLED(std::string name, int16_t index)
    : Control("ArnFieldLED", std::move(name), index) {}

ArnFieldLED::~ArnFieldLED() = default;

void ArnFieldLED::put_fieldkey(std::string v) {
    Change(m_fieldkey, std::move(v), kfieldkey);
}

void ArnFieldLED::putref_LEDField(std::shared_ptr<Field> field) {
    if (field == m_field) {
        return;
    }
    m_updateView.disconnect();
    m_field = std::move(field);
    if (m_field) {
        // The connection is dropped on rebinding and with the LED, so this stays valid.
        m_updateView =
            m_field->UpdateView.connect([this](const std::shared_ptr<Field>&) { Changed("Lit"); });
    }
    Changed("LEDField");
}

void ArnFieldLED::put_LEDOnColor(int32_t v) {
    Change(m_onColor, v, kLEDOnColor);
}
void ArnFieldLED::put_LEDOffColor(int32_t v) {
    Change(m_offColor, v, kLEDOffColor);
}

bool ArnFieldLED::IsLit() const {
    return m_field && m_field->get_Value() != 0;
}

void ArnFieldLED::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Indicator;
    element.checked = IsLit();
}

std::string ArnFieldLED::ReportDetails() const {
    return " field=\"" + m_fieldkey +
           "\" bound=" + (m_field ? "\"" + m_field->get_Name() + "\"" : std::string("none")) +
           " lit=" + report::YesNo(IsLit()) + " on=" + report::Colour(m_onColor) +
           " off=" + report::Colour(m_offColor) + " shows=" + report::Colour(CurrentColor());
}

std::string ArnFieldLED::ToolTip() const {
    if (!get_ToolTipText().empty()) {
        return get_ToolTipText();
    }
    if (!m_field) {
        return UserCaption() + ": bound to no field, so it stays dark";
    }
    const std::string description = m_field->get_Description();
    std::string state = "cannot be read";
    try {
        state = IsLit() ? "is on" : "is off";
    } catch (const std::exception&) {
    }
    return UserCaption() + ": field " + m_field->get_Name() +
           (description.empty() ? "" : " (" + description + ")") + " " + state;
}

const MemberTable& ArnFieldLED::Members() const {
    static const MemberTable table{
        CommonProperties(),
        {
            Prop(kfieldkey, &ArnFieldLED::get_fieldkey, &ArnFieldLED::put_fieldkey),
            Prop(kLEDOnColor, &ArnFieldLED::get_LEDOnColor, &ArnFieldLED::put_LEDOnColor),
            Prop(kLEDOffColor, &ArnFieldLED::get_LEDOffColor, &ArnFieldLED::put_LEDOffColor),
        }};
    return table;
}

bool ArnFieldLED::ShowsLit() const {
    try {
        return IsLit();
    } catch (const std::exception&) {
        return false;
    }
}

void ArnFieldLED::Draw(DisplayList& out, const DrawContext& ctx) const {
    const bool lit = ShowsLit();
    style::Led(out, ctx.box, Color::FromBgr(lit ? m_onColor : m_offColor), lit);
}

}  // namespace arn
