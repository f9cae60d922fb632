#pragma once

#include <vector>

#include "core/AccessibleElement.h"

namespace arn {

class UserControl;

// The accessible elements of every control of surface, in control order, each as its kind
// describes itself (Control::Accessible): buttons and the setup sub-panels are push buttons
// pressed as a user's click presses them, check boxes (the Threed ones too) check buttons toggled
// as a click toggles them, labels static text, frames, picture boxes and the feedback sub-panel
// groupings, images, lines and outlines graphics, parameter editors text (without a default
// action: the view edits the value), field LEDs indicators (checked while lit); a control of
// another kind is a client. Reading a bound editor or LED reads its field, whose errors reach
// the caller.
std::vector<AccessibleElement> AccessibleElementsOf(const UserControl& surface);

}  // namespace arn
