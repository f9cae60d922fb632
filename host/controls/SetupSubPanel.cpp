#include "host/controls/SetupSubPanel.h"

namespace arn {

void SetupSubPanel::RequestSetup() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    SetupRequested();
}

void SetupSubPanel::DescribeAccessible(AccessibleElement& element) const {
    element.MakePushButton(get_Caption());
}

}  // namespace arn
