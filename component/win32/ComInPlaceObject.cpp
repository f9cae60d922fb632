#include "component/win32/ComInPlaceObject.h"

#include <ocidl.h>

#include <utility>

namespace arn::win32 {

using Microsoft::WRL::ComPtr;

ComInPlaceObject::ComInPlaceObject(IUnknown* outer, std::shared_ptr<ArnAbsPosnCtl> panel,
                                   ControlClientSite& site)
    : ComOuterUnknown(outer), m_panel(std::move(panel)), m_site(site) {}

ComInPlaceObject::~ComInPlaceObject() {
    // The container let go of the object without deactivating it: no calls go out any more.
    m_ending = true;
    m_window.reset();
}

HRESULT ComInPlaceObject::Activate(bool uiActivate, const RECT* position) {
    const ComPtr<IUnknown> hold(Outer());  // the container may let go of us while we call it
    HRESULT hr = InPlaceActivate(position);
    // The window's own style, not its visibility on screen: a hidden form keeps its shown
    // control shown.
    if (SUCCEEDED(hr) && m_window != nullptr &&
        (GetWindowLongPtrW(m_window->Handle(), GWL_STYLE) & WS_VISIBLE) == 0) {
        m_window->Show();
    }
    if (SUCCEEDED(hr) && uiActivate) {
        hr = UIActivate();
    }
    return hr;
}

HRESULT ComInPlaceObject::InPlaceActivate(const RECT* position) {
    if (m_inPlaceSite != nullptr) {
        if (position != nullptr && !IsRectEmpty(position) && m_window != nullptr) {
            m_window->SetRects(*position, *position);
        }
        return S_OK;
    }
    if (m_site.Get() == nullptr) {
        return E_UNEXPECTED;
    }
    const ComPtr<IOleInPlaceSite> site = m_site.Query<IOleInPlaceSite>();
    if (site == nullptr) {
        return E_NOINTERFACE;
    }
    if (site->CanInPlaceActivate() != S_OK || FAILED(site->OnInPlaceActivate())) {
        return E_FAIL;
    }
    m_inPlaceSite = site;
    HWND parent = nullptr;
    RECT place{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    HRESULT hr = site->GetWindow(&parent);
    if (SUCCEEDED(hr)) {
        hr = site->GetWindowContext(&m_frame, &m_document, &place, &clip, &frameInfo);
    }
    if (SUCCEEDED(hr) && parent == nullptr) {
        hr = E_FAIL;
    }
    if (SUCCEEDED(hr)) {
        // Some containers pass SetExtent a size in the wrong units; the verb's rectangle and
        // SetObjectRects are in the parent's pixels, which is what the window needs.
        if (position != nullptr && !IsRectEmpty(position)) {
            place = *position;
        }
        if (IsRectEmpty(&clip)) {
            clip = place;
        }
        m_window = std::make_unique<ControlWindow>(m_panel, *this);
        hr = m_window->Create(parent, place);
    }
    if (FAILED(hr)) {
        InPlaceDeactivate();
        return hr;
    }
    m_window->SetRects(place, clip);
    return S_OK;
}

HRESULT ComInPlaceObject::UIActivate() {
    if (m_uiActive) {
        return S_OK;
    }
    // Set first: the focus moving into the window asks for UI activation again.
    m_uiActive = true;
    m_inPlaceSite->OnUIActivate();
    if (m_window != nullptr && GetFocus() != m_window->Handle()) {
        SetFocus(m_window->Handle());
    }
    SetActiveObject(this);
    if (m_frame != nullptr) {
        m_frame->SetBorderSpace(nullptr);
    }
    if (m_document != nullptr) {
        m_document->SetBorderSpace(nullptr);
    }
    return S_OK;
}

void ComInPlaceObject::SetActiveObject(IOleInPlaceActiveObject* active) {
    if (m_frame != nullptr) {
        m_frame->SetActiveObject(active, nullptr);
    }
    if (m_document != nullptr) {
        m_document->SetActiveObject(active, nullptr);
    }
}

HRESULT ComInPlaceObject::Hide() {
    UIDeactivate();
    if (m_window != nullptr) {
        m_window->Hide();
    }
    return S_OK;
}

void ComInPlaceObject::Repaint() const {
    if (m_window != nullptr && m_window->Handle() != nullptr) {
        InvalidateRect(m_window->Handle(), nullptr, FALSE);
    }
}

void ComInPlaceObject::OnWindowActivated() {
    if (!m_ending && m_inPlaceSite != nullptr && m_site.UserMode()) {
        const ComPtr<IUnknown> hold(Outer());
        UIActivate();
    }
}

void ComInPlaceObject::OnWindowFocus(bool gained) {
    if (m_ending) {
        return;
    }
    if (const auto control = m_site.Query<IOleControlSite>()) {
        control->OnFocus(gained ? TRUE : FALSE);
    }
}

HRESULT ComInPlaceObject::GetWindow(HWND* phwnd) {
    if (phwnd == nullptr) {
        return E_POINTER;
    }
    *phwnd = m_window != nullptr ? m_window->Handle() : nullptr;
    return *phwnd != nullptr ? S_OK : E_FAIL;
}

HRESULT ComInPlaceObject::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

HRESULT ComInPlaceObject::InPlaceDeactivate() {
    if (m_inPlaceSite == nullptr) {
        return S_OK;
    }
    const ComPtr<IUnknown> hold(Outer());
    UIDeactivate();
    const ComPtr<IOleInPlaceSite> site = std::move(m_inPlaceSite);
    if (m_window != nullptr) {
        m_window->Hide();
        m_window.reset();
    }
    m_frame.Reset();
    m_document.Reset();
    site->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT ComInPlaceObject::UIDeactivate() {
    if (!m_uiActive) {
        return S_OK;
    }
    const ComPtr<IUnknown> hold(Outer());
    m_uiActive = false;
    SetActiveObject(nullptr);
    if (m_inPlaceSite != nullptr) {
        m_inPlaceSite->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

HRESULT ComInPlaceObject::SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) {
    if (lprcPosRect == nullptr) {
        return E_POINTER;
    }
    if (m_window != nullptr) {
        m_window->SetRects(*lprcPosRect, lprcClipRect != nullptr ? *lprcClipRect : *lprcPosRect);
    }
    return S_OK;
}

HRESULT ComInPlaceObject::ReactivateAndUndo() {
    return INPLACE_E_NOTUNDOABLE;
}

HRESULT ComInPlaceObject::TranslateAccelerator(LPMSG lpmsg) {
    if (lpmsg == nullptr) {
        return E_POINTER;
    }
    if (m_window == nullptr || !m_site.UserMode()) {
        return S_FALSE;
    }
    return m_window->TranslateKey(*lpmsg) ? S_OK : S_FALSE;
}

HRESULT ComInPlaceObject::OnFrameWindowActivate(BOOL) {
    return S_OK;
}

HRESULT ComInPlaceObject::OnDocWindowActivate(BOOL) {
    return S_OK;
}

HRESULT ComInPlaceObject::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}

HRESULT ComInPlaceObject::EnableModeless(BOOL) {
    return S_OK;
}

}  // namespace arn::win32
