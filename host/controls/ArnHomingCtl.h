#pragma once

#include "host/controls/SubPanel.h"

namespace arn {

// The homing sub-panel; its setup request asks the host for its homing window.
class ArnHomingCtl : public SubPanel {
  public:
    explicit ArnHomingCtl(std::string name, int16_t index = -1);

    // The user asks for the setup window that the host opens; ignored while out of reach.
    void RequestSetup();

    Event<> SetupRequested;
};

}  // namespace arn
