#pragma once

#include <windows.h>

#include <ole2.h>
#include <wrl/client.h>

#include <memory>

#include "core/Event.h"
#include "platform/win32/com/ComOuterUnknown.h"
#include "toolkit/SurfaceDamage.h"

namespace arn {
class ArnAbsPosnCtl;
}

namespace arn::win32 {

// IViewObject2 of the embedded panel: draws the panel as it is now into any device context (a
// window's, a memory DC, a metafile, a printer), with or without the control's window, and
// keeps the container's one view advise sink, which hears OnViewChange at the first change of
// the panel that leaves something new to see since the container last drew the view.
//
// A part of the panel's embedding object, with its identity (outer, borrowed); extent belongs
// to the same object and outlives this part.
class ComViewObject final : public ComOuterUnknown<IViewObject2> {
  public:
    ComViewObject(IUnknown* outer, std::shared_ptr<ArnAbsPosnCtl> panel, const SIZEL& extent);

    // Lets go of the view advise sink (the object closes).
    void DropAdvise() { m_sink.Reset(); }

    // Only DVASPECT_CONTENT (else DV_E_DVASPECT); lprcBounds in hdcDraw's own units. A null DC
    // or bounds give E_INVALIDARG, empty bounds the drawing's own error.
    HRESULT STDMETHODCALLTYPE Draw(DWORD dwDrawAspect, LONG lindex, void* pvAspect,
                                   DVTARGETDEVICE* ptd, HDC hdcTargetDev, HDC hdcDraw,
                                   LPCRECTL lprcBounds, LPCRECTL lprcWBounds,
                                   BOOL(STDMETHODCALLTYPE* pfnContinue)(ULONG_PTR dwContinue),
                                   ULONG_PTR dwContinue) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD dwDrawAspect, LONG lindex, void* pvAspect,
                                          DVTARGETDEVICE* ptd, HDC hicTargetDev,
                                          LOGPALETTE** ppColorSet) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD dwDrawAspect, LONG lindex, void* pvAspect,
                                     DWORD* pdwFreeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD dwFreeze) override;
    // ADVF_PRIMEFIRST calls the sink's OnViewChange at once.
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* pAdvSink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* pAspects, DWORD* pAdvf,
                                        IAdviseSink** ppAdvSink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, LONG lindex, DVTARGETDEVICE* ptd,
                                        LPSIZEL lpsizel) override;

  private:
    void OnDamage();

    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    const SIZEL& m_extent;
    SurfaceDamage m_damage;
    Connection m_damageConnection;
    Microsoft::WRL::ComPtr<IAdviseSink> m_sink;
    DWORD m_aspects = 0;
    DWORD m_advf = 0;
};

}  // namespace arn::win32
