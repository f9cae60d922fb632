#pragma once

#include <optional>
#include <string>

namespace arn {

// A user's typed entry as an in-place editor judges it: the number to write, or, when the
// entry is refused, why in plain words (a sentence naming the control, without a full stop).
struct EntryCheck {
    std::optional<double> number;
    std::string refusal;

    bool Accepted() const { return number.has_value(); }
};

}  // namespace arn
