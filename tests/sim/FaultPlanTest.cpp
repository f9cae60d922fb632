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

TEST(FaultPlan, FailsTheKthCallOfAnyOperationOnce) {
    FaultPlan plan;
    plan.Check("Param", 247);
    EXPECT_EQ(plan.TotalCalls(), 1);

    // Counted from the moment it is armed, over every operation and parameter.
    plan.FailCall(3);
    EXPECT_NO_THROW(plan.Check("ParamExists", 265));
    EXPECT_NO_THROW(plan.Check("Field.Value.get"));
    try {
        plan.Check("Number.GetDouble", 68);
        ADD_FAILURE() << "the third call after arming did not fail";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), FaultPlan::kDefaultNumber);
        EXPECT_EQ(e.source(), "SimNode");
        EXPECT_EQ(e.description(), "Simulated failure of call 3 (Number.GetDouble)");
    }
    EXPECT_EQ(plan.LastFailedOp(), "Number.GetDouble");
    EXPECT_EQ(plan.LastFailedParam(), 68);
    // Only that call fails; the count goes on.
    EXPECT_NO_THROW(plan.Check("Number.GetDouble", 68));
    EXPECT_EQ(plan.TotalCalls(), 5);
    EXPECT_EQ(plan.Failures(), 1);

    // Clear disarms it, and a description may be given.
    plan.FailCall(1);
    plan.Clear();
    EXPECT_NO_THROW(plan.Check("Param", 1));
    plan.FailCall(2, 91, "gone");
    EXPECT_NO_THROW(plan.Check("Param", 1));
    try {
        plan.Check("Param", 2);
        ADD_FAILURE() << "the second call after arming did not fail";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 91);
        EXPECT_EQ(e.description(), "gone");
    }
    EXPECT_EQ(plan.TotalCalls(), 8);
}

}  // namespace
}  // namespace arn
