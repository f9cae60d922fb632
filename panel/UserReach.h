#pragma once

#include <string>

namespace arn {

class ArnAbsPosnCtl;
class Control;

// Why a control of the panel is out of the user's reach now, in the user's words, for the hosts
// that refuse a click or an entry and say why: "the panel is released", "the panel is
// disabled", or the panel's own rule for that control (the override boxes act only while
// "Override Inputs" is checked, the hand-over waits for the hardware Enable to clear, the
// positions are locked while homing runs, ...). It reads the same state the panel enables its
// controls by, and changes nothing.
std::string WhyOutOfReach(const ArnAbsPosnCtl& panel, const Control& control);

}  // namespace arn
