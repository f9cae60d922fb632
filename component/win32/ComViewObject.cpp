#include "component/win32/ComViewObject.h"

#include <utility>

#include "component/win32/ControlWindow.h"
#include "panel/ArnAbsPosnCtl.h"

namespace arn::win32 {

ComViewObject::ComViewObject(IUnknown* outer, std::shared_ptr<ArnAbsPosnCtl> panel,
                             const SIZEL& extent)
    : ComOuterUnknown(outer),
      m_panel(std::move(panel)),
      m_extent(extent),
      m_damage(*m_panel),
      m_damageConnection(m_damage.Pending.connect([this] { OnDamage(); })) {}

void ComViewObject::OnDamage() {
    if (m_sink == nullptr) {
        return;
    }
    const Microsoft::WRL::ComPtr<IAdviseSink> sink = m_sink;
    if ((m_advf & ADVF_ONLYONCE) != 0) {
        m_sink.Reset();
    }
    const Microsoft::WRL::ComPtr<IUnknown> hold(Outer());
    sink->OnViewChange(DVASPECT_CONTENT, -1);
}

HRESULT ComViewObject::Draw(DWORD dwDrawAspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw,
                            LPCRECTL lprcBounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                            ULONG_PTR) {
    if (dwDrawAspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    if (hdcDraw == nullptr || lprcBounds == nullptr) {
        return E_INVALIDARG;
    }
    // The container redraws the whole view: the marks only tell that it has something new to
    // see, once until it draws again.
    m_damage.Take();
    const RECT bounds{lprcBounds->left, lprcBounds->top, lprcBounds->right, lprcBounds->bottom};
    return ControlWindow::DrawPanel(*m_panel, hdcDraw, bounds);
}

HRESULT ComViewObject::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                   LOGPALETTE** ppColorSet) {
    if (ppColorSet != nullptr) {
        *ppColorSet = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT ComViewObject::Freeze(DWORD, LONG, void*, DWORD*) {
    return E_NOTIMPL;
}

HRESULT ComViewObject::Unfreeze(DWORD) {
    return E_NOTIMPL;
}

HRESULT ComViewObject::SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* pAdvSink) {
    m_damage.Take();
    m_sink = pAdvSink;
    m_aspects = aspects;
    m_advf = advf;
    if (m_sink != nullptr && (advf & ADVF_PRIMEFIRST) != 0) {
        const Microsoft::WRL::ComPtr<IAdviseSink> sink = m_sink;
        sink->OnViewChange(DVASPECT_CONTENT, -1);
    }
    return S_OK;
}

HRESULT ComViewObject::GetAdvise(DWORD* pAspects, DWORD* pAdvf, IAdviseSink** ppAdvSink) {
    if (pAspects != nullptr) {
        *pAspects = m_aspects;
    }
    if (pAdvf != nullptr) {
        *pAdvf = m_advf;
    }
    if (ppAdvSink != nullptr) {
        *ppAdvSink = m_sink.Get();
        if (*ppAdvSink != nullptr) {
            (*ppAdvSink)->AddRef();
        }
    }
    return S_OK;
}

HRESULT ComViewObject::GetExtent(DWORD dwDrawAspect, LONG, DVTARGETDEVICE*, LPSIZEL lpsizel) {
    if (lpsizel == nullptr) {
        return E_POINTER;
    }
    if (dwDrawAspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    *lpsizel = m_extent;
    return S_OK;
}

}  // namespace arn::win32
