// The simulated drive's parameter table: fields of one parameter never overlap.
#include <gtest/gtest.h>

#include <string>

#include "sim/SimLayout.h"

namespace arn {
namespace {

// Fields that do not fit a word are refused when a node builds its values; overlaps are not.
TEST(SimLayout, FieldsOfOneParameterDoNotOverlap) {
    for (const auto& def : SimParamTable()) {
        uint64_t used = 0;
        for (const auto& field : def.fields) {
            SCOPED_TRACE(std::to_string(def.number) + " " + field.key);
            const uint64_t bits = ((uint64_t{1} << field.count) - 1) << field.bit;
            EXPECT_EQ(used & bits, 0u);
            used |= bits;
        }
    }
    // What callers bind is there, or said to be missing.
    EXPECT_EQ(FindSimParam(999), nullptr);
    EXPECT_THROW((void)SimField(181, "No Such Key"), std::logic_error);
}

}  // namespace
}  // namespace arn
