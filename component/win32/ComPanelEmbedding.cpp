#include "component/win32/ComPanelEmbedding.h"

#include <utility>

#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelAutomation.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

constexpr DWORD SafeOptions = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

}  // namespace

ComFaceKind ComPanelEmbedding::Kind(const ComponentClass& served) {
    return {IID_IOleObject,
            [&served](IDispatch* outer,
                      const std::shared_ptr<AutomationObject>& object) -> std::unique_ptr<ComFace> {
                const auto presented = std::dynamic_pointer_cast<PanelAutomation>(object);
                if (presented == nullptr || presented->Panel() == nullptr) {
                    return nullptr;
                }
                return std::make_unique<ComPanelEmbedding>(outer, presented->Panel(), served);
            },
            {IID_IOleControl, IID_IQuickActivate, IID_IOleWindow, IID_IOleInPlaceObject,
             IID_IOleInPlaceActiveObject, IID_IViewObject, IID_IViewObject2, IID_IPersist,
             IID_IPersistStreamInit, IID_IPersistPropertyBag, IID_IProvideClassInfo2,
             IID_IObjectSafety}};
}

ComPanelEmbedding::ComPanelEmbedding(IDispatch* outer, std::shared_ptr<ArnAbsPosnCtl> panel,
                                     const ComponentClass& served)
    : ComOuterUnknown(outer),
      m_dispatchIid(GuidFromText(served.interfaceId)),
      m_eventIid(GuidFromText(served.eventInterfaceId)),
      m_extent(ComPersistence::DesignExtent()),
      m_site(panel),
      m_inPlace(outer, panel, m_site),
      m_view(outer, panel, m_extent),
      m_persistence(outer, GuidFromText(served.classId), m_extent),
      m_oleObject(outer, {m_site, m_inPlace, m_view, m_extent}, GuidFromText(served.classId),
                  m_eventIid, served.miscStatus) {}

ComPanelEmbedding::~ComPanelEmbedding() = default;

void* ComPanelEmbedding::Pointer(REFIID iid) {
    if (IsEqualIID(iid, IID_IOleObject)) {
        return static_cast<IOleObject*>(&m_oleObject);
    }
    if (IsEqualIID(iid, IID_IOleControl)) {
        return static_cast<IOleControl*>(&m_oleObject);
    }
    if (IsEqualIID(iid, IID_IQuickActivate)) {
        return static_cast<IQuickActivate*>(&m_oleObject);
    }
    if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject)) {
        return static_cast<IOleInPlaceObject*>(&m_inPlace);
    }
    if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) {
        return static_cast<IOleInPlaceActiveObject*>(&m_inPlace);
    }
    if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2)) {
        return static_cast<IViewObject2*>(&m_view);
    }
    if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit)) {
        return static_cast<IPersistStreamInit*>(&m_persistence);
    }
    if (IsEqualIID(iid, IID_IPersistPropertyBag)) {
        return static_cast<IPersistPropertyBag*>(&m_persistence);
    }
    if (IsEqualIID(iid, IID_IObjectSafety)) {
        return static_cast<IObjectSafety*>(this);
    }
    return static_cast<IProvideClassInfo2*>(this);
}

HRESULT ComPanelEmbedding::GetClassInfo(ITypeInfo** ppTI) {
    if (ppTI == nullptr) {
        return E_POINTER;
    }
    *ppTI = nullptr;
    // The object's own class information, which it answers under IProvideClassInfo.
    Microsoft::WRL::ComPtr<IProvideClassInfo> own;
    const HRESULT hr = Outer()->QueryInterface(IID_PPV_ARGS(&own));
    return FAILED(hr) ? hr : own->GetClassInfo(ppTI);
}

HRESULT ComPanelEmbedding::GetGUID(DWORD dwGuidKind, GUID* pGUID) {
    if (pGUID == nullptr) {
        return E_POINTER;
    }
    *pGUID = GUID_NULL;
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        return E_INVALIDARG;
    }
    *pGUID = m_eventIid;
    return S_OK;
}

bool ComPanelEmbedding::SafetyApplies(REFIID riid) const {
    for (const IID& iid :
         {IID_IDispatch, m_dispatchIid, IID_IPersistStreamInit, IID_IPersistPropertyBag}) {
        if (IsEqualIID(riid, iid)) {
            return true;
        }
    }
    return false;
}

HRESULT ComPanelEmbedding::GetInterfaceSafetyOptions(REFIID riid, DWORD* pdwSupportedOptions,
                                                     DWORD* pdwEnabledOptions) {
    if (pdwSupportedOptions == nullptr || pdwEnabledOptions == nullptr) {
        return E_POINTER;
    }
    *pdwSupportedOptions = 0;
    *pdwEnabledOptions = 0;
    if (!SafetyApplies(riid)) {
        return E_NOINTERFACE;
    }
    *pdwSupportedOptions = SafeOptions;
    *pdwEnabledOptions = m_safety;
    return S_OK;
}

HRESULT ComPanelEmbedding::SetInterfaceSafetyOptions(REFIID riid, DWORD dwOptionSetMask,
                                                     DWORD dwEnabledOptions) {
    if (!SafetyApplies(riid)) {
        return E_NOINTERFACE;
    }
    if ((dwOptionSetMask & ~SafeOptions) != 0) {
        return E_FAIL;
    }
    m_safety = (m_safety & ~dwOptionSetMask) | (dwEnabledOptions & dwOptionSetMask);
    return S_OK;
}

}  // namespace arn::win32
