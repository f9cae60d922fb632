#pragma once

#include <string>

namespace arn {

// A number as the user reads it, the same in every host.

// The shortest plain decimal that reads back as v: whole numbers in full ("-2000000000"),
// fractions without trailing zeros ("250.5"), never an exponent.
std::string PlainNumber(double v);
// v rounded to a whole number, with a comma between thousands ("-1,234,568"); "?" for a number
// that is not finite.
std::string GroupedWhole(double v);

}  // namespace arn
