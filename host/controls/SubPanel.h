#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Event.h"
#include "host/UIuserControl.h"
#include "toolkit/Control.h"

namespace arn {

class Net;
class Node;
class Form;

// Common ground of the sibling sub-panels: a control on the panel surface that the host (or
// the carrying panel) drives through its own UIuserControl, reached with get_UIref(). It holds
// the net, node and registry names while attached and drops them at release.
class SubPanel : public Control, public UIuserControl {
  public:
    ~SubPanel() override;

    std::shared_ptr<UIuserControl> get_UIref();

    // UIuserControl, in slot order.
    void ReleaseControl() override;
    void AttachControl(const std::shared_ptr<Net>& theNet, const std::shared_ptr<Node>& theNode,
                       const std::shared_ptr<void>& theAppObj, const std::string& regName,
                       const std::string& regSect) override;
    int32_t get_BarColor() override { return 0; }
    std::string get_VersionStr() override { return m_version; }
    std::shared_ptr<Dictionary<std::string>> get_ControlVersionList() override;
    std::vector<std::shared_ptr<Form>> get_MyForms() override { return m_forms; }

    // What the sub-panel shows as its title.
    std::string get_Caption() const { return m_caption; }
    // Messages name the sub-panel by its title.
    std::string UserCaption() const override { return m_caption; }
    // A grouping named by its caption.
    void DescribeAccessible(AccessibleElement& element) const override;

    // Held between AttachControl and ReleaseControl.
    std::shared_ptr<Net> AttachedNet() const { return m_net; }
    std::shared_ptr<Node> AttachedNode() const { return m_node; }
    std::shared_ptr<void> AttachedAppObj() const { return m_appObj; }
    // The registry name and section the sub-panel keeps its settings under.
    std::string get_RegName() const { return m_regName; }
    std::string get_RegSect() const { return m_regSect; }

    // Raised at the start of AttachControl, before anything is held; a listener that throws
    // refuses the attachment, and the error reaches the caller with nothing held.
    Event<> Attaching;
    // Raised once the attachment is held, and after a release.
    Event<> AttachCalled;
    Event<> ReleaseCalled;

    // A sub-panel shows as a button that asks for its window.
    void Draw(DisplayList& out, const DrawContext& ctx) const override;

  protected:
    SubPanel(std::string typeName, std::string name, int16_t index, std::string caption);
    void AddForm(std::shared_ptr<Form> form) { m_forms.push_back(std::move(form)); }

  private:
    std::string m_caption;
    std::string m_version = "1.0.0";
    std::vector<std::shared_ptr<Form>> m_forms;
    std::shared_ptr<Net> m_net;
    std::shared_ptr<Node> m_node;
    std::shared_ptr<void> m_appObj;
    std::string m_regName;
    std::string m_regSect;
};

}  // namespace arn
