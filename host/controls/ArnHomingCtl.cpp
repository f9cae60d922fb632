#include "host/controls/ArnHomingCtl.h"

namespace arn {

ArnHomingCtl::ArnHomingCtl(std::string name, int16_t index)
    : SubPanel("ArnHomingCtl", std::move(name), index, "Homing Setup...") {}

void ArnHomingCtl::RequestSetup() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    SetupRequested();
}

}  // namespace arn
