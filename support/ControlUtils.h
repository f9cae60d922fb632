#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace arn {

class CaptionedControl;
class Control;
class Dispatch;
class Form;
class UserControl;

// Resolves a resource placeholder: a text starting ":####:" or ":#####:" (four or five digits
// between colons) becomes the string-table entry of that id, dropping whatever followed the
// placeholder. Any other text, and a placeholder whose id has no entry, comes back unchanged.
std::string ResCaption(std::string_view text);

// Replaces the placeholders in the captions, tooltips and texts of the controls by their
// table entries, choosing the properties by each control's type name. A property a control
// lacks, or that cannot be read or written, is skipped and the walk goes on; nothing throws.
void LocalizeControl(Dispatch& control);
void LocalizeControls(const std::vector<std::shared_ptr<Control>>& controls);
void LocalizeControls(const std::vector<std::shared_ptr<Dispatch>>& controls);
// Every control of a panel surface, at every nesting level.
void LocalizeControls(const UserControl& surface);
// A form: its own Caption first, then its controls.
void LocalizeControls(Form& form, const std::vector<std::shared_ptr<Control>>& controls = {});

// Controls the user types into or clicks to change something; false for nullptr.
bool IsUserInputControl(const Dispatch* control);
// Controls that show nothing the user acts on (timers, lines, shapes, progress bars).
bool IsPassiveControl(const Dispatch* control);

// Shows message on a yellow label, hiding the label when the message is empty.
void ShowMessageLabel(CaptionedControl& label, const std::string& message);

}  // namespace arn
