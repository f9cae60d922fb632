#pragma once

#include <string>

#include "core/Event.h"
#include "host/controls/SubPanel.h"

namespace arn::test {

// Makes the next attach of one sub-panel fail, before the sub-panel holds anything.
class SubPanelSpy {
  public:
    explicit SubPanelSpy(SubPanel& sub);

    // The next AttachControl raises ArnError with this description.
    void FailNextAttach(std::string description) { m_attachFailure = std::move(description); }

  private:
    std::string m_attachFailure;
    Connection m_attaching;
};

}  // namespace arn::test
