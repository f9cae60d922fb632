#include "platform/StringTable.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace arn {

namespace {

struct Entry {
    int32_t id;
    std::string_view text;
};

// Sorted by id for the binary search below.
constexpr std::array kEntries{
    Entry{8000, "Inputs and Commands"},
    Entry{8001, "Enable"},
    Entry{8002, "Input A"},
    Entry{8003, "Input B"},
    Entry{8004, "A"},
    Entry{8005, "B"},
    Entry{8006, "on"},
    Entry{8007, "off"},
    Entry{8011, "Override Inputs"},
    Entry{8013, "1)"},
    Entry{8014, "2)"},
    Entry{8015, "3)"},
    Entry{8016, "4)"},
    Entry{8017, "Use caution when enabling; current settings will cause immediate motion."},
    Entry{8018,
          "Use caution when enabling via HW input; current settings will cause immediate motion."},
    Entry{8019,
          "Use caution when enabling via Override input; current settings will cause immediate "
          "motion."},
    Entry{8100, "On/Off"},
    Entry{8110, "Click to Stop"},
    Entry{8119, "Home Switch"},
    Entry{8136, "Set Home Posn"},
    Entry{8188,
          "Attempting to teach positions before the unit has been homed will result in a "
          "shutdown"},
    Entry{18018, "Warning: Disconnecting USB will cause disable even if box is checked."},
    Entry{18518,
          "Location of this position is in the same direction as homing, but the axis is not set "
          "as having infinite rotation."},
    Entry{18519,
          "This location is outside the maximum travel distance specified in the Homing Setup "
          "window."},
    Entry{18520,
          "Location of this position is beyond the hard-stop, based on the homing direction "
          "specified in the Homing Setup window."},
};

static_assert(std::ranges::is_sorted(kEntries, {}, &Entry::id));

}  // namespace

std::optional<std::string> LoadResString(int32_t id) {
    const auto* it = std::ranges::lower_bound(kEntries, id, {}, &Entry::id);
    if (it == kEntries.end() || it->id != id) {
        return std::nullopt;
    }
    return std::string(it->text);
}

}  // namespace arn
