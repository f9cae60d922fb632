#include "toolkit/Control.h"
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string>
#include <string_view>
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kVisible = "Visible";
constexpr std::string_view kEnabled = "Enabled";
constexpr std::string_view kToolTipText = "ToolTipText";
constexpr std::string_view kTag = "Tag";
constexpr std::string_view kLeft = "Left";
constexpr std::string_view kTop = "Top";
constexpr std::string_view kWidth = "Width";
constexpr std::string_view kHeight = "Height";
constexpr std::string_view kBackColor = "BackColor";
constexpr std::string_view kCaption = "Caption";
constexpr std::string_view kForeColor = "ForeColor";
constexpr std::string_view kFontBold = "FontBold";
constexpr std::string_view kFontSize = "FontSize";

}  // namespace

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
            throw MakeError(err::InvalidPropertyValue, TypeName(),
                            "Container of " + child->get_Name());
        }
    }
    child->m_parent = this;
    m_children.push_back(child);
}

std::string Control::QualifiedName() const {
    if (m_index < 0) {
        return m_name;
    }
    return m_name + "(" + std::to_string(m_index) + ")";
}

EntryCheck Control::CheckEntry(std::string_view /*text*/) const {
    return EntryCheck{std::nullopt, UserCaption() + " takes no typed entry"};
}

std::string Control::UserCaption() const {
    // The leftmost shown label whose height spans this control's middle, in the nearest
    // container that has one: the label that heads the row.
    const Rect self = SurfaceRect();
    const int32_t middle = self.top + self.height / 2;
    for (const Control* container = m_parent; container; container = container->m_parent) {
        const Control* heading = nullptr;
        int32_t headingLeft = 0;
        for (const auto& child : container->m_children) {
            if (child.get() == this || !child->CaptionsItsRow() || !child->IsShown()) {
                continue;
            }
            const Rect box = child->SurfaceRect();
            if (middle >= box.top && middle < box.Bottom() &&
                (!heading || box.left < headingLeft)) {
                heading = child.get();
                headingLeft = box.left;
            }
        }
        if (heading) {
            std::string caption = heading->UserCaption();
            if (!caption.empty()) {
                return caption;
            }
        }
    }
    return QualifiedName();
}

AccessibleElement Control::Accessible() {
    AccessibleElement element;
    element.description = QualifiedName();
    if (!m_toolTipText.empty()) {
        element.description += ": " + m_toolTipText;
    }
    element.enabled = m_enabled;
    element.visible = IsShown();
    const Rect place = SurfaceRect();
    element.left = place.left;
    element.top = place.top;
    element.width = place.width;
    element.height = place.height;
    DescribeAccessible(element);
    if (!element.defaultAction.empty()) {
        std::weak_ptr<Control> weak = weak_from_this();
        element.doDefaultAction = [weak] {
            if (auto live = weak.lock()) {
                live->UserClick();
            }
        };
    }
    return element;
}

Rect Control::SurfaceRect() const {
    Rect r = Bounds();
    for (const Control* c = m_parent; c != nullptr; c = c->m_parent) {
        r = r.Translated(c->m_left, c->m_top);
    }
    return r;
}

void Control::Changed(std::string_view property) {
    auto keep = KeepAlive();
    PropertyChanged(property);
}

void Control::put_Visible(bool v) {
    Change(m_visible, v, kVisible);
}
void Control::put_Enabled(bool v) {
    Change(m_enabled, v, kEnabled);
}
void Control::put_ToolTipText(std::string v) {
    Change(m_toolTipText, std::move(v), kToolTipText);
}
void Control::put_Tag(std::string v) {
    Change(m_tag, std::move(v), kTag);
}
void Control::put_Left(int32_t v) {
    Change(m_left, v, kLeft);
}
void Control::put_Top(int32_t v) {
    Change(m_top, v, kTop);
}
void Control::put_Width(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kWidth);
    }
    Change(m_width, v, kWidth);
}
void Control::put_Height(int32_t v) {
    if (v < 0) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kHeight);
    }
    Change(m_height, v, kHeight);
}
void Control::put_BackColor(int32_t v) {
    Change(m_backColor, v, kBackColor);
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

bool Control::IsUsable() const {
    return m_enabled && IsShown();
}

void Control::Refresh() {
    Changed("Refresh");
}

const MemberTable& Control::Members() const {
    return CommonProperties();
}

const MemberTable& Control::CommonProperties() {
    static const MemberTable table{
        ReadOnlyProp("Name", &Control::get_Name),
        ReadOnlyProp("Index", &Control::get_Index),
        Prop(kVisible, &Control::get_Visible, &Control::put_Visible),
        Prop(kEnabled, &Control::get_Enabled, &Control::put_Enabled),
        Prop(kToolTipText, &Control::get_ToolTipText, &Control::put_ToolTipText),
        Prop(kTag, &Control::get_Tag, &Control::put_Tag),
        Prop(kLeft, &Control::get_Left, &Control::put_Left),
        Prop(kTop, &Control::get_Top, &Control::put_Top),
        Prop(kWidth, &Control::get_Width, &Control::put_Width),
        Prop(kHeight, &Control::get_Height, &Control::put_Height),
        Prop(kBackColor, &Control::get_BackColor, &Control::put_BackColor),
    };
    return table;
}

void CaptionedControl::put_Caption(std::string v) {
    Change(m_caption, std::move(v), kCaption);
}
void CaptionedControl::put_ForeColor(int32_t v) {
    Change(m_foreColor, v, kForeColor);
}
void CaptionedControl::put_FontBold(bool v) {
    Change(m_fontBold, v, kFontBold);
}
void CaptionedControl::put_FontSize(double v) {
    if (!(v > 0.0 && v <= 2048.0)) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kFontSize);
    }
    Change(m_fontSize, v, kFontSize);
}

std::string CaptionedControl::ReportDetails() const {
    return " \"" + m_caption + "\"";
}

std::string CaptionedControl::UserCaption() const {
    // A caption not yet localised shows its placeholder: the text after it is the readable part.
    std::string_view text = m_caption;
    if (text.size() > 2 && text.front() == ':') {
        const std::size_t close = text.find(':', 1);
        if (close != std::string_view::npos && close > 1 &&
            text.substr(1, close - 1).find_first_not_of("0123456789") == std::string_view::npos) {
            text.remove_prefix(close + 1);
        }
    }
    // "&" marks the access key; "&&" stands for one ampersand.
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        shown.push_back(text[i]);
    }
    const auto first = shown.find_first_not_of(' ');
    if (first == std::string::npos) {
        return Control::UserCaption();
    }
    return shown.substr(first, shown.find_last_not_of(' ') - first + 1);
}

const MemberTable& CaptionedControl::Members() const {
    return CaptionedProperties();
}

const MemberTable& CaptionedControl::CaptionedProperties() {
    static const MemberTable table{
        CommonProperties(),
        {
            Prop(kCaption, &CaptionedControl::get_Caption, &CaptionedControl::put_Caption),
            Prop(kForeColor, &CaptionedControl::get_ForeColor, &CaptionedControl::put_ForeColor),
            Prop(kFontBold, &CaptionedControl::get_FontBold, &CaptionedControl::put_FontBold),
            Prop(kFontSize, &CaptionedControl::get_FontSize, &CaptionedControl::put_FontSize),
        }};
    return table;
}

void Control::Draw(DisplayList& out, const DrawContext& ctx) const {
    out.Stroke(ctx.box, Pen{style::Shadow, 0, LineStyle::Dash});
    out.Add(TextOp{ctx.box, m_name, Font{}, style::GrayText, HAlign::Center, VAlign::Center});
}

Color CaptionedControl::CaptionColor() const {
    return get_Enabled() ? Color::FromBgr(m_foreColor) : style::GrayText;
}

}  // namespace arn
