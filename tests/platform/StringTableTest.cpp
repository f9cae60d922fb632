#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/StringTable.h"

namespace arn {
namespace {

// The table is carried twice (compiled in on Linux, a resource of the module on Windows):
// every entry the panel uses must read back the same on both.
TEST(StringTable, CarriesEveryEntryThePanelUsesAndNothingBetween) {
    const std::pair<int32_t, const char*> entries[] = {
        {8000, "Inputs and Commands"},
        {8001, "Enable"},
        {8002, "Input A"},
        {8003, "Input B"},
        {8004, "A"},
        {8005, "B"},
        {8006, "on"},
        {8007, "off"},
        {8011, "Override Inputs"},
        {8013, "1)"},
        {8014, "2)"},
        {8015, "3)"},
        {8016, "4)"},
        {8017, "Use caution when enabling; current settings will cause immediate motion."},
        {8018,
         "Use caution when enabling via HW input; current settings will cause immediate motion."},
        {8019,
         "Use caution when enabling via Override input; current settings will cause immediate "
         "motion."},
        {8100, "On/Off"},
        {8110, "Click to Stop"},
        {8119, "Home Switch"},
        {8136, "Set Home Posn"},
        {8188,
         "Attempting to teach positions before the unit has been homed will result in a "
         "shutdown"},
        {18018, "Warning: Disconnecting USB will cause disable even if box is checked."},
        {18518,
         "Location of this position is in the same direction as homing, but the axis is not set "
         "as having infinite rotation."},
        {18519,
         "This location is outside the maximum travel distance specified in the Homing Setup "
         "window."},
        {18520,
         "Location of this position is beyond the hard-stop, based on the homing direction "
         "specified in the Homing Setup window."},
    };
    for (const auto& [id, text] : entries) {
        EXPECT_EQ(LoadResString(id), std::optional<std::string>(text)) << id;
    }
    // Neighbours in the same blocks of 16, and ids no table can hold.
    for (int32_t id : {7999, 8008, 8012, 8020, 8111, 8135, 18517, 18521, 0, -1, 70000}) {
        EXPECT_EQ(LoadResString(id), std::nullopt) << id;
    }
}

}  // namespace
}  // namespace arn
