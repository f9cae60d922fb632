#include "host/controls/ArnFdbkDisplayCtl.h"

#include <utility>

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
    // Subscribed before anything is held, so that a node call that fails, or a listener that
    // refuses the attachment, leaves nothing behind.
    Connection follow;
    if (theNode && theNode->ParamExists(param::MeasuredPosition)) {
        // The node hands out the same value object for its lifetime; the connection goes at
        // release or with this control, so the raw this stays valid for every call.
        follow = theNode->Param(param::MeasuredPosition)
                     ->ValueChanged.connect([this](const std::shared_ptr<Value>&) { Refresh(); });
    }
    SubPanel::AttachControl(theNet, theNode, theAppObj, regName, regSect);
    m_measuredChanged = std::move(follow);
    Refresh();
}

void ArnFdbkDisplayCtl::ReleaseControl() {
    m_measuredChanged.disconnect();
    SubPanel::ReleaseControl();
    Refresh();
}

}  // namespace arn
