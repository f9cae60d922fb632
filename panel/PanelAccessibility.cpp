#include "panel/PanelAccessibility.h"

#include <string>

#include "host/controls/ArnFieldLED.h"
#include "host/controls/ParamEditor.h"
#include "host/controls/SetupSubPanel.h"
#include "host/controls/SubPanel.h"
#include "toolkit/CheckBox.h"
#include "toolkit/CommandButton.h"
#include "toolkit/Control.h"
#include "toolkit/Frame.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Line.h"
#include "toolkit/PictureBox.h"
#include "toolkit/SSCheck.h"
#include "toolkit/SSCommand.h"
#include "toolkit/Shape.h"
#include "toolkit/UserControl.h"

namespace arn {

namespace {

using Role = AccessibleElement::Role;

std::string Description(const Control& control) {
    std::string text = control.get_Name();
    if (control.get_Index() >= 0) {
        text += "(" + std::to_string(control.get_Index()) + ")";
    }
    const std::string tip = control.get_ToolTipText();
    if (!tip.empty()) {
        text += ": " + tip;
    }
    return text;
}

// The element holds the control weakly: a snapshot kept by a tool must not keep a dropped
// panel alive. Each kind's UserClick ignores the click while the control is out of reach.
std::function<void()> UserClickOf(const std::shared_ptr<Control>& control) {
    std::weak_ptr<Control> weak = control;
    return [weak] {
        if (auto live = weak.lock()) {
            live->UserClick();
        }
    };
}

void MakePushButton(AccessibleElement& element, const std::shared_ptr<Control>& control,
                    std::string name) {
    element.role = Role::PushButton;
    element.name = std::move(name);
    element.defaultAction = "Press";
    element.doDefaultAction = UserClickOf(control);
}

// A click checks an unchecked box and unchecks any other, the third state included.
void MakeCheckButton(AccessibleElement& element, const std::shared_ptr<Control>& control,
                     std::string name, bool checked, bool mixed) {
    element.role = Role::CheckButton;
    element.name = std::move(name);
    element.checked = checked;
    element.mixed = mixed;
    element.defaultAction = checked || mixed ? "Uncheck" : "Check";
    element.doDefaultAction = UserClickOf(control);
}

}  // namespace

AccessibleElement AccessibleElementOf(const std::shared_ptr<Control>& control) {
    AccessibleElement element;
    element.description = Description(*control);
    element.enabled = control->get_Enabled();
    element.visible = control->IsShown();
    Control* c = control.get();
    if (auto* button = dynamic_cast<CommandButton*>(c)) {
        MakePushButton(element, control, button->get_Caption());
    } else if (auto* threedButton = dynamic_cast<SSCommand*>(c)) {
        MakePushButton(element, control, threedButton->get_Caption());
    } else if (auto* setup = dynamic_cast<SetupSubPanel*>(c)) {
        MakePushButton(element, control, setup->get_Caption());
    } else if (auto* box = dynamic_cast<CheckBox*>(c)) {
        MakeCheckButton(element, control, box->get_Caption(), box->get_Value() == CheckBox::Checked,
                        box->get_Value() == CheckBox::Grayed);
    } else if (auto* threedBox = dynamic_cast<SSCheck*>(c)) {
        MakeCheckButton(element, control, threedBox->get_Caption(), threedBox->get_CheckValue(),
                        false);
    } else if (auto* label = dynamic_cast<Label*>(c)) {
        element.role = Role::StaticText;
        element.name = label->get_Caption();
    } else if (auto* frame = dynamic_cast<Frame*>(c)) {
        element.role = Role::Grouping;
        element.name = frame->get_Caption();
    } else if (auto* panel = dynamic_cast<SubPanel*>(c)) {
        element.role = Role::Grouping;
        element.name = panel->get_Caption();
    } else if (dynamic_cast<PictureBox*>(c) != nullptr) {
        element.role = Role::Grouping;
    } else if (auto* editor = dynamic_cast<ParamEditor*>(c)) {
        element.role = Role::Text;
        element.name = editor->DisplayText();
        element.enabled = element.enabled && editor->get_Active();
    } else if (auto* led = dynamic_cast<ArnFieldLED*>(c)) {
        element.role = Role::Indicator;
        element.checked = led->IsLit();
    } else if (dynamic_cast<Image*>(c) != nullptr || dynamic_cast<Line*>(c) != nullptr ||
               dynamic_cast<Shape*>(c) != nullptr) {
        element.role = Role::Graphic;
    }
    return element;
}

std::vector<AccessibleElement> AccessibleElementsOf(const UserControl& surface) {
    std::vector<AccessibleElement> elements;
    for (const auto& control : surface.Controls()) {
        elements.push_back(AccessibleElementOf(control));
    }
    return elements;
}

}  // namespace arn
