#include "host/controls/ArnHomingCtl.h"

namespace arn {

ArnHomingCtl::ArnHomingCtl(std::string name, int16_t index)
    : SetupSubPanel("ArnHomingCtl", std::move(name), index, "Homing Setup...") {}

}  // namespace arn
