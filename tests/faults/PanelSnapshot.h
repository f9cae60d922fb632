#pragma once

#include <map>
#include <string>
#include <vector>

namespace arn {
class ArnAbsPosnCtl;
class ArnFieldLED;
class SimNode;
}  // namespace arn

namespace arn::test {

// Everything a user or the node could tell apart about a panel on a simulated node, as
// "where.what" -> value text: every control's by-name properties, the bindings of its LEDs and
// parameter editors, the panel's state flags, its inputs object's own fields, and the node's
// parameters (the drive's contents and the value objects' contents) with the drive's state.
// Taking it reads the node without the fault plan armed; it changes nothing.
using PanelSnapshot = std::map<std::string, std::string>;

PanelSnapshot TakeSnapshot(const ArnAbsPosnCtl& panel, SimNode& node,
                           const ArnFieldLED* extraLed = nullptr);

// The entries that differ, "key: expected -> actual", at most limit of them; empty when equal.
// Keys for which skip says true are left out.
std::vector<std::string> Differences(const PanelSnapshot& expected, const PanelSnapshot& actual,
                                     std::size_t limit = 8,
                                     bool (*skip)(const std::string& key) = nullptr);

}  // namespace arn::test
