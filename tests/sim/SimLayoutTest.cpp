// The simulated drive's parameter table: fields of one parameter never overlap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(SimLayout, PinsAndOverridesLineUpForTheSoftwareCopy) {
    // Bits 0..2 of the input register, shifted by 16, must land on the three overrides in order.
    const char* pins[] = {"Enable Req", "InA", "InB"};
    const char* overrides[] = {"Enable Request OR Override", "Input-A OR Override",
                               "Input-B OR Override"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SimFieldSet(35, pins[i], 0, 1) << 16, SimFieldSet(265, overrides[i], 0, 1)) << i;
        EXPECT_EQ(SimField(35, pins[i]).bit, i);
        EXPECT_EQ(SimField(35, pins[i]).count, 1);
    }
    EXPECT_EQ(SimFieldGet(171, "Operational Mode", 0x1FF), 0xFFu);
    EXPECT_EQ(SimFieldSet(171, "Operational Mode", 0x100, 0x108), 0x108u) << "masked to 8 bits";
}

}  // namespace
}  // namespace arn
