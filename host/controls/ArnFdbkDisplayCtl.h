#pragma once

#include <memory>
#include <optional>
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
    // The measured position's units ("counts", "mm"); empty without a node or units.
    std::string UnitsText() const;
    // The caption at the left and the read-out in a dark sunken window at the right, with the
    // units after the number. The window widens for a long number; a number that still does
    // not fit (the widest 32-bit ones at the design size) shows in thousands or millions,
    // marked "k" or "M" ("-2,147M"), and the tooltip holds it in full.
    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    // ToolTipText when set; else the read-out in full with its units, then the measured
    // position's parameter number, name, units and range.
    std::string ToolTip() const override;
    void ReleaseControl() override;
    // A node without the measured position leaves the display without a live readout; an
    // error of the node while the display looks for it fails the attachment (nothing held).
    void AttachControl(const std::shared_ptr<Net>& theNet, const std::shared_ptr<Node>& theNode,
                       const std::shared_ptr<void>& theAppObj, const std::string& regName,
                       const std::string& regSect) override;

  private:
    // The measured position, or nothing without a node or when it cannot be read.
    std::optional<double> Measured() const;

    Connection m_measuredChanged;
};

}  // namespace arn
