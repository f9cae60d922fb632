#pragma once

#include "host/controls/SubPanel.h"

namespace arn {

// The jerk-limit sub-panel; its setup request asks the host for its jerk-limit window. Its forms
// (MyForms) are the host's jerk-limit window.
class ArnJerkPanelCtl : public SubPanel {
  public:
    explicit ArnJerkPanelCtl(std::string name, int16_t index = -1);

    // The user asks for the setup window that the host opens; ignored while out of reach.
    void RequestSetup();

    Event<> SetupRequested;
};

}  // namespace arn
