#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace arn {

// Text of a number or Boolean joined into a message: numbers in their shortest plain form that
// reads back to the same value (5, 2.5, -0.25; never 5.0 or an exponent), Booleans as
// "True" / "False".
std::string CStr(double v);
std::string CStr(int64_t v);
std::string CStr(bool v);
template <std::integral T>
requires(!std::same_as<T, bool> && !std::same_as<T, int64_t>) std::string CStr(T v) {
    return CStr(static_cast<int64_t>(v));
}

// v rounded to decDigits decimals, a tie going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// decDigits must not be negative.
double RoundHalfEven(double v, int decDigits = 0);

// Format "#,##0.0": digits grouped by thousands with ",", exactly one decimal, a tie rounded
// away from zero (1,234.6 for 1234.55). A value that rounds to zero prints without a sign.
std::string FormatGroupedTenths(double v);
void AppendGroupedTenths(std::string& out, double v);

// Format "0.0": one decimal, no grouping, ties away from zero.
std::string FormatTenths(double v);

// Format "00": at least two digits, the sign before them (7 -> "07", -5 -> "-05", 123 -> "123").
std::string FormatTwoDigits(int64_t v);

// The parts of text between its CR LF pairs, as Split(text, vbCrLf) gives them: n pairs give
// n + 1 parts, so an empty text is one empty part. A lone CR or LF stays inside its part. The
// parts point into text.
std::vector<std::string_view> SplitAtCrLf(std::string_view text);

}  // namespace arn
