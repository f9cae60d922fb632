#include "host/controls/SubPanel.h"
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include "host/Net.h"
#include "host/Node.h"
#include "toolkit/Form.h"

namespace arn {

namespace {

// The setup buttons' captions are navy, as links to a window of their own.
constexpr Color ButtonText = Color::Rgb(0x00, 0x00, 0x80);

}  // namespace

SubPanel::SubPanel(std::string typeName, std::string name, int16_t index, std::string caption)
    : Control(std::move(typeName), std::move(name), index), m_caption(std::move(caption)) {}

SubPanel::~SubPanel() = default;

std::shared_ptr<UIuserControl> SubPanel::get_UIref() {
    auto self = shared_from_this();
    return std::shared_ptr<UIuserControl>(self, static_cast<UIuserControl*>(this));
}

void SubPanel::AttachControl(const std::shared_ptr<Net>& theNet,
                             const std::shared_ptr<Node>& theNode,
                             const std::shared_ptr<void>& theAppObj, const std::string& regName,
                             const std::string& regSect) {
    auto keep = KeepAlive();
    Attaching();
    m_net = theNet;
    m_node = theNode;
    m_appObj = theAppObj;
    m_regName = regName;
    m_regSect = regSect;
    AttachCalled();
}

void SubPanel::ReleaseControl() {
    m_net.reset();
    m_node.reset();
    m_appObj.reset();
    m_regName.clear();
    m_regSect.clear();
    auto keep = KeepAlive();
    ReleaseCalled();
}

void SubPanel::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Grouping;
    element.name = m_caption;
}

std::shared_ptr<Dictionary<std::string>> SubPanel::get_ControlVersionList() {
    auto list = std::make_shared<Dictionary<std::string>>();
    list->Add(TypeName(), m_version);
    return list;
}

void SubPanel::Draw(DisplayList& out, const DrawContext& ctx) const {
    style::Bevel(out, ctx.box, !ctx.pressed, Color::FromBgr(get_BackColor()), ctx.pixel);
    const Rect text = ctx.pressed ? ctx.box.Translated(ctx.pixel, ctx.pixel) : ctx.box;
    out.Add(TextOp{text, m_caption, HostControlFont, get_Enabled() ? ButtonText : style::GrayText,
                   HAlign::Center, VAlign::Center});
}

}  // namespace arn
