#include "toolkit/Control.h"
#include "core/ErrorCatalogue.h"

namespace arn {

Control::Control(std::string typeName, std::string name, int16_t index)
    : m_typeName(std::move(typeName)), m_name(std::move(name)), m_index(index) {}

Control::~Control() {
    for (const auto& child : m_children) {
        child->m_parent = nullptr;
    }
}

void Control::AddChild(const std::shared_ptr<Control>& child) {
    if (!child || child.get() == this) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Container");
    }
    if (child->m_parent != nullptr) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Container of " + child->get_Name());
    }
    for (const Control* up = this; up != nullptr; up = up->m_parent) {
        if (up == child.get()) {
            throw MakeError(err::InvalidPropertyValue, TypeName(), "Container of " + child->get_Name());
        }
    }
    child->m_parent = this;
    m_children.push_back(child);
}

void Control::Changed(std::string_view property) {
    auto keep = KeepAlive();
    PropertyChanged(property);
}

void Control::put_Visible(bool v) {
    Change(m_visible, v, "Visible");
}
void Control::put_Enabled(bool v) {
    Change(m_enabled, v, "Enabled");
}
void Control::put_ToolTipText(std::string v) {
    Change(m_toolTipText, std::move(v), "ToolTipText");
}
void Control::put_Tag(std::string v) {
    Change(m_tag, std::move(v), "Tag");
}
void Control::put_Left(int32_t v) {
    Change(m_left, v, "Left");
}
void Control::put_Top(int32_t v) {
    Change(m_top, v, "Top");
}
void Control::put_Width(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Width");
    }
    Change(m_width, v, "Width");
}
void Control::put_Height(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Height");
    }
    Change(m_height, v, "Height");
}
void Control::put_BackColor(int32_t v) {
    Change(m_backColor, v, "BackColor");
}

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    put_Left(left);
    put_Top(top);
    put_Width(width);
    put_Height(height);
}

bool Control::IsShown() const {
    for (const Control* c = this; c != nullptr; c = c->m_parent) {
        if (!c->m_visible) {
            return false;
        }
    }
    return true;
}

bool Control::IsUsable() const { return m_enabled && IsShown(); }

void Control::Refresh() {
    Changed("Refresh");
}

const PropertyTable& Control::Properties() const {
    return CommonProperties();
}

const PropertyTable& Control::CommonProperties() {
    static const PropertyTable table{
        ReadOnlyProp("Name", &Control::get_Name),
        ReadOnlyProp("Index", &Control::get_Index),
        Prop("Visible", &Control::get_Visible, &Control::put_Visible),
        Prop("Enabled", &Control::get_Enabled, &Control::put_Enabled),
        Prop("ToolTipText", &Control::get_ToolTipText, &Control::put_ToolTipText),
        Prop("Tag", &Control::get_Tag, &Control::put_Tag),
        Prop("Left", &Control::get_Left, &Control::put_Left),
        Prop("Top", &Control::get_Top, &Control::put_Top),
        Prop("Width", &Control::get_Width, &Control::put_Width),
        Prop("Height", &Control::get_Height, &Control::put_Height),
        Prop("BackColor", &Control::get_BackColor, &Control::put_BackColor),
    };
    return table;
}

void CaptionedControl::put_Caption(std::string v) {
    Change(m_caption, std::move(v), "Caption");
}
void CaptionedControl::put_ForeColor(int32_t v) {
    Change(m_foreColor, v, "ForeColor");
}
void CaptionedControl::put_FontBold(bool v) {
    Change(m_fontBold, v, "FontBold");
}
void CaptionedControl::put_FontSize(double v) {
    if (!(v > 0.0 && v <= 2048.0)) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "FontSize");
    }
    Change(m_fontSize, v, "FontSize");
}

const PropertyTable& CaptionedControl::Properties() const {
    return CaptionedProperties();
}

const PropertyTable& CaptionedControl::CaptionedProperties() {
    static const PropertyTable table{
        CommonProperties(),
        {
            Prop("Caption", &CaptionedControl::get_Caption, &CaptionedControl::put_Caption),
            Prop("ForeColor", &CaptionedControl::get_ForeColor, &CaptionedControl::put_ForeColor),
            Prop("FontBold", &CaptionedControl::get_FontBold, &CaptionedControl::put_FontBold),
            Prop("FontSize", &CaptionedControl::get_FontSize, &CaptionedControl::put_FontSize),
        }};
    return table;
}

}  // namespace arn
