#include "core/NumberConversion.h"

#include <cmath>
#include <limits>

#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

template <class Int>
Int RoundToEven(double value, const std::string& source) {
    // nearbyint follows the rounding mode, which is round-half-to-even unless a caller
    // changed it; automation rounds that way whatever the mode.
    const double r = std::nearbyint(value);
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw MakeError(err::Overflow, source);
    }
    return static_cast<Int>(r);
}

}  // namespace

int16_t ToInteger(double value, const std::string& source) {
    return RoundToEven<int16_t>(value, source);
}

int32_t ToLong(double value, const std::string& source) {
    return RoundToEven<int32_t>(value, source);
}

}  // namespace arn
