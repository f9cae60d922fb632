#include "host/controls/SetupSubPanel.h"

namespace arn {

void SetupSubPanel::RequestSetup() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    SetupRequested();
}

}  // namespace arn
