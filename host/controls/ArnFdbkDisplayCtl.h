#pragma once

#include "host/controls/SubPanel.h"

namespace arn {

// The feedback-display sub-panel: shows the attached node's feedback.
class ArnFdbkDisplayCtl : public SubPanel {
  public:
    explicit ArnFdbkDisplayCtl(std::string name, int16_t index = -1);
};

}  // namespace arn
