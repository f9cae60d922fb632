#pragma once

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>
#include <wrl/client.h>

#include "platform/win32/com/ComOuterUnknown.h"

namespace arn::win32 {

class ComInPlaceObject;
class ComViewObject;
class ControlClientSite;

// IOleObject, IOleControl and IQuickActivate of the embedded panel: the client site and its
// ambients, the verbs, the extent in HIMETRIC, the container's advise sinks (an OLE advise
// holder) and closing. Verbs: OLEIVERB_INPLACEACTIVATE and SHOW activate in place, UIACTIVATE
// and PRIMARY also UI-activate, HIDE hides; any other verb is E_NOTIMPL (a positive one
// OLEOBJ_S_INVALIDVERB). Without a client site every verb but HIDE is E_UNEXPECTED.
//
// A part of the panel's embedding object, with its identity (outer, borrowed); the other parts
// and extent belong to the same object and outlive this part.
class ComOleObject final : public ComOuterUnknown<IOleObject, IOleControl, IQuickActivate> {
  public:
    struct Parts {
        ControlClientSite& site;
        ComInPlaceObject& inPlace;
        ComViewObject& view;
        SIZEL& extent;
    };
    ComOleObject(IUnknown* outer, Parts parts, const CLSID& classId, const IID& eventIid,
                 DWORD miscStatus);

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR szContainerApp,
                                           LPCOLESTR szContainerObj) override;
    // Deactivates, tells the advise sinks and lets go of them; a second Close does nothing.
    HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD dwWhichMoniker, IMoniker* pmk) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker,
                                         IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* pDataObject, BOOL fCreation,
                                           DWORD dwReserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD dwReserved,
                                               IDataObject** ppDataObject) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite,
                                     LONG lindex, HWND hwndParent, LPCRECT lprcPosRect) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnumOleVerb) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD dwFormOfType, LPOLESTR* pszUserType) override;
    // Only DVASPECT_CONTENT; an extent that is not positive both ways is E_INVALIDARG. The
    // extent does not size the window (the in-place rectangles do).
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* pAdvSink, DWORD* pdwConnection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwConnection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** ppenumAdvise) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* pLogpal) override;

    // IOleControl: no mnemonics; an ambient change of the display name or the user mode (or
    // of all, DISPID_UNKNOWN) reads them again. While the container freezes events (counted),
    // the panel's events are dropped.
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* pCI) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* pMsg) override;
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID dispID) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL bFreeze) override;

    // IQuickActivate: the site, the user mode of the ambient flags, the view advise sink and
    // the container's event sink in one call.
    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* pQaContainer,
                                            QACONTROL* pQaControl) override;
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL pSizel) override;
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL pSizel) override;

  private:
    // The advise holder, made at the first need; nullptr when the system cannot make one.
    IOleAdviseHolder* AdviseHolder();

    Parts m_parts;
    CLSID m_classId;
    IID m_eventIid;
    DWORD m_miscStatus;
    Microsoft::WRL::ComPtr<IOleAdviseHolder> m_adviseHolder;
};

}  // namespace arn::win32
