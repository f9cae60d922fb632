#include "component/win32/WindowAccessible.h"

#include "panel/PanelAutomation.h"

namespace arn::win32 {

WindowAccessible::WindowAccessible(std::shared_ptr<ArnAbsPosnCtl> panel, HWND hwnd)
    : ComCounted(IID_IOleWindow),
      m_hwnd(hwnd),
      m_accessible(static_cast<IOleWindow*>(this), PanelAutomation::Create(std::move(panel))) {}

HRESULT WindowAccessible::QueryInterface(REFIID riid, void** ppv) {
    if (ppv != nullptr && (IsEqualIID(riid, IID_IAccessible) || IsEqualIID(riid, IID_IDispatch))) {
        *ppv = static_cast<IAccessible*>(&m_accessible);
        AddRef();
        return S_OK;
    }
    return ComCounted::QueryInterface(riid, ppv);
}

HRESULT WindowAccessible::GetWindow(HWND* phwnd) {
    if (phwnd == nullptr) {
        return E_POINTER;
    }
    *phwnd = m_hwnd;
    return m_hwnd != nullptr ? S_OK : E_FAIL;
}

HRESULT WindowAccessible::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

}  // namespace arn::win32
