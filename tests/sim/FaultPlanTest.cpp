// The fault plan's call counts, which fault sweeps rely on to know how many calls to fail.
#include <gtest/gtest.h>

#include <string>

#include "core/ArnError.h"
#include "sim/FaultPlan.h"

namespace arn {
namespace {

TEST(FaultPlan, CountsByNameAndFailsTheChosenCallsOnce) {
    FaultPlan plan;
    plan.Check("Param", 247);
    // The same name from another buffer, and another name in a reused buffer at the address
    // the first one had: neither may be counted as what the address held before.
    std::string buffer = "Param";
    plan.Check(buffer);
    buffer = "Value";
    plan.Check(buffer);
    plan.Check(std::string("Value"));
    EXPECT_EQ(plan.Calls("Param"), 2);
    EXPECT_EQ(plan.Calls("Value"), 2);

    // Rules match by name and parameter, and count only their own calls.
    plan.Fail("Param", 2, 248);
    EXPECT_NO_THROW(plan.Check("Param", 248));
    EXPECT_NO_THROW(plan.Check("Param", 247));
    EXPECT_THROW(plan.Check("Param", 248), ArnError);
    EXPECT_NO_THROW(plan.Check("Param", 248));
    EXPECT_EQ(plan.Calls("Param"), 6);

    // Clear disarms the k-th call rule, and a number and description may be given. (The fault
    // sweep walks FailCall itself: its count, the failed call's name, parameter and text.)
    plan.FailCall(1);
    plan.Clear();
    EXPECT_NO_THROW(plan.Check("Param", 1));
    plan.FailCall(1, 91, "gone");
    try {
        plan.Check("Param", 2);
        ADD_FAILURE() << "the first call after arming did not fail";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 91);
        EXPECT_EQ(e.description(), "gone");
    }
}

}  // namespace
}  // namespace arn
