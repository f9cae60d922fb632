// The trace's number formats for any double, NaNs, infinities and subnormals included:
// "#,##0.0" and "0.0" keep exactly one decimal, read back within half a tenth, group by
// thousands and never print "-0.0"; CStr reads back to the same double without an exponent;
// RoundHalfEven rounds to the nearest, ties to even; "00" keeps two digits. A traced line
// carries the two stamps in the grouped format.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "platform/DebugChannel.h"
#include "support/DebuggingFlags.h"
#include "support/Format.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

bool AllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// "0.0" of v: a sign only for a non-zero result, digits, ".", one digit.
void CheckTenths(double v, const std::string& text) {
    if (!std::isfinite(v)) {
        Check(text == (std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity")));
        return;
    }
    const bool negative = !text.empty() && text[0] == '-';
    const std::string_view body = std::string_view(text).substr(negative ? 1 : 0);
    const size_t point = body.find('.');
    Check(point != std::string_view::npos && point + 2 == body.size());
    Check(AllDigits(body.substr(0, point)) && AllDigits(body.substr(point + 1)));
    Check(text != "-0.0");
    Check(!negative || v < 0);
    Check(body.size() == 3 || body[0] != '0');  // no leading zeros
    const double back = std::strtod(text.c_str(), nullptr);
    // Half a tenth, widened by the rounding of v itself and of the text read back.
    Check(std::fabs(back - v) <= 0.05 + std::fabs(v) * 4e-16);
}

// "#,##0.0" is "0.0" with a comma before every third digit from the point leftwards.
void CheckGrouped(const std::string& plain, const std::string& grouped) {
    if (plain.find('.') == std::string::npos) {
        Check(grouped == plain);
        return;
    }
    std::string ungrouped;
    for (const char c : grouped) {
        if (c != ',') {
            ungrouped.push_back(c);
        }
    }
    Check(ungrouped == plain);
    const size_t point = grouped.find('.');
    const size_t start = grouped[0] == '-' ? 1 : 0;
    for (size_t i = start; i < point; ++i) {
        const size_t fromPoint = point - i;  // 4, 8, 12 ... are commas
        Check((grouped[i] == ',') == (fromPoint % 4 == 0));
    }
}

void CheckCStr(double v) {
    const std::string text = arn::CStr(v);
    if (!std::isfinite(v)) {
        Check(text == (std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity")));
        return;
    }
    Check(text.find_first_of("eE") == std::string::npos);
    Check(text.size() < 3 || text.compare(text.size() - 2, 2, ".0") != 0);
    Check(std::strtod(text.c_str(), nullptr) == v || (v == 0 && text == "0"));
}

void CheckRound(double v, int digits) {
    const double r = arn::RoundHalfEven(v, digits);
    if (!std::isfinite(v)) {
        Check(std::isnan(v) ? std::isnan(r) : r == v);
        return;
    }
    Check(std::isfinite(r));
    if (digits == 0) {
        if (std::fabs(v) >= 4503599627370496.0) {
            Check(r == v);
            return;
        }
        Check(r == std::floor(r));
        const double diff = std::fabs(r - v);
        Check(diff <= 0.5);
        if (diff == 0.5) {
            Check(std::fmod(r, 2.0) == 0.0);  // a tie goes to the even neighbour
        }
    } else {
        Check(std::fabs(r - v) <= 0.5 * std::pow(10.0, -digits) + std::fabs(v) * 1e-15);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arn::fuzz::FuzzInput in(data, size);
    while (!in.Empty()) {
        const size_t kind = in.Pick(4);
        double v = 0;
        if (kind == 0) {
            v = in.Double();
        } else if (kind == 1) {
            v = static_cast<double>(in.Int32()) / 100.0;  // stamps near ties
        } else if (kind == 2) {
            v = static_cast<double>(in.Int64()) / 20.0;  // large, on the half tenths
        } else {
            const int64_t n = in.Int64();
            const std::string two = arn::FormatTwoDigits(n);
            Check(two == (n < 0 ? "-" : "") + std::string(n > -10 && n < 10 ? "0" : "") +
                             std::to_string(n < 0 ? 0 - static_cast<uint64_t>(n)
                                                  : static_cast<uint64_t>(n)));
            continue;
        }
        const std::string plain = arn::FormatTenths(v);
        CheckTenths(v, plain);
        CheckGrouped(plain, arn::FormatGroupedTenths(v));
        CheckCStr(v);
        CheckRound(v, static_cast<int>(in.Pick(7)));
    }

    // A traced line: "<ms>\t+<delta>\t<text>\r\n", both stamps grouped with one decimal.
    std::string line;
    {
        const arn::Connection listener =
            arn::AttachDebugListener([&](std::string_view text) { line = text; });
        arn::DebugTrace("Fuzz", ".numbers", arn::TraceLevelAlways, false);
    }
    const size_t tab = line.find('\t');
    Check(tab != std::string::npos && line.compare(tab, 2, "\t+") == 0);
    Check(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    return 0;
}
