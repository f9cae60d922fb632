#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/StringTable.h"

namespace arn {
namespace {

// The table is carried twice (compiled in on Linux, a resource of the module on Windows). The
// panel's scenarios read the messages through the controls; here an entry of each block of 16
// and the short ones, and ids around them that must stay empty.
TEST(StringTable, CarriesTheEntriesAndNothingBetween) {
    const std::pair<int32_t, const char*> entries[] = {
        {8000, "Inputs and Commands"},
        {8004, "A"},
        {8005, "B"},
        {8006, "on"},
        {8013, "1)"},
        {8016, "4)"},
        {8100, "On/Off"},
        {8119, "Home Switch"},
        {8136, "Set Home Posn"},
        {18018,
         "Warning: Disconnecting USB will cause disable "
         "even if box is checked."},
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
