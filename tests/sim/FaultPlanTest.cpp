// The fault plan's call counts, which fault sweeps rely on to know how many calls to fail.
#include <gtest/gtest.h>

#include <string>

#include "core/ArnError.h"
#include "sim/FaultPlan.h"

namespace arn {
namespace {

TEST(FaultPlan, CountsByNameWhereverTheNameIsStored) {
    FaultPlan plan;
    plan.Check("Param", 247);
    plan.Check("Param", 248);
    // The same name from another buffer, and another name in a reused buffer at the address
    // the first one had: neither may be counted as what the address held before.
    std::string buffer = "Param";
    plan.Check(buffer);
    buffer = "Value";
    plan.Check(buffer);
    plan.Check(std::string("Value"));
    EXPECT_EQ(plan.Calls("Param"), 3);
    EXPECT_EQ(plan.Calls("Value"), 2);
    EXPECT_EQ(plan.Calls("Number.GetDouble"), 0);

    // Rules still match by name and parameter, and count only their own calls.
    plan.Fail("Param", 2, 248);
    EXPECT_NO_THROW(plan.Check("Param", 248));
    EXPECT_NO_THROW(plan.Check("Param", 247));
    EXPECT_THROW(plan.Check("Param", 248), ArnError);
    EXPECT_NO_THROW(plan.Check("Param", 248));
    EXPECT_EQ(plan.Failures(), 1);
    EXPECT_EQ(plan.Calls("Param"), 7);
}

}  // namespace
}  // namespace arn
