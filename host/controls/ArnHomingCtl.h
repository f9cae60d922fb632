#pragma once

#include "host/controls/SetupSubPanel.h"

namespace arn {

// The homing sub-panel; its setup request asks the host for its homing window.
class ArnHomingCtl : public SetupSubPanel {
  public:
    explicit ArnHomingCtl(std::string name, int16_t index = -1);
};

}  // namespace arn
