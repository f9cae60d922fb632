#pragma once

#include <cstdint>

namespace arn {

// The kinds of number a parameter holds, as the hosts' editors accept them.
enum class NumberKind {
    Whole,     // whole numbers only
    Position,  // a position: whole encoder counts, a fraction in any other position units
    Decimal,   // any plain decimal
};

// What the hosts tell the user about a parameter they show: its name, the number it takes and
// its range. The simulated drive accepts more; the hosts refuse what a drive would not take.
struct ParamInfo {
    int32_t number;
    const char* name;
    NumberKind kind;
    double least;
    double most;
};

// The catalogue's entry for number, or nullptr for a parameter it does not describe.
const ParamInfo* FindParamInfo(int32_t number);

// What a parameter outside the catalogue takes: any decimal within 32 bits.
inline constexpr double Int32Least = -2147483648.0;
inline constexpr double Int32Most = 2147483647.0;

// The units of a position that is counted in whole encoder steps.
inline constexpr const char* CountsUnits = "counts";

}  // namespace arn
