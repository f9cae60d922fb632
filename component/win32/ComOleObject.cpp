#include "component/win32/ComOleObject.h"

#include <olectl.h>

#include <cstddef>
#include <utility>

#include "component/win32/ComInPlaceObject.h"
#include "component/win32/ComViewObject.h"
#include "component/win32/ControlClientSite.h"
#include "platform/win32/com/ComDispatchObject.h"

namespace arn::win32 {

using Microsoft::WRL::ComPtr;

namespace {

// The shortest container and control descriptions of IQuickActivate that carry what is read
// and written here (containers of earlier versions pass shorter ones).
constexpr ULONG MinContainerSize = offsetof(QACONTAINER, dwAmbientFlags) + sizeof(DWORD);
constexpr ULONG MinControlSize = offsetof(QACONTROL, dwPropNotifyCookie) + sizeof(DWORD);

}  // namespace

ComOleObject::ComOleObject(IUnknown* outer, Parts parts, const CLSID& classId, const IID& eventIid,
                           DWORD miscStatus)
    : ComOuterUnknown(outer),
      m_parts(parts),
      m_classId(classId),
      m_eventIid(eventIid),
      m_miscStatus(miscStatus) {}

HRESULT ComOleObject::SetClientSite(IOleClientSite* pClientSite) {
    if (pClientSite == m_parts.site.Get()) {
        return S_OK;
    }
    const ComPtr<IUnknown> hold(Outer());
    if (pClientSite == nullptr) {
        m_parts.inPlace.InPlaceDeactivate();
    }
    m_parts.site.Set(pClientSite);
    return S_OK;
}

HRESULT ComOleObject::GetClientSite(IOleClientSite** ppClientSite) {
    if (ppClientSite == nullptr) {
        return E_POINTER;
    }
    *ppClientSite = m_parts.site.Get();
    if (*ppClientSite != nullptr) {
        (*ppClientSite)->AddRef();
    }
    return S_OK;
}

HRESULT ComOleObject::SetHostNames(LPCOLESTR, LPCOLESTR szContainerObj) {
    m_parts.site.SetObjectName(szContainerObj);
    return S_OK;
}

HRESULT ComOleObject::Close(DWORD) {
    const ComPtr<IUnknown> hold(Outer());
    m_parts.inPlace.InPlaceDeactivate();
    if (const ComPtr<IOleAdviseHolder> holder = std::move(m_adviseHolder)) {
        holder->SendOnClose();
    }
    m_parts.view.DropAdvise();
    return S_OK;
}

HRESULT ComOleObject::SetMoniker(DWORD, IMoniker*) {
    return E_NOTIMPL;
}

HRESULT ComOleObject::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk != nullptr) {
        *ppmk = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT ComOleObject::InitFromData(IDataObject*, BOOL, DWORD) {
    return E_NOTIMPL;
}

HRESULT ComOleObject::GetClipboardData(DWORD, IDataObject** ppDataObject) {
    if (ppDataObject != nullptr) {
        *ppDataObject = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT ComOleObject::DoVerb(LONG iVerb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT lprcPosRect) {
    switch (iVerb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_UIACTIVATE:
            return m_parts.inPlace.Activate(true, lprcPosRect);
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
            return m_parts.inPlace.Activate(false, lprcPosRect);
        case OLEIVERB_HIDE:
            return m_parts.inPlace.Hide();
        case OLEIVERB_DISCARDUNDOSTATE:
            return S_OK;
        default:
            return iVerb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
}

HRESULT ComOleObject::EnumVerbs(IEnumOLEVERB** ppEnumOleVerb) {
    if (ppEnumOleVerb != nullptr) {
        *ppEnumOleVerb = nullptr;
    }
    return OLE_S_USEREG;
}

HRESULT ComOleObject::Update() {
    return S_OK;
}

HRESULT ComOleObject::IsUpToDate() {
    return S_OK;
}

HRESULT ComOleObject::GetUserClassID(CLSID* pClsid) {
    if (pClsid == nullptr) {
        return E_POINTER;
    }
    *pClsid = m_classId;
    return S_OK;
}

HRESULT ComOleObject::GetUserType(DWORD, LPOLESTR* pszUserType) {
    if (pszUserType != nullptr) {
        *pszUserType = nullptr;
    }
    return OLE_S_USEREG;
}

HRESULT ComOleObject::SetExtent(DWORD dwDrawAspect, SIZEL* psizel) {
    if (psizel == nullptr) {
        return E_POINTER;
    }
    if (dwDrawAspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    if (psizel->cx <= 0 || psizel->cy <= 0) {
        return E_INVALIDARG;
    }
    m_parts.extent = *psizel;
    return S_OK;
}

HRESULT ComOleObject::GetExtent(DWORD dwDrawAspect, SIZEL* psizel) {
    if (psizel == nullptr) {
        return E_POINTER;
    }
    if (dwDrawAspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    *psizel = m_parts.extent;
    return S_OK;
}

IOleAdviseHolder* ComOleObject::AdviseHolder() {
    if (m_adviseHolder == nullptr) {
        CreateOleAdviseHolder(&m_adviseHolder);
    }
    return m_adviseHolder.Get();
}

HRESULT ComOleObject::Advise(IAdviseSink* pAdvSink, DWORD* pdwConnection) {
    if (pdwConnection == nullptr) {
        return E_POINTER;
    }
    *pdwConnection = 0;
    if (pAdvSink == nullptr) {
        return E_INVALIDARG;
    }
    IOleAdviseHolder* holder = AdviseHolder();
    return holder != nullptr ? holder->Advise(pAdvSink, pdwConnection) : E_OUTOFMEMORY;
}

HRESULT ComOleObject::Unadvise(DWORD dwConnection) {
    return m_adviseHolder != nullptr ? m_adviseHolder->Unadvise(dwConnection) : OLE_E_NOCONNECTION;
}

HRESULT ComOleObject::EnumAdvise(IEnumSTATDATA** ppenumAdvise) {
    if (ppenumAdvise == nullptr) {
        return E_POINTER;
    }
    *ppenumAdvise = nullptr;
    IOleAdviseHolder* holder = AdviseHolder();
    return holder != nullptr ? holder->EnumAdvise(ppenumAdvise) : E_OUTOFMEMORY;
}

HRESULT ComOleObject::GetMiscStatus(DWORD, DWORD* pdwStatus) {
    if (pdwStatus == nullptr) {
        return E_POINTER;
    }
    *pdwStatus = m_miscStatus;
    return S_OK;
}

HRESULT ComOleObject::SetColorScheme(LOGPALETTE*) {
    return E_NOTIMPL;
}

HRESULT ComOleObject::GetControlInfo(CONTROLINFO* pCI) {
    if (pCI == nullptr) {
        return E_POINTER;
    }
    if (pCI->cb < sizeof(CONTROLINFO)) {
        return E_INVALIDARG;
    }
    pCI->hAccel = nullptr;
    pCI->cAccel = 0;
    pCI->dwFlags = 0;
    return S_OK;
}

HRESULT ComOleObject::OnMnemonic(MSG* pMsg) {
    return pMsg != nullptr ? S_OK : E_POINTER;
}

HRESULT ComOleObject::OnAmbientPropertyChange(DISPID dispID) {
    if (dispID == DISPID_UNKNOWN || dispID == DISPID_AMBIENT_DISPLAYNAME ||
        dispID == DISPID_AMBIENT_USERMODE) {
        const ComPtr<IUnknown> hold(Outer());
        m_parts.site.ReadAmbients();
        m_parts.inPlace.Repaint();
    }
    return S_OK;
}

HRESULT ComOleObject::FreezeEvents(BOOL bFreeze) {
    if (ComDispatchObject* object = ComDispatchObject::Ours(Outer())) {
        object->FreezeEvents(bFreeze != FALSE);
    }
    return S_OK;
}

HRESULT ComOleObject::QuickActivate(QACONTAINER* pQaContainer, QACONTROL* pQaControl) {
    if (pQaContainer == nullptr || pQaControl == nullptr) {
        return E_POINTER;
    }
    if (pQaContainer->cbSize < MinContainerSize || pQaControl->cbSize < MinControlSize) {
        return E_INVALIDARG;
    }
    const ComPtr<IUnknown> hold(Outer());
    SetClientSite(pQaContainer->pClientSite);
    m_parts.site.SetUserMode((pQaContainer->dwAmbientFlags & QACONTAINER_USERMODE) != 0);
    if (pQaContainer->pAdviseSink != nullptr) {
        m_parts.view.SetAdvise(DVASPECT_CONTENT, 0, pQaContainer->pAdviseSink);
    }
    pQaControl->dwMiscStatus = m_miscStatus;
    pQaControl->dwViewStatus = 0;
    pQaControl->dwEventCookie = 0;
    pQaControl->dwPropNotifyCookie = 0;
    if (pQaControl->cbSize >= sizeof(QACONTROL)) {
        pQaControl->dwPointerActivationPolicy = 0;
    }
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> events;
    if (pQaContainer->pUnkEventSink != nullptr &&
        SUCCEEDED(Outer()->QueryInterface(IID_PPV_ARGS(&points))) &&
        SUCCEEDED(points->FindConnectionPoint(m_eventIid, &events))) {
        events->Advise(pQaContainer->pUnkEventSink, &pQaControl->dwEventCookie);
    }
    return S_OK;
}

HRESULT ComOleObject::SetContentExtent(LPSIZEL pSizel) {
    return SetExtent(DVASPECT_CONTENT, pSizel);
}

HRESULT ComOleObject::GetContentExtent(LPSIZEL pSizel) {
    return GetExtent(DVASPECT_CONTENT, pSizel);
}

}  // namespace arn::win32
