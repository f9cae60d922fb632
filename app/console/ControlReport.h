#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace arn {

class Control;

// The console host's account of the panel's controls, one line per control in control order,
// children indented under their container. Each line gives the qualified name ("inCheck(1)"
// for a group member), the kind, visible and enabled, the position and size in twips, then
// what the kind shows of itself (Control::ReportDetails: a caption, a check box's value, an
// option switch's value and picture, an image's picture, a line's ends, an LED's field, state
// and colours, a parameter editor's parameter, text and unit), and any tooltip.
class ControlReport {
  public:
    static std::string Line(const Control& ctl);
    static void Print(std::ostream& out, const std::vector<std::shared_ptr<Control>>& top);

  private:
    static void PrintTree(std::ostream& out, const Control& ctl, int depth);
};

}  // namespace arn
