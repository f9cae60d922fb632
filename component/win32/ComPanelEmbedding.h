#pragma once

#include <windows.h>

#include <objsafe.h>
#include <ocidl.h>

#include <memory>

#include "component/win32/ComInPlaceObject.h"
#include "component/win32/ComOleObject.h"
#include "component/win32/ComPersistence.h"
#include "component/win32/ComViewObject.h"
#include "component/win32/ControlClientSite.h"
#include "platform/ComponentClass.h"
#include "platform/win32/com/ComFace.h"

namespace arn::win32 {

// The embedding interfaces of the panel's COM object, which let a Windows form host place the
// control: one face for all of them, with the object's identity, so that they share one state
// (the client site, the extent, the window). IOleObject, IOleControl and IQuickActivate
// (ComOleObject), IOleInPlaceObject, IOleInPlaceActiveObject and IOleWindow
// (ComInPlaceObject), IViewObject and IViewObject2 (ComViewObject), IPersistStreamInit,
// IPersistPropertyBag and IPersist (ComPersistence), and here IProvideClassInfo2 (from the
// object's registered class information) and IObjectSafety (safe for scripting and for
// initialisation, through the automation and the persistence interfaces).
//
// The object owns the face and ends it last, after the container let go of every interface;
// the face then destroys the window without telling the container.
class ComPanelEmbedding final : public ComFace,
                                public ComOuterUnknown<IProvideClassInfo2, IObjectSafety> {
  public:
    ComPanelEmbedding(IDispatch* outer, std::shared_ptr<ArnAbsPosnCtl> panel,
                      const ComponentClass& served);
    ~ComPanelEmbedding() override;

    // The kind of face the class factory registers for the served class: made for an object
    // that presents a panel.
    static ComFaceKind Kind(const ComponentClass& served);

    void* Pointer(REFIID iid) override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** ppTI) override;
    // GUIDKIND_DEFAULT_SOURCE_DISP_IID: the event interface; any other kind E_INVALIDARG.
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD dwGuidKind, GUID* pGUID) override;

    // IObjectSafety: E_NOINTERFACE for an interface that is not the object's automation or
    // persistence; E_FAIL for an option beyond the two safeties.
    HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID riid, DWORD* pdwSupportedOptions,
                                                        DWORD* pdwEnabledOptions) override;
    HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID riid, DWORD dwOptionSetMask,
                                                        DWORD dwEnabledOptions) override;

  private:
    bool SafetyApplies(REFIID riid) const;

    IID m_dispatchIid;
    IID m_eventIid;
    SIZEL m_extent;
    DWORD m_safety = 0;
    ControlClientSite m_site;
    ComInPlaceObject m_inPlace;
    ComViewObject m_view;
    ComPersistence m_persistence;
    ComOleObject m_oleObject;
};

}  // namespace arn::win32
