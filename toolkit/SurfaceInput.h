#pragma once

#include <memory>
#include <vector>

#include "core/Event.h"
#include "draw/Geometry.h"

namespace arn {

class Control;
class UserControl;

// What the host does after a press, a release or Space.
struct SurfaceAction {
    enum class Kind {
        None,           // nothing: the input missed, or only the pressed look changed
        Ignored,        // the control is shown but out of the user's reach; the host says why
        Click,          // the host calls control->UserClick(), reporting what it throws
        Edit,           // the host opens its text editor over editorRect
        NothingToEdit,  // an in-place editor without a value behind it; the host says so
    };
    Kind kind = Kind::None;
    std::shared_ptr<Control> control;
    // In surface twips; set for Edit only.
    Rect editorRect;
};

// How the user's mouse and keyboard reach the controls of one surface, the same for every
// host: the host converts its device units to surface twips, passes its events here and acts
// on the SurfaceAction it gets back. It holds no host state (no editor box, no tooltip).
//
// A press on a usable clickable control holds it; while held, the control looks pressed as
// long as the pointer stays over it, and a release over it activates it. Tab and Shift+Tab walk
// a focus mark over the controls that take the focus, in control order; Space activates the
// marked control.
//
// The surface must outlive this object; controls are held weakly, so a control that goes away
// simply stops being pressed or focused.
class SurfaceInput {
  public:
    explicit SurfaceInput(const UserControl& surface);
    SurfaceInput(const SurfaceInput&) = delete;
    SurfaceInput& operator=(const SurfaceInput&) = delete;

    // The topmost shown control under at that accepts clicks, or that has a tooltip
    // (nullptr: none).
    std::shared_ptr<Control> ClickableAt(Point at) const;
    std::shared_ptr<Control> ToolTipAt(Point at) const;

    // The primary button. Press returns Ignored for a shown control out of the user's reach,
    // else None; Release returns the activation when it ends over the pressed control.
    SurfaceAction Press(Point at);
    void Move(Point at);
    SurfaceAction Release(Point at);
    // The control that looks pressed: held and under the pointer (nullptr otherwise).
    const Control* Pressed() const;

    // The controls that take the focus now, in control order.
    std::vector<std::shared_ptr<Control>> FocusChain() const;
    std::shared_ptr<Control> FocusedControl() const { return m_focus.lock(); }
    const Control* Focused() const { return m_focus.lock().get(); }
    // One step along the chain (forward: Tab). Stepping past either end clears the mark and
    // returns false: the focus goes back to the host's other widgets.
    bool Tab(bool forward);
    // The focus arrives from the host by Tab (forward) or Shift+Tab: without a mark, the first
    // or the last of the chain gets it.
    void EnterByTab(bool forward);
    // None when nothing is marked (the host passes the key on); Ignored for a marked control
    // that went out of the user's reach; else its activation.
    SurfaceAction Space();

    // Raised with each control whose pressed or focused look changes, for the host to repaint.
    Event<const Control&> LookChanged;

  private:
    template <class Wanted>
    std::shared_ptr<Control> TopmostAt(Point at, Wanted wanted) const;
    static SurfaceAction Activation(const std::shared_ptr<Control>& ctl);
    void SetPressedInside(bool inside);
    void SetFocus(const std::shared_ptr<Control>& target);

    const UserControl& m_surface;
    std::weak_ptr<Control> m_pressed;
    bool m_pressedInside = false;
    std::weak_ptr<Control> m_focus;
};

}  // namespace arn
