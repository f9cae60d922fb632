#include "panel/PanelAccessibility.h"

#include "toolkit/Control.h"
#include "toolkit/UserControl.h"

namespace arn {

std::vector<AccessibleElement> AccessibleElementsOf(const UserControl& surface) {
    std::vector<AccessibleElement> elements;
    for (const auto& control : surface.Controls()) {
        elements.push_back(control->Accessible());
    }
    return elements;
}

}  // namespace arn
