#include "platform/win32/com/ComDispatchObject.h"

#include <exception>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/ArnError.h"
#include "platform/win32/com/ComAccessible.h"
#include "platform/win32/com/ComEnumerator.h"
#include "platform/win32/com/ComErrors.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComRefusals.h"
#include "platform/win32/com/ComText.h"
#include "platform/win32/com/ComVariant.h"

namespace arn::win32 {

namespace {

BSTR AllocText(const std::string& text) {
    const std::wstring wide = Widen(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void FillException(EXCEPINFO* info, HRESULT scode, const std::string& source,
                   const std::string& description) {
    if (info == nullptr) {
        return;
    }
    *info = EXCEPINFO{};
    info->scode = scode;
    info->bstrSource = AllocText(source);
    info->bstrDescription = AllocText(description);
}

// The identities of this module's live objects. Apartments may differ per object, so the set
// is shared under a lock.
struct LiveObjects {
    std::mutex lock;
    std::set<IUnknown*> identities;
};
LiveObjects& Live() {
    static LiveObjects live;
    return live;
}

// Every call of a member's accessors from the COM layer goes through these three.
Variant ReadMember(AutomationObject& object, const AutomationMember& member) {
    return member.get(object);
}
void WriteMember(AutomationObject& object, const AutomationMember& member, const Variant& value) {
    member.put(object, value);
}
Variant CallMember(AutomationObject& object, const AutomationMember& member,
                   const std::vector<Variant>& args) {
    return member.call(object, args);
}

}  // namespace

ComDispatchObject* ComDispatchObject::Ours(IUnknown* object) {
    IUnknown* identity = nullptr;
    if (object == nullptr ||
        FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
        return nullptr;
    }
    identity->Release();  // only compared, the caller holds object
    LiveObjects& live = Live();
    const std::lock_guard<std::mutex> guard(live.lock);
    if (live.identities.count(identity) == 0) {
        return nullptr;
    }
    return static_cast<ComDispatchObject*>(static_cast<IDispatch*>(identity));
}

void ComDispatchObject::FreezeEvents(bool freeze) {
    m_frozen += freeze ? 1 : (m_frozen > 0 ? -1 : 0);
}

ComDispatchObject* ComDispatchObject::Create(std::shared_ptr<AutomationObject> object,
                                             const IID& dispatchIid, const IID* eventIid,
                                             ITypeInfo* typeInfo, ITypeInfo* classInfo,
                                             std::span<const ComFaceKind> faces) {
    return new ComDispatchObject(std::move(object), dispatchIid, eventIid, typeInfo, classInfo,
                                 faces);
}

ComDispatchObject::ComDispatchObject(std::shared_ptr<AutomationObject> object,
                                     const IID& dispatchIid, const IID* eventIid,
                                     ITypeInfo* typeInfo, ITypeInfo* classInfo,
                                     std::span<const ComFaceKind> faces)
    : m_object(std::move(object)),
      m_dispatchIid(dispatchIid),
      m_hasEvents(eventIid != nullptr),
      m_connectionPoint(this, eventIid != nullptr ? *eventIid : IID_NULL),
      m_typeInfo(typeInfo),
      m_classInfo(classInfo),
      m_faceKinds(faces),
      m_faces(faces.size()) {
    if (m_typeInfo != nullptr) {
        m_typeInfo->AddRef();
    }
    if (m_classInfo != nullptr) {
        m_classInfo->AddRef();
    }
    if (m_hasEvents) {
        m_eventConnection = m_object->EventRaised.connect([this](int32_t dispId) {
            if (m_frozen == 0) {
                m_connectionPoint.Fire(dispId);
            }
        });
    }
    {
        LiveObjects& live = Live();
        const std::lock_guard<std::mutex> guard(live.lock);
        live.identities.insert(static_cast<IDispatch*>(this));
    }
    ComObjectCreated();
}

ComDispatchObject::~ComDispatchObject() {
    {
        LiveObjects& live = Live();
        const std::lock_guard<std::mutex> guard(live.lock);
        live.identities.erase(static_cast<IDispatch*>(this));
    }
    m_eventConnection.disconnect();
    m_faces.clear();
    if (m_typeInfo != nullptr) {
        m_typeInfo->Release();
    }
    if (m_classInfo != nullptr) {
        m_classInfo->Release();
    }
    ComObjectDestroyed();
}

HRESULT ComDispatchObject::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    for (size_t i = 0; i < m_faceKinds.size(); ++i) {
        if (m_faceKinds[i].Answers(riid)) {
            if (ComFace* face = Face(i)) {
                *ppv = face->Pointer(riid);
                AddRef();
                return S_OK;
            }
        }
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, m_dispatchIid)) {
        *ppv = static_cast<IDispatch*>(this);
    } else if (m_hasEvents && IsEqualIID(riid, IID_IConnectionPointContainer)) {
        *ppv = static_cast<IConnectionPointContainer*>(this);
    } else if (m_classInfo != nullptr && IsEqualIID(riid, IID_IProvideClassInfo)) {
        *ppv = static_cast<IProvideClassInfo*>(this);
    } else if (IsEqualIID(riid, IID_IAccessible) && Accessible() != nullptr) {
        *ppv = m_accessible.get();
    } else {
        *ppv = nullptr;
        ReportRefusedInterface(riid);
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ComFace* ComDispatchObject::Face(size_t index) {
    MadeFace& slot = m_faces[index];
    if (!slot.made) {
        slot.face = m_faceKinds[index].make(static_cast<IDispatch*>(this), m_object);
        slot.made = true;
    }
    return slot.face.get();
}

IAccessible* ComDispatchObject::Accessible() {
    if (m_accessible == nullptr) {
        try {
            if (!m_object->AccessibleElements().empty()) {
                m_accessible =
                    std::make_unique<ComAccessible>(static_cast<IDispatch*>(this), m_object);
            }
        } catch (...) {
            return nullptr;
        }
    }
    return m_accessible.get();
}

ULONG ComDispatchObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG ComDispatchObject::Release() {
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

HRESULT ComDispatchObject::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr) {
        return E_POINTER;
    }
    *pctinfo = m_typeInfo != nullptr ? 1 : 0;
    return S_OK;
}

HRESULT ComDispatchObject::GetTypeInfo(UINT iTInfo, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo == nullptr) {
        return E_POINTER;
    }
    *ppTInfo = nullptr;
    if (iTInfo != 0 || m_typeInfo == nullptr) {
        return DISP_E_BADINDEX;
    }
    m_typeInfo->AddRef();
    *ppTInfo = m_typeInfo;
    return S_OK;
}

HRESULT ComDispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID,
                                         DISPID* rgDispId) {
    if (!IsEqualIID(riid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0) {
        return E_INVALIDARG;
    }
    const AutomationMember* member = m_object->FindMember(Narrow(rgszNames[0]));
    rgDispId[0] = member != nullptr ? member->dispId : DISPID_UNKNOWN;
    // The members take no named arguments other than a put's value.
    for (UINT i = 1; i < cNames; ++i) {
        rgDispId[i] = DISPID_UNKNOWN;
    }
    return member != nullptr && cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ComDispatchObject::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags,
                                  DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                  EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    if (!IsEqualIID(riid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    if (pDispParams == nullptr) {
        return E_POINTER;
    }
    const AutomationMember* member = m_object->FindMember(static_cast<int32_t>(dispIdMember));
    if (member == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    try {
        return InvokeMember(*member, wFlags, *pDispParams, pVarResult, puArgErr);
    } catch (const ArnError& e) {
        FillException(pExcepInfo, ErrorResult(e.number()), e.source(), e.description());
    } catch (const std::exception& e) {
        FillException(pExcepInfo, E_FAIL, m_object->TypeName(), e.what());
    }
    return DISP_E_EXCEPTION;
}

HRESULT ComDispatchObject::InvokeMember(const AutomationMember& member, WORD flags,
                                        DISPPARAMS& params, VARIANT* result, UINT* argErr) {
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
        if (!member.put) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (params.cArgs != 1) {
            return DISP_E_BADPARAMCOUNT;
        }
        if (params.cNamedArgs != 1 || params.rgdispidNamedArgs == nullptr ||
            params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || params.rgvarg == nullptr) {
            return DISP_E_PARAMNOTFOUND;
        }
        Variant value;
        const HRESULT hr = FromComVariant(params.rgvarg[0], member.kind, value);
        if (FAILED(hr)) {
            if (argErr != nullptr) {
                *argErr = 0;
            }
            return hr;
        }
        WriteMember(*m_object, member, value);
        return S_OK;
    }
    if (member.call && (flags & DISPATCH_METHOD) != 0) {
        return InvokeMethod(member, params, result, argErr);
    }
    if ((flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) == 0 || !member.get) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (params.cArgs != 0) {
        return DISP_E_BADPARAMCOUNT;
    }
    return ReturnValue(ReadMember(*m_object, member), result);
}

HRESULT ComDispatchObject::InvokeMethod(const AutomationMember& member, DISPPARAMS& params,
                                        VARIANT* result, UINT* argErr) {
    if (params.cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (params.cArgs != member.params.size()) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (params.cArgs != 0 && params.rgvarg == nullptr) {
        return E_INVALIDARG;
    }
    std::vector<Variant> args(params.cArgs);
    for (UINT i = 0; i < params.cArgs; ++i) {
        // Invoke passes the arguments last first.
        const UINT slot = params.cArgs - 1 - i;
        const HRESULT hr = FromComVariant(params.rgvarg[slot], member.params[i], args[i]);
        if (FAILED(hr)) {
            if (argErr != nullptr) {
                *argErr = slot;
            }
            return hr;
        }
    }
    return ReturnValue(CallMember(*m_object, member, args), result);
}

HRESULT ComDispatchObject::ReturnValue(const Variant& value, VARIANT* result) {
    if (result == nullptr) {
        return S_OK;
    }
    VariantInit(result);
    return ToComVariant(
        value,
        [this](const std::shared_ptr<Dispatch>& object, IDispatch** out) {
            return Present(object, out);
        },
        result);
}

HRESULT ComDispatchObject::Present(const std::shared_ptr<Dispatch>& object, IDispatch** out) {
    *out = nullptr;
    if (object == nullptr) {
        return S_OK;
    }
    if (object == m_object) {
        AddRef();
        *out = this;
        return S_OK;
    }
    // A facet that one of the object's faces presents keeps the object's identity.
    for (size_t i = 0; i < m_faceKinds.size(); ++i) {
        ComFace* face = Face(i);
        if (face != nullptr && face->Presents() == object.get()) {
            *out = static_cast<IDispatch*>(face->Pointer(m_faceKinds[i].iid));
            (*out)->AddRef();
            return S_OK;
        }
    }
    return PresentObject(object, out);
}

HRESULT ComDispatchObject::GetClassInfo(ITypeInfo** ppTI) {
    if (ppTI == nullptr) {
        return E_POINTER;
    }
    *ppTI = m_classInfo;
    if (m_classInfo == nullptr) {
        return E_NOTIMPL;
    }
    m_classInfo->AddRef();
    return S_OK;
}

HRESULT ComDispatchObject::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    IConnectionPoint* points[] = {&m_connectionPoint};
    return ComConnectionPointEnumerator::Create(points, m_hasEvents ? 1 : 0, ppEnum);
}

HRESULT ComDispatchObject::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (ppCP == nullptr) {
        return E_POINTER;
    }
    *ppCP = nullptr;
    IID eventIid = IID_NULL;
    m_connectionPoint.GetConnectionInterface(&eventIid);
    if (!m_hasEvents || !IsEqualIID(riid, eventIid)) {
        return CONNECT_E_NOCONNECTION;
    }
    m_connectionPoint.AddRef();
    *ppCP = &m_connectionPoint;
    return S_OK;
}

}  // namespace arn::win32
