#pragma once

#include "host/controls/SubPanel.h"

namespace arn {

// The feedback-display sub-panel: shows the attached node's feedback.
class ArnFdbkDisplayCtl : public SubPanel {
  public:
    explicit ArnFdbkDisplayCtl(std::string name, int16_t index = -1);

    // The read-out: the node's measured position with thousands separators, "-" without a node
    // and "?" when it cannot be read.
    std::string PositionText() const;
    // The caption at the left and the read-out in a dark sunken window at the right.
    void Draw(DisplayList& out, const DrawContext& ctx) const override;
};

}  // namespace arn
