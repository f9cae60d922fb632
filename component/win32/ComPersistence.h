#pragma once

#include <windows.h>

#include <ocidl.h>

#include "platform/win32/com/ComOuterUnknown.h"

namespace arn::win32 {

// IPersistStreamInit and IPersistPropertyBag of the embedded panel. The control has no
// design-time properties of its own; what a form saves is its extent, in a small versioned
// record: in a stream the bytes "ARNP", the version and the body's length (16 bits each), then
// the extent's width and height in HIMETRIC (32 bits each, little-endian); in a property bag
// "_Version", "_ExtentX" and "_ExtentY". A reader skips a longer body of a later version.
//
// A part of the panel's embedding object, with its identity (outer, borrowed); extent belongs
// to the same object and outlives this part.
class ComPersistence final : public ComOuterUnknown<IPersistStreamInit, IPersistPropertyBag> {
  public:
    ComPersistence(IUnknown* outer, const CLSID& classId, SIZEL& extent);

    // The extent of a new control: the panel's design size, 10155 by 4350 twips, in HIMETRIC.
    static SIZEL DesignExtent();

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
    // Both interfaces: the design extent.
    HRESULT STDMETHODCALLTYPE InitNew() override;
    // IPersistStreamInit. A stream that ends early gives STG_E_READFAULT, one that holds
    // another record (or a broken one) STG_E_INVALIDHEADER; the extent is then unchanged.
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM pStm, BOOL fClearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* pCbSize) override;
    // IPersistPropertyBag. Missing properties keep their value; one that is no number gives
    // E_INVALIDARG.
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* pPropBag, IErrorLog* pErrorLog) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* pPropBag, BOOL fClearDirty,
                                   BOOL fSaveAllProperties) override;

  private:
    CLSID m_classId;
    SIZEL& m_extent;
};

}  // namespace arn::win32
