#pragma once

#include <cstdint>
#include <string>

#include "core/Event.h"
#include "host/controls/SubPanel.h"

namespace arn {

// A sub-panel whose button asks the host for a setup window of its own.
class SetupSubPanel : public SubPanel {
  public:
    // The user asks for the setup window that the host opens; ignored while out of reach.
    void RequestSetup();

    bool AcceptsClicks() const override { return true; }
    void UserClick() override { RequestSetup(); }
    // A push button, captioned like the sub-panel, that requests the setup window.
    void DescribeAccessible(AccessibleElement& element) const override;

    Event<> SetupRequested;

  protected:
    using SubPanel::SubPanel;
};

}  // namespace arn
