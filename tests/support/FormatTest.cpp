#include <gtest/gtest.h>

#include <limits>

#include "support/Format.h"

namespace arn {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Format, NumbersAsConcatenationTenthsAndTwoDigits) {
    // Value, CStr, FormatTenths, FormatGroupedTenths: tenths round ties away from zero.
    const struct {
        double v;
        const char *text, *tenths, *grouped;
    } rows[] = {
        {5.0, "5", "5.0", "5.0"},
        {-0.25, "-0.25", "-0.3", "-0.3"},
        {-0.0, "0", "0.0", "0.0"},
        {1e20, "100000000000000000000", "100000000000000000000.0", "100,000,000,000,000,000,000.0"},
        {1.5e-7, "0.00000015", "0.0", "0.0"},
        {0.05, "0.05", "0.1", "0.1"},
        {999.96, "999.96", "1000.0", "1,000.0"},
        {1234567.84, "1234567.84", "1234567.8", "1,234,567.8"},
        {-1234.5, "-1234.5", "-1234.5", "-1,234.5"},
        {-0.01, "-0.01", "0.0", "0.0"},
        {-2.25, "-2.25", "-2.3", "-2.3"},
        {kNaN, "NaN", "NaN", "NaN"},
        {kInf, "Infinity", "Infinity", "Infinity"},
        {-kInf, "-Infinity", "-Infinity", "-Infinity"}};
    for (const auto& row : rows) {
        EXPECT_EQ(CStr(row.v), row.text);
        EXPECT_EQ(FormatTenths(row.v), row.tenths) << row.text;
        EXPECT_EQ(FormatGroupedTenths(row.v), row.grouped) << row.text;
    }
    EXPECT_EQ(CStr(int64_t{-9000000000}), "-9000000000");
    EXPECT_EQ(CStr(true) + CStr(false), "TrueFalse");
    const std::pair<int64_t, const char*> two[] = {
        {0, "00"},   {7, "07"},    {123, "123"},
        {-1, "-01"}, {-59, "-59"}, {std::numeric_limits<int64_t>::min(), "-9223372036854775808"}};
    for (const auto& [n, text] : two) {
        EXPECT_EQ(FormatTwoDigits(n), text);
    }
}

TEST(Format, RoundHalfEvenAtAnyPlace) {
    const struct {
        double v;
        int digits;
        double rounded;
    } rows[] = {{2.5, 0, 2.0},  {3.5, 0, 4.0},    {-2.5, 0, -2.0},  {-3.5, 0, -4.0},
                {2.51, 0, 3.0}, {0.125, 2, 0.12}, {0.375, 2, 0.38}, {1e300, 5, 1e300}};
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(RoundHalfEven(row.v, row.digits), row.rounded) << row.v;
    }
}

}  // namespace
}  // namespace arn
