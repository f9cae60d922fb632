#pragma once

#include "host/controls/SetupSubPanel.h"

namespace arn {

// The jerk-limit sub-panel; its setup request asks the host for its jerk-limit window. Its forms
// (MyForms) are the host's jerk-limit window.
class ArnJerkPanelCtl : public SetupSubPanel {
  public:
    explicit ArnJerkPanelCtl(std::string name, int16_t index = -1);
};

}  // namespace arn
