#include "host/controls/ParamEditor.h"
#include "core/ErrorCatalogue.h"

#include <charconv>

#include "host/values/Value.h"

namespace arn {

ParamEditor::ParamEditor(std::string name, int16_t index)
    : Control("ParamEditor", std::move(name), index) {
    put_BackColor(ColorWhite);
}

ParamEditor::~ParamEditor() = default;

void ParamEditor::put_Parameter(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Parameter");
    }
    Change(m_parameter, v, "Parameter");
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

void ParamEditor::put_UserDescription(std::string v) {
    Change(m_userDescription, std::move(v), "UserDescription");
}
void ParamEditor::put_UserUnit(std::string v) {
    Change(m_userUnit, std::move(v), "UserUnit");
}
void ParamEditor::put_Text(std::string v) {
    Change(m_text, std::move(v), "Text");
}

void ParamEditor::put_EditorWidth(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "EditorWidth");
    }
    Change(m_editorWidth, v, "EditorWidth");
}

void ParamEditor::put_EditorPosition(int16_t v) {
    Change(m_editorPosition, v, "EditorPosition");
}
void ParamEditor::put_PresetStyle(int16_t v) {
    Change(m_presetStyle, v, "PresetStyle");
}
void ParamEditor::put_Active(bool v) {
    Change(m_active, v, "Active");
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
            Prop("Parameter", &ParamEditor::get_Parameter, &ParamEditor::put_Parameter),
            Prop("UserDescription", &ParamEditor::get_UserDescription,
                 &ParamEditor::put_UserDescription),
            Prop("UserUnit", &ParamEditor::get_UserUnit, &ParamEditor::put_UserUnit),
            Prop("Text", &ParamEditor::get_Text, &ParamEditor::put_Text),
            Prop("EditorWidth", &ParamEditor::get_EditorWidth, &ParamEditor::put_EditorWidth),
            Prop("EditorPosition", &ParamEditor::get_EditorPosition,
                 &ParamEditor::put_EditorPosition),
            Prop("PresetStyle", &ParamEditor::get_PresetStyle, &ParamEditor::put_PresetStyle),
            Prop("Active", &ParamEditor::get_Active, &ParamEditor::put_Active),
        }};
    return table;
}

}  // namespace arn
