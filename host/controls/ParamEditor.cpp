#include "host/controls/ParamEditor.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

#include <algorithm>
#include <charconv>

#include "host/values/Value.h"

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
    const Point corner = SurfaceRect().TopLeft();
    return EditBoxBounds().Translated(corner.x, corner.y);
}

Rect ParamEditor::EditBoxBounds() const {
    const int32_t width = std::min(std::max(m_editorWidth, EditBoxMinWidth), get_Width());
    const int32_t height = std::min(get_Height(), EditBoxMaxHeight);
    return {get_Width() - width, (get_Height() - height) / 2, width, height};
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
    double d = m_paramObject->get_NumberValue()->GetDouble();
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
    return ec == std::errc() ? std::string(buf, end) : m_text;
}

void ParamEditor::UserEnter(double v) {
    if (!m_paramObject || !m_active || !IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    auto value = m_paramObject;
    value->get_NumberValue()->SetDouble(v);
}

const PropertyTable& ParamEditor::Properties() const {
    static const PropertyTable table{
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

}  // namespace arn
