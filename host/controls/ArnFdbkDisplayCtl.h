#pragma once

#include <memory>
#include <string>

#include "core/Event.h"
#include "host/controls/SubPanel.h"

namespace arn {

// The feedback-display sub-panel: shows the attached node's measured position. While attached
// it follows that value and raises a change (Refresh) each time it moves, so a view repaints
// the display then and only then.
class ArnFdbkDisplayCtl : public SubPanel {
  public:
    explicit ArnFdbkDisplayCtl(std::string name, int16_t index = -1);

    // The read-out: the node's measured position with thousands separators, "-" without a node
    // and "?" when it cannot be read.
    std::string PositionText() const;
    // The caption at the left and the read-out in a dark sunken window at the right.
    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    void ReleaseControl() override;
    // A node without the measured position leaves the display without a live readout; an
    // error of the node while the display looks for it fails the attachment (nothing held).
    void AttachControl(const std::shared_ptr<Net>& theNet, const std::shared_ptr<Node>& theNode,
                       const std::shared_ptr<void>& theAppObj, const std::string& regName,
                       const std::string& regSect) override;

  private:
    Connection m_measuredChanged;
};

}  // namespace arn
