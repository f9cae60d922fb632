#include "host/controls/ParamEditor.h"
#include <algorithm>
#include <exception>
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

#include <algorithm>

#include "host/ParamCatalogue.h"
#include "host/values/NumberText.h"
#include "host/values/Value.h"
#include "toolkit/ReportText.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kParameter = "Parameter";
constexpr std::string_view kUserDescription = "UserDescription";
constexpr std::string_view kUserUnit = "UserUnit";
constexpr std::string_view kText = "Text";
constexpr std::string_view kEditorWidth = "EditorWidth";
constexpr std::string_view kEditorPosition = "EditorPosition";
constexpr std::string_view kPresetStyle = "PresetStyle";
constexpr std::string_view kActive = "Active";

}  // namespace

ParamEditor::ParamEditor(std::string name, int16_t index)
    : Control("ParamEditor", std::move(name), index) {
    put_BackColor(ColorWhite);
}

ParamEditor::~ParamEditor() = default;

void ParamEditor::put_Parameter(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kParameter);
    }
    Change(m_parameter, v, kParameter);
}

void ParamEditor::putref_ParamObject(std::shared_ptr<Value> v) {
    if (v == m_paramObject) {
        return;
    }
    m_valueChanged.disconnect();
    m_paramObject = std::move(v);
    if (m_paramObject) {
        // The editor lives on the surface longer than any binding, and drops the connection
        // when rebound or destroyed, so the raw this stays valid for every call.
        m_valueChanged = m_paramObject->ContentChanged.connect(
            [this](const std::shared_ptr<Value>&) { Changed("Value"); });
    }
    Changed("ParamObject");
}

bool ParamEditor::TakesFocus() const {
    return m_paramObject && m_active && Control::TakesFocus();
}

std::optional<Rect> ParamEditor::EditorRect() const {
    if (!m_paramObject || !m_active) {
        return std::nullopt;
    }
    return EditBoxWithin(SurfaceRect());
}

void ParamEditor::put_UserDescription(std::string v) {
    Change(m_userDescription, std::move(v), kUserDescription);
}
void ParamEditor::put_UserUnit(std::string v) {
    Change(m_userUnit, std::move(v), kUserUnit);
}
void ParamEditor::put_Text(std::string v) {
    Change(m_text, std::move(v), kText);
}

void ParamEditor::put_EditorWidth(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kEditorWidth);
    }
    Change(m_editorWidth, v, kEditorWidth);
}

void ParamEditor::put_EditorPosition(int16_t v) {
    Change(m_editorPosition, v, kEditorPosition);
}
void ParamEditor::put_PresetStyle(int16_t v) {
    Change(m_presetStyle, v, kPresetStyle);
}
void ParamEditor::put_Active(bool v) {
    Change(m_active, v, kActive);
}

std::string ParamEditor::DisplayText() const {
    if (!m_paramObject) {
        return m_text;
    }
    return PlainNumber(m_paramObject->get_NumberValue()->GetDouble());
}

std::string ParamEditor::UnitsText() const {
    if (!m_userUnit.empty() || !m_paramObject) {
        return m_userUnit;
    }
    std::string quantity;
    std::string units;
    try {
        m_paramObject->get_UnitsInfo()->GetUnitsText(quantity, units);
    } catch (const std::exception&) {
        return {};
    }
    return units;
}

EntryRule ParamEditor::Rule() const {
    const int32_t number =
        m_parameter != 0 || !m_paramObject ? m_parameter : m_paramObject->get_ParamNumber();
    return EntryRule::For(number, UserCaption(), UnitsText());
}

EntryCheck ParamEditor::CheckEntry(std::string_view text) const {
    return Rule().Check(text);
}

std::string ParamEditor::UserCaption() const {
    if (!m_userDescription.empty()) {
        return m_userDescription;
    }
    if (m_paramObject && !m_paramObject->get_Name().empty()) {
        return m_paramObject->get_Name();
    }
    if (const ParamInfo* info = FindParamInfo(m_parameter)) {
        return info->name;
    }
    return Control::UserCaption();
}

std::string ParamEditor::ToolTip() const {
    if (!get_ToolTipText().empty() || m_parameter == 0) {
        return get_ToolTipText();
    }
    return Rule().Describe();
}

void ParamEditor::UserEnter(double v) {
    if (!m_paramObject || !m_active || !IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    auto value = m_paramObject;
    value->get_NumberValue()->SetDouble(v);
}

void ParamEditor::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Text;
    element.name = DisplayText();
    element.enabled = element.enabled && m_active;
}

std::string ParamEditor::ReportDetails() const {
    return " param=" + std::to_string(m_parameter) + " value=\"" + DisplayText() + "\" unit=\"" +
           m_userUnit + "\" bound=" + report::YesNo(m_paramObject != nullptr);
}

const MemberTable& ParamEditor::Members() const {
    static const MemberTable table{
        CommonProperties(),
        {
            Prop(kParameter, &ParamEditor::get_Parameter, &ParamEditor::put_Parameter),
            Prop(kUserDescription, &ParamEditor::get_UserDescription,
                 &ParamEditor::put_UserDescription),
            Prop(kUserUnit, &ParamEditor::get_UserUnit, &ParamEditor::put_UserUnit),
            Prop(kText, &ParamEditor::get_Text, &ParamEditor::put_Text),
            Prop(kEditorWidth, &ParamEditor::get_EditorWidth, &ParamEditor::put_EditorWidth),
            Prop(kEditorPosition, &ParamEditor::get_EditorPosition,
                 &ParamEditor::put_EditorPosition),
            Prop(kPresetStyle, &ParamEditor::get_PresetStyle, &ParamEditor::put_PresetStyle),
            Prop(kActive, &ParamEditor::get_Active, &ParamEditor::put_Active),
        }};
    return table;
}

Rect ParamEditor::EditBoxWithin(const Rect& box) const {
    const int32_t width =
        std::clamp(m_editorWidth, std::min(EditBoxMinWidth, box.width), box.width);
    const int32_t height = std::min(box.height, EditBoxMaxHeight);
    return {box.Right() - width, box.top + (box.height - height) / 2, width, height};
}

void ParamEditor::Draw(DisplayList& out, const DrawContext& ctx) const {
    using style::Px;
    const Rect& box = ctx.box;
    const Rect edit = EditBoxWithin(box);
    const bool live = get_Enabled() && m_active;
    const Color text = live ? style::WindowText : style::GrayText;

    // The caption: the editor's own description, else the bound parameter's name.
    std::string description = m_userDescription;
    if (description.empty() && m_paramObject) {
        description = m_paramObject->get_Name();
    }
    if (!description.empty() && edit.left - box.left > 12 * Px) {
        out.Add(TextOp{{box.left, box.top, edit.left - box.left - 4 * Px, box.height},
                       description,
                       HostControlFont,
                       text,
                       HAlign::Left,
                       VAlign::Center});
    }

    style::SunkenEdge(out, edit, live ? style::Highlight : style::DisabledFill, ctx.pixel);
    out.Stroke(edit.Adjusted(-ctx.pixel, -ctx.pixel),
               Pen{live ? style::DarkShadow : style::Shadow});
    // A value that cannot be read shows as unknown; the next change repaints it.
    std::string shown(1, '?');
    try {
        shown = DisplayText();
    } catch (const std::exception&) {
    }
    if (const std::string units = UnitsText(); !units.empty()) {
        shown.append(1, ' ').append(units);
    }
    out.Add(TextOp{{edit.left + 4 * Px, edit.top, edit.width - 9 * Px, edit.height},
                   shown,
                   HostControlFont,
                   text,
                   HAlign::Right,
                   VAlign::Center});
}

}  // namespace arn
