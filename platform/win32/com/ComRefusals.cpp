#include "platform/win32/com/ComRefusals.h"

#include <objbase.h>
#include <objidl.h>
#include <ocidl.h>
#include <oleidl.h>

#include <utility>

#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

RefusedInterfaceListener& Listener() {
    static RefusedInterfaceListener listener;
    return listener;
}

// Interfaces a control host asks for that a registry without them would leave unnamed.
struct KnownInterface {
    const IID* iid;
    const char* name;
};
const KnownInterface kKnownInterfaces[] = {
    {&IID_IMarshal, "IMarshal"},
    {&IID_IOleObject, "IOleObject"},
    {&IID_IOleControl, "IOleControl"},
    {&IID_IOleInPlaceObject, "IOleInPlaceObject"},
    {&IID_IViewObject, "IViewObject"},
    {&IID_IViewObject2, "IViewObject2"},
    {&IID_IPersistStreamInit, "IPersistStreamInit"},
    {&IID_IPersistPropertyBag, "IPersistPropertyBag"},
    {&IID_IQuickActivate, "IQuickActivate"},
    {&IID_IConnectionPointContainer, "IConnectionPointContainer"},
    {&IID_IProvideClassInfo, "IProvideClassInfo"},
    {&IID_IProvideClassInfo2, "IProvideClassInfo2"},
};

}  // namespace

void SetRefusedInterfaceListener(RefusedInterfaceListener listener) {
    Listener() = std::move(listener);
}

void ReportRefusedInterface(const IID& iid) {
    if (const RefusedInterfaceListener& listener = Listener()) {
        // A listener's failure must not turn a refusal into something else.
        try {
            listener(iid);
        } catch (...) {
        }
    }
}

std::string InterfaceName(const IID& iid) {
    wchar_t id[40] = {};
    StringFromGUID2(iid, id, 40);
    const std::wstring path = std::wstring(L"Interface\\") + id;
    wchar_t name[256] = {};
    DWORD size = sizeof(name) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, name,
                     &size) == ERROR_SUCCESS &&
        name[0] != L'\0') {
        return Narrow(name);
    }
    for (const KnownInterface& known : kKnownInterfaces) {
        if (IsEqualIID(iid, *known.iid)) {
            return known.name;
        }
    }
    return Narrow(id);
}

}  // namespace arn::win32
