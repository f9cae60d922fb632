#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace arn::win32 {

// One tooltip of the common controls for a window: either the hover tip of one area of the
// window's client (the area under the mouse, as the owner sets it) or a balloon that the owner
// shows and hides itself, pointing at a spot (a message about what the user just did).
//
// Made and used on the owner's thread; the tooltip window goes with this object.
class ToolTipWindow {
  public:
    enum class Kind { Hover, Balloon };
    // The tooltip stays unmade (Handle() is null) where the common controls cannot make one;
    // every call then does nothing.
    ToolTipWindow(HWND owner, Kind kind);
    ToolTipWindow(const ToolTipWindow&) = delete;
    ToolTipWindow& operator=(const ToolTipWindow&) = delete;
    ~ToolTipWindow();

    HWND Handle() const { return m_tip; }
    // The text shown while the mouse rests in area (owner's client coordinates); an empty text
    // shows nothing. Hover only.
    void SetArea(const RECT& area, const std::wstring& text);
    // Shows the balloon with title and text, its stem at at (screen coordinates), until Hide.
    void ShowAt(POINT at, const std::wstring& title, const std::wstring& text);
    void Hide();
    // The text the tip shows now (empty when none).
    std::wstring Text() const { return m_text; }

  private:
    TTTOOLINFOW ToolInfo();

    HWND m_owner;
    HWND m_tip = nullptr;
    std::wstring m_text;
};

}  // namespace arn::win32
