#include "component/win32/ComArnAbsPosnCtl.h"

#include <memory>

#include "panel/PanelIds.h"

namespace arn::win32 {

ComFaceKind ComArnAbsPosnCtl::Kind() {
    return {ArnAbsPosnCtlIid(), [](IDispatch* outer, const std::shared_ptr<AutomationObject>&) {
                return std::unique_ptr<ComFace>(std::make_unique<ComArnAbsPosnCtl>(outer));
            }};
}

HRESULT ComArnAbsPosnCtl::get_UIuserControl_MyForms(IDispatch** result) {
    return m_caller.GetObject(DISPID_UIuserControl_MyForms, result);
}

HRESULT ComArnAbsPosnCtl::get_UIref(IDispatch** result) {
    return m_caller.GetObject(DISPID_UIref, result);
}

HRESULT ComArnAbsPosnCtl::put_DisplayMsg(BSTR rhs) {
    return m_caller.Put(DISPID_DisplayMsg, BorrowedArgument(rhs));
}

HRESULT ComArnAbsPosnCtl::get_DisplayMsg(BSTR* result) {
    return m_caller.GetText(DISPID_DisplayMsg, result);
}

HRESULT ComArnAbsPosnCtl::put_Show(VARIANT_BOOL rhs) {
    return m_caller.Put(DISPID_Show, BoolArgument(rhs));
}

HRESULT ComArnAbsPosnCtl::put_Enabled(VARIANT_BOOL rhs) {
    return m_caller.Put(DISPID_Enabled, BoolArgument(rhs));
}

HRESULT ComArnAbsPosnCtl::get_Enabled(VARIANT_BOOL* result) {
    return m_caller.GetBool(DISPID_Enabled, result);
}

}  // namespace arn::win32
