#include "app/console/ControlReport.h"

#include <cstddef>
#include <string>

#include "toolkit/Control.h"
#include "toolkit/ReportText.h"

namespace arn {

namespace {

constexpr int kIndentPerLevel = 2;
constexpr int kNameColumn = 22;
constexpr int kKindColumn = 20;

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

}  // namespace

std::string ControlReport::Line(const Control& ctl) {
    std::string line = Padded(ctl.QualifiedName(), kNameColumn) + " " +
                       Padded(ctl.TypeName(), kKindColumn) +
                       " visible=" + Padded(report::YesNo(ctl.get_Visible()), 3) +
                       " enabled=" + Padded(report::YesNo(ctl.get_Enabled()), 3) +
                       " at=" + std::to_string(ctl.get_Left()) + "," +
                       std::to_string(ctl.get_Top()) + " size=" + std::to_string(ctl.get_Width()) +
                       "x" + std::to_string(ctl.get_Height()) + ctl.ReportDetails();
    if (!ctl.get_ToolTipText().empty()) {
        line += " tooltip=\"" + ctl.get_ToolTipText() + "\"";
    }
    return line;
}

void ControlReport::Print(std::ostream& out, const std::vector<std::shared_ptr<Control>>& top) {
    for (const auto& ctl : top) {
        PrintTree(out, *ctl, 1);
    }
}

void ControlReport::PrintTree(std::ostream& out, const Control& ctl, int depth) {
    out << std::string(static_cast<size_t>(depth * kIndentPerLevel), ' ') << Line(ctl) << "\n";
    for (const auto& child : ctl.Children()) {
        PrintTree(out, *child, depth + 1);
    }
}

}  // namespace arn
