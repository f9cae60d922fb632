// The trace's number formats for any double, NaNs, infinities and subnormals included:
// "#,##0.0" and "0.0" keep exactly one decimal, read back within half a tenth, group by
// thousands and never print "-0.0"; CStr reads back to the same double without an exponent;
// RoundHalfEven rounds to the nearest, ties to even.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "support/Format.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

const char* NonFinite(double v) {
    return std::isnan(v) ? "NaN" : v < 0 ? "-Infinity" : "Infinity";
}

// "0.0" of v: a sign only for a non-zero result, digits without leading zeros, ".", one digit.
void CheckTenths(double v, const std::string& text) {
    if (!std::isfinite(v)) {
        return Check(text == NonFinite(v));
    }
    const bool negative = text[0] == '-';
    const std::string_view body = std::string_view(text).substr(negative ? 1 : 0);
    const size_t point = body.find('.');
    Check(point != std::string_view::npos && point + 2 == body.size() && text != "-0.0");
    Check(AllDigits(body.substr(0, point)) && AllDigits(body.substr(point + 1)));
    Check((!negative || v < 0) && (body.size() == 3 || body[0] != '0'));
    // Half a tenth, widened by the rounding of v itself and of the text read back.
    Check(std::fabs(std::strtod(text.c_str(), nullptr) - v) <= 0.05 + std::fabs(v) * 4e-16);
}

// "#,##0.0" is "0.0" with a comma before every third digit from the point leftwards.
void CheckGrouped(const std::string& plain, const std::string& grouped) {
    std::string ungrouped = grouped;
    std::erase(ungrouped, ',');
    Check(ungrouped == plain);
    const size_t point = grouped.find('.');
    for (size_t i = grouped[0] == '-' ? 1 : 0; point != std::string::npos && i < point; ++i) {
        Check((grouped[i] == ',') == ((point - i) % 4 == 0));  // 4, 8, 12 ... are commas
    }
}

void CheckCStr(double v) {
    const std::string text = arn::CStr(v);
    if (!std::isfinite(v)) {
        return Check(text == NonFinite(v));
    }
    Check(text.find_first_of("eE") == std::string::npos && !text.ends_with(".0"));
    Check(std::strtod(text.c_str(), nullptr) == v || (v == 0 && text == "0"));
}

void CheckRound(double v, int digits) {
    const double r = arn::RoundHalfEven(v, digits);
    if (!std::isfinite(v) || (digits == 0 && std::fabs(v) >= 4503599627370496.0)) {
        return Check(std::isnan(v) ? std::isnan(r) : r == v);
    }
    Check(std::isfinite(r));
    const double diff = std::fabs(r - v);
    if (digits > 0) {
        return Check(diff <= 0.5 * std::pow(10.0, -digits) + std::fabs(v) * 1e-15);
    }
    // A whole number, and a tie goes to the even neighbour.
    Check(r == std::floor(r) && diff <= 0.5 && (diff < 0.5 || std::fmod(r, 2.0) == 0.0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arn::fuzz::FuzzInput in(data, size);
    while (!in.Empty()) {
        const size_t kind = in.Pick(3);
        // Any double, stamps near ties, or large values on the half tenths.
        const double v = kind == 0   ? in.Double()
                         : kind == 1 ? static_cast<double>(in.Int32()) / 100.0
                                     : static_cast<double>(in.Int64()) / 20.0;
        const std::string plain = arn::FormatTenths(v);
        CheckTenths(v, plain);
        CheckGrouped(plain, arn::FormatGroupedTenths(v));
        CheckCStr(v);
        CheckRound(v, static_cast<int>(in.Pick(7)));
    }
    return 0;
}
