#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Event.h"
#include "host/controls/SubPanel.h"

namespace arn::test {

// Watches one sub-panel: counts its attach and release calls, records the arguments of the
// last attach (the net and node weakly, so a released node is not kept alive by the record)
// and can make the next attach fail.
class SubPanelSpy {
  public:
    explicit SubPanelSpy(SubPanel& sub);

    int32_t AttachCount() const { return m_attachCount; }
    int32_t ReleaseCount() const { return m_releaseCount; }
    std::shared_ptr<Net> LastNet() const { return m_lastNet.lock(); }
    std::shared_ptr<Node> LastNode() const { return m_lastNode.lock(); }
    std::string LastRegName() const { return m_lastRegName; }
    std::string LastRegSect() const { return m_lastRegSect; }

    // Makes the next AttachControl raise ArnError with this description, before the
    // sub-panel holds anything.
    void FailNextAttach(std::string description) { m_attachFailure = std::move(description); }

  private:
    SubPanel& m_sub;
    int32_t m_attachCount = 0;
    int32_t m_releaseCount = 0;
    std::weak_ptr<Net> m_lastNet;
    std::weak_ptr<Node> m_lastNode;
    std::string m_lastRegName;
    std::string m_lastRegSect;
    std::string m_attachFailure;
    std::vector<Connection> m_connections;
};

}  // namespace arn::test
