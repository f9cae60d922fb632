#include "host/values/ValueCaption.h"

namespace arn {

std::shared_ptr<ValueCaption> ValueCaption::Create(int32_t value, std::string text, bool active) {
    return std::shared_ptr<ValueCaption>(new ValueCaption(value, std::move(text), active));
}

std::shared_ptr<ValueCaption> ValueCaption::Default() {
    // Made on first use and kept for the whole process, as the host's runtime does.
    static const std::shared_ptr<ValueCaption> instance = Create(0, {}, true);
    return instance;
}

}  // namespace arn
