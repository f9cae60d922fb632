#pragma once

#include "host/controls/SetupSubPanel.h"

namespace arn {

// The torque-limit sub-panel; its setup request asks the host for its torque-limit window.
class ArnTrqLimitSetupCtl : public SetupSubPanel {
  public:
    explicit ArnTrqLimitSetupCtl(std::string name, int16_t index = -1);
};

}  // namespace arn
