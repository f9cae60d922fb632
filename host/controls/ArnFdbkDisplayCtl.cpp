#include "host/controls/ArnFdbkDisplayCtl.h"

#include "core/ArnError.h"
#include "host/Node.h"
#include "host/NodeParams.h"
#include "host/values/Value.h"

namespace arn {

ArnFdbkDisplayCtl::ArnFdbkDisplayCtl(std::string name, int16_t index)
    : SubPanel("ArnFdbkDisplayCtl", std::move(name), index, "Position Feedback") {}

void ArnFdbkDisplayCtl::AttachControl(const std::shared_ptr<Net>& theNet,
                                      const std::shared_ptr<Node>& theNode,
                                      const std::shared_ptr<void>& theAppObj,
                                      const std::string& regName, const std::string& regSect) {
    m_measuredChanged.disconnect();
    SubPanel::AttachControl(theNet, theNode, theAppObj, regName, regSect);
    if (theNode) {
        try {
            // The node hands out the same value object for its lifetime; the connection goes
            // at release or with this control, so the raw this stays valid for every call.
            m_measuredChanged =
                theNode->Param(param::MeasuredPosition)
                    ->ValueChanged.connect([this](const std::shared_ptr<Value>&) { Refresh(); });
        } catch (const ArnError&) {
            // Shown as unreadable; nothing to follow.
        }
    }
    Refresh();
}

void ArnFdbkDisplayCtl::ReleaseControl() {
    m_measuredChanged.disconnect();
    SubPanel::ReleaseControl();
    Refresh();
}

}  // namespace arn
