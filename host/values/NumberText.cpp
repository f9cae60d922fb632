#include "host/values/NumberText.h"

#include <charconv>
#include <cmath>

namespace arn {

std::string PlainNumber(double v) {
    if (!std::isfinite(v)) {
        return std::isnan(v) ? "?" : (v < 0 ? "-inf" : "inf");
    }
    // Fixed notation keeps large whole numbers in full; the shortest form that reads back.
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (ec != std::errc()) {
        return "?";
    }
    std::string text(buf, end);
    return text == "-0" ? "0" : text;
}

std::string GroupedWhole(double v) {
    if (!std::isfinite(v)) {
        return "?";
    }
    const double rounded = std::round(v);
    const std::string digits = PlainNumber(std::fabs(rounded));
    std::string text;
    if (rounded < 0) {
        text.push_back('-');
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text.push_back(',');
        }
        text.push_back(digits[i]);
    }
    return text;
}

}  // namespace arn
