#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/EntryCheck.h"
#include "host/ParamCatalogue.h"

namespace arn {

// How a typed entry for one parameter is judged: the one rule behind every host's editor (the
// Qt host's line editor and the console's `enter`), so both take and refuse the same texts.
//
// An entry is a plain decimal: an optional sign, digits, and for a parameter that takes
// fractions a point and more digits; blanks around it are ignored. Thousands separators,
// decimal commas and exponents are refused with the form to type instead, a fraction for a
// whole-number parameter with the nearest whole number, and a number outside the range with
// the range.
struct EntryRule {
    int32_t number = 0;
    std::string name;   // as the user reads it, e.g. "Home Offset"
    std::string units;  // e.g. "counts" or "mm"; empty when the value has none
    bool whole = false;
    double least = Int32Least;
    double most = Int32Most;

    // The rule for parameter number, shown as name in units: the catalogue's kind and range,
    // else any decimal within 32 bits. A position takes whole numbers in counts only.
    static EntryRule For(int32_t number, std::string name, std::string units);

    // One line for a tooltip: "Home Offset (parameter 161): whole counts from -2147483648 to
    // 2147483647".
    std::string Describe() const;
    EntryCheck Check(std::string_view text) const;

  private:
    // "a whole number of counts", "a number", ...
    std::string Takes() const;
    // A number in range to show as an example: near wanted when that is in range.
    std::string Example(double wanted) const;
    EntryCheck Refuse(std::string text) const;
};

}  // namespace arn
