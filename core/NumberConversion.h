#pragma once

#include <cstdint>
#include <string>

namespace arn {

// Automation's conversions of a Double to an Integer (16 bits) and a Long (32 bits): rounded
// half to even, with error 6 "Overflow" (raised from source) for what does not fit, NaN
// included.
int16_t ToInteger(double value, const std::string& source);
int32_t ToLong(double value, const std::string& source);

}  // namespace arn
