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

HRESULT ComArnAbsPosnCtl::QueryInterface(REFIID riid, void** ppv) {
    return m_outer->QueryInterface(riid, ppv);
}

ULONG ComArnAbsPosnCtl::AddRef() {
    return m_outer->AddRef();
}

ULONG ComArnAbsPosnCtl::Release() {
    return m_outer->Release();
}

HRESULT ComArnAbsPosnCtl::GetTypeInfoCount(UINT* pctinfo) {
    return m_outer->GetTypeInfoCount(pctinfo);
}

HRESULT ComArnAbsPosnCtl::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) {
    return m_outer->GetTypeInfo(iTInfo, lcid, ppTInfo);
}

HRESULT ComArnAbsPosnCtl::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                        DISPID* rgDispId) {
    return m_outer->GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
}

HRESULT ComArnAbsPosnCtl::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                 DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                 EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    return m_outer->Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo,
                           puArgErr);
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
