#include "fakes/SubPanelSpy.h"

#include <utility>

#include "core/ArnError.h"

namespace arn::test {

SubPanelSpy::SubPanelSpy(SubPanel& sub) : m_sub(sub) {
    m_connections.push_back(m_sub.Attaching.connect([this] {
        if (!m_attachFailure.empty()) {
            const std::string description = std::exchange(m_attachFailure, std::string());
            throw ArnError(vbObjectError + 1, m_sub.TypeName() + ".AttachControl", description);
        }
    }));
    m_connections.push_back(m_sub.AttachCalled.connect([this] {
        ++m_attachCount;
        m_lastNet = m_sub.AttachedNet();
        m_lastNode = m_sub.AttachedNode();
        m_lastRegName = m_sub.get_RegName();
        m_lastRegSect = m_sub.get_RegSect();
    }));
    m_connections.push_back(m_sub.ReleaseCalled.connect([this] { ++m_releaseCount; }));
}

}  // namespace arn::test
