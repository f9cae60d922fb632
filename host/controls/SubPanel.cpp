#include "host/controls/SubPanel.h"

#include "host/Net.h"
#include "host/Node.h"
#include "toolkit/Form.h"

namespace arn {

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

}  // namespace arn
