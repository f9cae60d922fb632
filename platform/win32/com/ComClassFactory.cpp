#include "platform/win32/com/ComClassFactory.h"

#include <exception>
#include <initializer_list>
#include <string_view>

#include "platform/win32/ThisModule.h"
#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

// The module's own type library, loaded once for the module's lifetime; nullptr when the
// module carries none (a client then goes by names and ids alone).
ITypeLib* OwnTypeLibrary() {
    static ITypeLib* const library = [] {
        wchar_t path[MAX_PATH] = {};
        ITypeLib* lib = nullptr;
        if (GetModuleFileNameW(ThisModule(), path, MAX_PATH) == 0 ||
            FAILED(LoadTypeLibEx(path, REGKIND_NONE, &lib))) {
            return static_cast<ITypeLib*>(nullptr);
        }
        return lib;
    }();
    return library;
}

// The description of the automation interface or of the class (guid); nullptr without one.
ITypeInfo* LoadTypeInfo(std::string_view guid) {
    ITypeLib* lib = OwnTypeLibrary();
    ITypeInfo* info = nullptr;
    if (lib == nullptr || FAILED(lib->GetTypeInfoOfGuid(GuidFromText(guid), &info))) {
        return nullptr;
    }
    return info;
}

}  // namespace

HRESULT ComClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT ComClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    *ppvObject = nullptr;
    if (pUnkOuter != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    std::shared_ptr<AutomationObject> made;
    try {
        made = m_served.create();
    } catch (const std::exception&) {
        return E_FAIL;
    }
    if (made == nullptr) {
        return E_FAIL;
    }
    const IID iid = GuidFromText(m_served.interfaceId);
    const IID eventIid = GuidFromText(m_served.eventInterfaceId);
    ITypeInfo* info = LoadTypeInfo(m_served.interfaceId);
    ITypeInfo* classInfo = LoadTypeInfo(m_served.classId);
    ComDispatchObject* object =
        ComDispatchObject::Create(std::move(made), iid, &eventIid, info, classInfo, m_faces);
    for (ITypeInfo* loaded : {info, classInfo}) {
        if (loaded != nullptr) {
            loaded->Release();
        }
    }
    const HRESULT hr = object->QueryInterface(riid, ppvObject);
    object->Release();
    return hr;
}

HRESULT ComClassFactory::LockServer(BOOL fLock) {
    ComServerLock(fLock != FALSE);
    return S_OK;
}

}  // namespace arn::win32
