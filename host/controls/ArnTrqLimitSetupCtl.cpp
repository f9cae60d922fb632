#include "host/controls/ArnTrqLimitSetupCtl.h"

namespace arn {

ArnTrqLimitSetupCtl::ArnTrqLimitSetupCtl(std::string name, int16_t index)
    : SubPanel("ArnTrqLimitSetupCtl", std::move(name), index, "Torque Limit Setup...") {}

void ArnTrqLimitSetupCtl::RequestSetup() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    SetupRequested();
}

}  // namespace arn
