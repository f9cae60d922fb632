#include "component/win32/ControlClientSite.h"

#include <olectl.h>

#include <utility>

#include "panel/ArnAbsPosnCtl.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

ControlClientSite::ControlClientSite(std::shared_ptr<ArnAbsPosnCtl> panel)
    : m_panel(std::move(panel)) {}

void ControlClientSite::Set(IOleClientSite* site) {
    m_site = site;
    m_userMode = true;
    ReadAmbients();
}

void ControlClientSite::SetObjectName(const wchar_t* name) {
    m_objectName = name != nullptr ? name : L"";
    ApplyDisplayName();
}

void ControlClientSite::ReadAmbients() {
    VARIANT mode;
    VariantInit(&mode);
    if (Ambient(DISPID_AMBIENT_USERMODE, mode) &&
        SUCCEEDED(VariantChangeType(&mode, &mode, 0, VT_BOOL))) {
        m_userMode = mode.boolVal != VARIANT_FALSE;
    }
    VariantClear(&mode);
    ApplyDisplayName();
}

bool ControlClientSite::Ambient(DISPID id, VARIANT& value) const {
    const auto ambients = Query<IDispatch>();
    if (ambients == nullptr) {
        return false;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return SUCCEEDED(ambients->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                      &none, &value, nullptr, nullptr));
}

void ControlClientSite::ApplyDisplayName() {
    std::wstring name;
    VARIANT ambient;
    VariantInit(&ambient);
    if (Ambient(DISPID_AMBIENT_DISPLAYNAME, ambient) && ambient.vt == VT_BSTR &&
        SysStringLen(ambient.bstrVal) > 0) {
        name.assign(ambient.bstrVal, SysStringLen(ambient.bstrVal));
    }
    VariantClear(&ambient);
    if (name.empty()) {
        name = m_objectName;
    }
    if (!name.empty()) {
        m_panel->put_DisplayName(Narrow(name.c_str(), name.size()));
    }
}

}  // namespace arn::win32
