#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Event.h"
#include "draw/Geometry.h"
#include "toolkit/SurfaceDamage.h"
#include "toolkit/SurfaceInput.h"

namespace arn {
class ArnAbsPosnCtl;
class Control;
}  // namespace arn

namespace arn::win32 {

// What the control's window asks of the OLE object that owns it. The object outlives the
// window it made.
class ControlWindowSite {
  public:
    virtual ~ControlWindowSite() = default;
    // The container's ambient user mode; false in a form designer, where the control draws but
    // takes no clicks and no keys.
    virtual bool UserMode() const = 0;
    // A click or the focus arrived in the window: the object UI-activates.
    virtual void OnWindowActivated() = 0;
    // The window gained or lost the keyboard focus, for the container's focus notification.
    virtual void OnWindowFocus(bool gained) = 0;
};

class EditorBox;
class ToolTipWindow;
class WindowAccessible;

// The panel's window inside a container's window: paints the panel's controls, passes the
// user's mouse and keys to them, opens the editor box over a parameter and shows each control's
// tooltip. The panel's surface is sized in twips to the window's pixels at the screen's logical
// resolution.
//
// Created and used on one thread (the container's user-interface thread).
class ControlWindow {
  public:
    // site must outlive this object.
    ControlWindow(std::shared_ptr<ArnAbsPosnCtl> panel, ControlWindowSite& site);
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;
    // Destroys the window if it exists.
    ~ControlWindow();

    // Makes the window as a hidden child of parent at positionPixels (parent's client
    // coordinates). E_UNEXPECTED when the window exists already; the system's error when it
    // cannot be made.
    HRESULT Create(HWND parent, const RECT& positionPixels);
    // nullptr before Create and after the window went away.
    HWND Handle() const { return m_hwnd; }
    // Moves the window to positionPixels, visible only inside clipPixels (both in the parent's
    // client coordinates), and resizes the panel to the window.
    void SetRects(const RECT& positionPixels, const RECT& clipPixels);
    // Shows or hides the window and tells the panel.
    void Show();
    void Hide();
    // A key message the container offers before dispatching it: Tab, Shift+Tab, Space, Enter
    // and Esc act on the panel and its editor. True when the key was used.
    bool TranslateKey(const MSG& message);

    // Paints the panel as it is now, its design area (the design size from the surface's top
    // left) scaled into boundsPixels of dc: a window's, memory, metafile or printer DC, in the
    // DC's own units. Needs no window. E_POINTER for a null DC, E_INVALIDARG for empty bounds.
    static HRESULT DrawPanel(ArnAbsPosnCtl& panel, HDC dc, const RECT& boundsPixels);

    // A rectangle of the surface (twips) in the window's client pixels (empty before Create),
    // and the text box while a parameter is being edited (nullptr otherwise).
    RECT ClientRect(const Rect& surfaceTwips) const;
    HWND EditorHandle() const;
    // The held and focus-marked controls.
    const SurfaceInput& Input() const { return m_input; }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Subscribe();
    void Paint();
    void ResizePanel();
    void RepaintDamage();
    Point ToTwips(LPARAM position) const;
    // A key for the panel or its editor; true when used.
    bool OnKey(WPARAM key);
    void OnButton(bool down, LPARAM position);
    void UpdateToolTip(LPARAM position);
    void Act(const SurfaceAction& action);
    void OpenEditor(const std::shared_ptr<Control>& editor, const Rect& box);
    // Writes the editor's value; false when it was refused and the box stays open.
    bool CommitEditor();
    void CloseEditor();
    void DropUnreachableEditor();
    // Runs a call into the panel; what it raises is the panel's to report, so the window only
    // beeps and carries on.
    template <class Body>
    void Guarded(Body body);

    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    ControlWindowSite& m_site;
    std::vector<Connection> m_connections;
    SurfaceInput m_input;
    SurfaceDamage m_damage;
    HWND m_hwnd = nullptr;
    // Window pixels per surface twip: the screen's logical resolution.
    double m_scaleX = 0;
    double m_scaleY = 0;
    bool m_repaintPosted = false;
    std::unique_ptr<EditorBox> m_editor;
    std::weak_ptr<Control> m_editing;
    std::unique_ptr<ToolTipWindow> m_toolTip;
    // Handed to accessibility tools; one reference held while the window lives.
    WindowAccessible* m_accessible = nullptr;
};

}  // namespace arn::win32
