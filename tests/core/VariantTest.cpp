#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/NumberConversion.h"
#include "core/RaisedError.h"
#include "core/Variant.h"
#include "fakes/ErrorNumber.h"

namespace arn {
namespace {

using test::ErrorNumber;

TEST(Variant, ConvertsWithAutomationRules) {
    EXPECT_EQ(VariantToLong(Variant(true)), -1);
    EXPECT_EQ(VariantToLong(Variant(std::string(" 42 "))), 42);
    EXPECT_EQ(VariantToLong(Variant(2.5)), 2);  // half to even
    EXPECT_EQ(VariantToLong(Variant(3.5)), 4);
    EXPECT_EQ(VariantToString(Variant(false)), "False");
    EXPECT_EQ(VariantToString(Variant(-0.25)), "-0.25");
    EXPECT_TRUE(VariantToBool(Variant(std::string("True"))));
    EXPECT_EQ(VariantToObject(Variant()), nullptr);

    EXPECT_EQ(ErrorNumber([] { VariantToLong(Variant(std::string("abc"))); }), 13);
    EXPECT_EQ(ErrorNumber([] { VariantToLong(Variant(std::string(""))); }), 13);
    EXPECT_EQ(ErrorNumber([] { VariantToLong(Variant(1e12)); }), 6);
    EXPECT_EQ(ErrorNumber([] { VariantToObject(Variant(1)); }), 13);
}

TEST(NumberConversion, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
    // -32768.5 rounds to its even neighbour, still in range.
    const std::pair<double, int16_t> integers[] = {
        {2.5, 2}, {-2.5, -2}, {-3.5, -4}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [v, rounded] : integers) {
        EXPECT_EQ(ToInteger(v, ""), rounded) << v;
    }
    EXPECT_EQ(ToLong(2147483647.4, ""), 2147483647);
    EXPECT_EQ(ToLong(-2147483648.0, ""), -2147483647 - 1);
    for (const double v : {32767.5, -32769.0, std::nan("")}) {
        EXPECT_EQ(ErrorNumber([v] { ToInteger(v, ""); }), 6) << v;
    }
    EXPECT_EQ(ErrorNumber([] { ToLong(2147483647.5, ""); }), 6);
    EXPECT_EQ(ErrorNumber([] { ToLong(INFINITY, ""); }), 6);
    EXPECT_EQ(test::RaisedError([] { ToLong(1e10, "jogAndSwInputs"); }),
              "6 jogAndSwInputs: Overflow");
}

}  // namespace
}  // namespace arn
