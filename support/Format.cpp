#include "support/Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace arn {

namespace {

// Huge or non-finite values: printf rounds the exact binary value to one decimal.
void AppendTenthsSlow(std::string& out, double v, bool group) {
    char text[400];
    const int n = std::snprintf(text, sizeof text, "%.1f", std::fabs(v));
    if (n <= 0 || static_cast<size_t>(n) >= sizeof text || !std::isfinite(v)) {
        out += std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity");
        return;
    }
    if (v < 0) {
        out.push_back('-');
    }
    const std::string_view all(text, static_cast<size_t>(n));
    const size_t point = all.find('.');
    const std::string_view whole = all.substr(0, point);
    if (!group) {
        out.append(all);
        return;
    }
    const size_t lead = whole.size() % 3 == 0 ? 3 : whole.size() % 3;
    out.append(whole.substr(0, lead));
    for (size_t i = lead; i < whole.size(); i += 3) {
        out.push_back(',');
        out.append(whole.substr(i, 3));
    }
    out.append(all.substr(point));
}

// One decimal, ties away from zero, optionally grouped. Trace lines format two numbers each,
// so the common case writes digits backwards into a small buffer and appends once. Values too
// large for 64-bit tenths (from 9e17 on) take the slow path through printf.
void AppendTenths(std::string& out, double v, bool group) {
    const double scaled = std::fabs(v) * 10.0;
    if (!(scaled < 9.0e18)) {
        AppendTenthsSlow(out, v, group);
        return;
    }
    // Below 2^53 the fraction is exact, so a tie is seen as a tie.
    auto tenths = static_cast<uint64_t>(scaled);
    if (scaled - static_cast<double>(tenths) >= 0.5) {
        ++tenths;
    }
    char text[40];
    char* p = text + sizeof text;
    *--p = static_cast<char>('0' + tenths % 10);
    *--p = '.';
    uint64_t whole = tenths / 10;
    int untilComma = 3;
    while (true) {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
        if (whole == 0) {
            break;
        }
        if (group && --untilComma == 0) {
            *--p = ',';
            untilComma = 3;
        }
    }
    if (v < 0 && tenths != 0) {
        *--p = '-';
    }
    out.append(p, static_cast<size_t>(text + sizeof text - p));
}

}  // namespace

std::string CStr(double v) {
    if (v == 0.0) {
        return "0";  // also for -0.0
    }
    // to_chars spells these "nan" and "inf"; the trace spells them as its other formats do.
    if (!std::isfinite(v)) {
        return std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity");
    }
    char text[400];  // the fixed form of the largest double has 309 digits
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed);
    if (ec != std::errc()) {
        return std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity");
    }
    return std::string(text, end);
}

std::string CStr(int64_t v) {
    char text[24];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    (void)ec;
    return std::string(text, end);
}

std::string CStr(bool v) {
    return v ? "True" : "False";
}

double RoundHalfEven(double v, int decDigits) {
    if (!std::isfinite(v)) {
        return v;
    }
    const double scale = std::pow(10.0, decDigits);
    const double scaled = v * scale;
    // From 2^52 on every double is a whole number: nothing is left to round at this scale.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) {
        return v;
    }
    const double floor = std::floor(scaled);
    const double diff = scaled - floor;
    double rounded = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
        rounded = floor + 1.0;
    }
    return decDigits == 0 ? rounded : rounded / scale;
}

std::string FormatGroupedTenths(double v) {
    std::string out;
    AppendGroupedTenths(out, v);
    return out;
}

void AppendGroupedTenths(std::string& out, double v) {
    AppendTenths(out, v, true);
}

std::string FormatTenths(double v) {
    std::string out;
    AppendTenths(out, v, false);
    return out;
}

std::string FormatTwoDigits(int64_t v) {
    std::string out;
    if (v < 0) {
        out.push_back('-');
    }
    const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    if (magnitude < 10) {
        out.push_back('0');
    }
    // The magnitude of the most negative value does not fit a signed number.
    char text[24];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, magnitude);
    (void)ec;
    out.append(text, end);
    return out;
}

std::vector<std::string_view> SplitAtCrLf(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

}  // namespace arn
