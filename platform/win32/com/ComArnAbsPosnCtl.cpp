#include "platform/win32/com/ComArnAbsPosnCtl.h"

#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

VARIANT TextValue(BSTR text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;  // borrowed for the call
    return v;
}

VARIANT BoolValue(VARIANT_BOOL b) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = b;
    return v;
}

}  // namespace

const IID& ArnAbsPosnCtlIid() {
    static const IID iid = GuidFromText(kArnAbsPosnCtlInterfaceId);
    return iid;
}

HRESULT ComArnAbsPosnCtl::get_UIuserControl_MyForms(IDispatch** result) {
    return m_caller.GetObject("UIuserControl_MyForms", result);
}

HRESULT ComArnAbsPosnCtl::get_UIref(IDispatch** result) {
    return m_caller.GetObject("UIref", result);
}

HRESULT ComArnAbsPosnCtl::put_DisplayMsg(BSTR rhs) {
    return m_caller.Put("DisplayMsg", TextValue(rhs));
}

HRESULT ComArnAbsPosnCtl::get_DisplayMsg(BSTR* result) {
    return m_caller.GetText("DisplayMsg", result);
}

HRESULT ComArnAbsPosnCtl::put_Show(VARIANT_BOOL rhs) {
    return m_caller.Put("Show", BoolValue(rhs));
}

HRESULT ComArnAbsPosnCtl::put_Enabled(VARIANT_BOOL rhs) {
    return m_caller.Put("Enabled", BoolValue(rhs));
}

HRESULT ComArnAbsPosnCtl::get_Enabled(VARIANT_BOOL* result) {
    return m_caller.GetBool("Enabled", result);
}

}  // namespace arn::win32
