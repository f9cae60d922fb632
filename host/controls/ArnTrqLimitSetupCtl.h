#pragma once

#include "host/controls/SubPanel.h"

namespace arn {

// The torque-limit sub-panel; its setup request asks the host for its torque-limit window.
class ArnTrqLimitSetupCtl : public SubPanel {
  public:
    explicit ArnTrqLimitSetupCtl(std::string name, int16_t index = -1);

    // The user asks for the setup window that the host opens; ignored while out of reach.
    void RequestSetup();

    Event<> SetupRequested;
};

}  // namespace arn
