#pragma once

#include <windows.h>

#include <oleidl.h>

#include <memory>

#include "platform/win32/com/ComAccessible.h"
#include "platform/win32/com/ComCounted.h"

namespace arn {
class ArnAbsPosnCtl;
class AutomationObject;
}  // namespace arn

namespace arn::win32 {

// What the control's window hands to accessibility tools that ask it (WM_GETOBJECT): the
// panel's elements as IAccessible, placed on the screen through this object's IOleWindow, which
// names the window. The window lets go of it when it goes; a tool that still holds it then
// finds no window, and the places go with it.
class WindowAccessible final : public ComCounted<IOleWindow> {
  public:
    // Made with one reference, the caller's.
    WindowAccessible(std::shared_ptr<ArnAbsPosnCtl> panel, HWND hwnd);

    // The window is going away.
    void Detach() { m_hwnd = nullptr; }
    IAccessible* Accessible() { return &m_accessible; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;

  private:
    ~WindowAccessible() override = default;

    HWND m_hwnd;
    ComAccessible m_accessible;
};

}  // namespace arn::win32
