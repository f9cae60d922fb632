#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/ToolTipWindow.h"

namespace arn::win32 {

// The system's text box over a parameter editor while the user types a value. Enter and Esc
// typed into the box go to the parent window as its own key-down messages, so the owner
// handles them wherever the keys arrive; the parent may destroy the box while handling them.
//
// A refused entry keeps the box open with the text selected, beeps and shows why in a warning
// balloon under the box, as Windows' own boxes show a rejected character; the next key the user
// types takes the balloon away.
class EditorBox {
  public:
    // A child of parent at box (parent's client pixels), holding text right-aligned and all
    // selected, with the keyboard focus. fontHeightPx: the text's character height.
    EditorBox(HWND parent, const RECT& box, const std::wstring& text, int fontHeightPx);
    EditorBox(const EditorBox&) = delete;
    EditorBox& operator=(const EditorBox&) = delete;
    ~EditorBox();

    // Null when the system could not make the box.
    HWND Handle() const { return m_edit; }
    std::wstring Text() const;
    // The text as the user's number: the plain C form first ("1500.5"), then with the user's
    // own decimal and thousands separators ("1.500,5"); nullopt for anything else.
    std::optional<double> Number() const;
    void Move(const RECT& box);
    void Refuse(const std::wstring& why);
    // Why the last entry was refused while the balloon shows it, else empty.
    std::wstring Refusal() const { return m_message.Text(); }

  private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_parent;
    HFONT m_font = nullptr;
    HWND m_edit = nullptr;
    WNDPROC m_editProc = nullptr;
    ToolTipWindow m_message;
};

}  // namespace arn::win32
