// The simulated drive's parameter table: what callers bind must be there, and fields of one
// parameter never overlap.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sim/SimLayout.h"

namespace arn {
namespace {

TEST(SimLayout, CarriesEveryParameterAndKeyThatCallersBind) {
    for (int32_t number : {68, 159, 161, 213, 214, 247, 248, 249, 250, 267, 268, 271, 343}) {
        EXPECT_NE(FindSimParam(number), nullptr) << number;
    }
    const std::map<int32_t, std::vector<std::string>> keys = {
        {35, {"Enable Req", "InA", "InB"}},
        {168, {"Configuration Source"}},
        {171, {"Operational Mode", "Homing Direction", "Axis Type", "Home Sensor Polarity"}},
        {180, {"Trigger Detected"}},
        {181,
         {"Enable Req", "InA", "InB", "Homing", "Position Recovering", "Motion Pending",
          "Homing Complete"}},
        {265, {"Enable Request OR Override", "Input-A OR Override", "Input-B OR Override"}},
        {285, {"Set Hard Stopped"}},
        {436, {"Teach Absolute Positions", "Homing Ex"}},
    };
    for (const auto& [number, names] : keys) {
        for (const auto& key : names) {
            EXPECT_NO_THROW((void)SimField(number, key)) << number << " " << key;
        }
    }
    EXPECT_EQ(FindSimParam(999), nullptr);
    EXPECT_THROW((void)SimField(181, "No Such Key"), std::logic_error);
}

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
