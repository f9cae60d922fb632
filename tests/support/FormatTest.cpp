#include <gtest/gtest.h>

#include <limits>

#include "support/Format.h"

namespace arn {
namespace {

TEST(Format, ConcatenationTextIsShortestPlainForm) {
    EXPECT_EQ(CStr(5.0), "5");
    EXPECT_EQ(CStr(-0.25), "-0.25");
    EXPECT_EQ(CStr(-0.0), "0");
    EXPECT_EQ(CStr(1e20), "100000000000000000000");
    EXPECT_EQ(CStr(1.5e-7), "0.00000015");
    EXPECT_EQ(CStr(int64_t{-9000000000}), "-9000000000");
    EXPECT_EQ(CStr(true), "True");
    EXPECT_EQ(CStr(false), "False");
}

TEST(Format, ConcatenationTextNamesNonFiniteValuesAsTheTenthsDo) {
    EXPECT_EQ(CStr(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(CStr(std::numeric_limits<double>::infinity()), "Infinity");
    EXPECT_EQ(CStr(-std::numeric_limits<double>::infinity()), "-Infinity");
    EXPECT_EQ(FormatTenths(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(FormatGroupedTenths(-std::numeric_limits<double>::infinity()), "-Infinity");
}

TEST(Format, TenthsRoundTiesAwayFromZeroAndGroupThousands) {
    EXPECT_EQ(FormatGroupedTenths(0.04), "0.0");
    EXPECT_EQ(FormatGroupedTenths(0.05), "0.1");
    EXPECT_EQ(FormatGroupedTenths(0.25), "0.3");
    EXPECT_EQ(FormatGroupedTenths(999.96), "1,000.0");
    EXPECT_EQ(FormatGroupedTenths(1234567.84), "1,234,567.8");
    EXPECT_EQ(FormatGroupedTenths(-1234.5), "-1,234.5");
    EXPECT_EQ(FormatGroupedTenths(-0.01), "0.0");
    EXPECT_EQ(FormatGroupedTenths(1e18), "1,000,000,000,000,000,000.0");
    EXPECT_EQ(FormatTenths(12345.67), "12345.7");
    EXPECT_EQ(FormatTenths(-2.25), "-2.3");
}

TEST(Format, TwoDigitsKeepTheSignInFront) {
    EXPECT_EQ(FormatTwoDigits(0), "00");
    EXPECT_EQ(FormatTwoDigits(7), "07");
    EXPECT_EQ(FormatTwoDigits(123), "123");
    EXPECT_EQ(FormatTwoDigits(-1), "-01");
    EXPECT_EQ(FormatTwoDigits(-59), "-59");
    EXPECT_EQ(FormatTwoDigits(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(FormatTwoDigits(std::numeric_limits<int64_t>::max()), "9223372036854775807");
}

TEST(Format, RoundHalfEvenAtAnyPlace) {
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(2.51), 3.0);
    EXPECT_DOUBLE_EQ(RoundHalfEven(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(RoundHalfEven(0.375, 2), 0.38);
    EXPECT_EQ(RoundHalfEven(1e300, 5), 1e300);
}

}  // namespace
}  // namespace arn
