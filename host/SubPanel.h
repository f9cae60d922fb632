#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/UIuserControl.h"
#include "platform/Control.h"
#include "platform/Event.h"

namespace arn {

class Net;
class Node;
class Form;

// Common ground of the sibling sub-panels: a control on the panel surface that the host (or
// the carrying panel) drives through its own UIuserControl, reached with get_UIref(). It holds
// the net and node while attached and drops them at release, and counts the calls so that
// their order and arguments can be checked.
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

    int32_t AttachCount() const { return m_attachCount; }
    int32_t ReleaseCount() const { return m_releaseCount; }
    // Held between AttachControl and ReleaseControl.
    std::shared_ptr<Net> AttachedNet() const { return m_net; }
    std::shared_ptr<Node> AttachedNode() const { return m_node; }
    std::shared_ptr<void> AttachedAppObj() const { return m_appObj; }
    // The arguments of the last AttachControl; the net and node only while someone still
    // holds them, so a released node is not kept alive by this record.
    std::shared_ptr<Net> LastNet() const { return m_lastNet.lock(); }
    std::shared_ptr<Node> LastNode() const { return m_lastNode.lock(); }
    std::string LastRegName() const { return m_lastRegName; }
    std::string LastRegSect() const { return m_lastRegSect; }

    // Makes the next AttachControl raise ArnError with this description, before it records
    // anything; for exercising callers' error traps.
    void FailNextAttach(std::string description) { m_attachFailure = std::move(description); }

    // Raised after each call has been recorded.
    Event<> AttachCalled;
    Event<> ReleaseCalled;

  protected:
    SubPanel(std::string typeName, std::string name, int16_t index, std::string caption);
    void AddForm(std::shared_ptr<Form> form) { m_forms.push_back(std::move(form)); }

  private:
    std::string m_caption;
    std::string m_version = "1.0.0";
    std::vector<std::shared_ptr<Form>> m_forms;
    int32_t m_attachCount = 0;
    int32_t m_releaseCount = 0;
    std::shared_ptr<Net> m_net;
    std::shared_ptr<Node> m_node;
    std::shared_ptr<void> m_appObj;
    std::weak_ptr<Net> m_lastNet;
    std::weak_ptr<Node> m_lastNode;
    std::string m_lastRegName;
    std::string m_lastRegSect;
    std::string m_attachFailure;
};

}  // namespace arn
