#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace arn {

// One element of an object's user interface as an assistive or UI-automation tool sees it,
// in platform-neutral terms; a component runtime maps it onto the platform's accessibility
// interface. It is a snapshot: the fields describe the element when it was taken, and only
// doDefaultAction reaches the live element.
struct AccessibleElement {
    // What the element is to a tool, as few kinds as the user interfaces need.
    enum class Role : uint8_t {
        Client,       // a surface that holds the other elements
        PushButton,   // a button that runs a command
        CheckButton,  // a box that is checked, unchecked or (three-state) mixed
        StaticText,   // a caption
        Graphic,      // an image, a drawn line or outline
        Grouping,     // a box that groups other elements
        Text,         // an editable text or number
        Indicator,    // a lamp that shows a state
    };

    // The text the user sees on the element: its caption, or an edit box's text; empty when
    // it shows none.
    std::string name;
    // The element's name in code, with its index in parentheses when it is one of a group,
    // then ": " and its tooltip when it has one (e.g. "teachingCmd: Teaching Setup"). The name
    // in code is unique on its surface, so a tool can find an element by it whatever the
    // captions' language.
    std::string description;
    Role role = Role::Client;
    // Enabled itself; an element is available to the user when it is enabled and visible.
    bool enabled = true;
    // Visible itself and inside visible containers.
    bool visible = true;
    // For check buttons: checked, or in the third state (mixed); for indicators: checked while
    // lit. Both false otherwise.
    bool checked = false;
    bool mixed = false;
    // Where the element sits on its object's surface, in twips: left, top, width and height.
    // A platform that shows the surface in a window maps it to the screen; an element without a
    // place of its own has no width and no height.
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    // The name of what doDefaultAction does ("Press", "Check", "Uncheck"); empty when the
    // element has no default action.
    std::string defaultAction;
    // Does to the live element what a user's click does, events included. Empty when the
    // element has no default action; does nothing while the element is unavailable (at the
    // time of the call, not of the snapshot) or after it is gone.
    std::function<void()> doDefaultAction;

    // The shapes that several kinds share. A push button is pressed by its default action.
    void MakePushButton(std::string caption) {
        role = Role::PushButton;
        name = std::move(caption);
        defaultAction = "Press";
    }
    // A check button's default action checks an unchecked box and unchecks any other, the
    // third state included.
    void MakeCheckButton(std::string caption, bool isChecked, bool isMixed) {
        role = Role::CheckButton;
        name = std::move(caption);
        checked = isChecked;
        mixed = isMixed;
        defaultAction = isChecked || isMixed ? "Uncheck" : "Check";
    }
};

}  // namespace arn
