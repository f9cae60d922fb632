#include "host/controls/ArnTrqLimitSetupCtl.h"

namespace arn {

ArnTrqLimitSetupCtl::ArnTrqLimitSetupCtl(std::string name, int16_t index)
    : SetupSubPanel("ArnTrqLimitSetupCtl", std::move(name), index, "Torque Limit Setup...") {}

}  // namespace arn
