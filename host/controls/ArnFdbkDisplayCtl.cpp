#include "host/controls/ArnFdbkDisplayCtl.h"

namespace arn {

ArnFdbkDisplayCtl::ArnFdbkDisplayCtl(std::string name, int16_t index)
    : SubPanel("ArnFdbkDisplayCtl", std::move(name), index, "Position Feedback") {}

}  // namespace arn
