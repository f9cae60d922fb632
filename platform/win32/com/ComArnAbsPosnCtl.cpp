#include "platform/win32/com/ComArnAbsPosnCtl.h"

#include "platform/win32/com/ComText.h"

namespace arn::win32 {

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
    return m_caller.Put("DisplayMsg", BorrowedArgument(rhs));
}

HRESULT ComArnAbsPosnCtl::get_DisplayMsg(BSTR* result) {
    return m_caller.GetText("DisplayMsg", result);
}

HRESULT ComArnAbsPosnCtl::put_Show(VARIANT_BOOL rhs) {
    return m_caller.Put("Show", BoolArgument(rhs));
}

HRESULT ComArnAbsPosnCtl::put_Enabled(VARIANT_BOOL rhs) {
    return m_caller.Put("Enabled", BoolArgument(rhs));
}

HRESULT ComArnAbsPosnCtl::get_Enabled(VARIANT_BOOL* result) {
    return m_caller.GetBool("Enabled", result);
}

}  // namespace arn::win32
