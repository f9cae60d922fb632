#include "platform/win32/com/ComUIuserControl.h"

#include <utility>

#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

VARIANT ObjectArgument(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;  // borrowed for the call
    return v;
}

VARIANT TextArgument(BSTR text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;  // borrowed for the call
    return v;
}

}  // namespace

const IID& UIuserControlIid() {
    static const IID iid = GuidFromText(kUIuserControlId);
    return iid;
}

ComUIuserControl::ComUIuserControl(IUnknown* outer, std::shared_ptr<AutomationObject> facet)
    : m_outer(outer),
      m_facet(facet),
      m_dispatch(ComDispatchObject::Create(std::move(facet), UIuserControlIid(), nullptr, nullptr)),
      m_caller(m_dispatch, *m_facet, UIuserControlIid()) {}

ComUIuserControl::~ComUIuserControl() {
    m_dispatch->Release();
}

HRESULT ComUIuserControl::QueryInterface(REFIID riid, void** ppv) {
    return m_outer->QueryInterface(riid, ppv);
}

ULONG ComUIuserControl::AddRef() {
    return m_outer->AddRef();
}

ULONG ComUIuserControl::Release() {
    return m_outer->Release();
}

HRESULT ComUIuserControl::GetTypeInfoCount(UINT* pctinfo) {
    return m_dispatch->GetTypeInfoCount(pctinfo);
}

HRESULT ComUIuserControl::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) {
    return m_dispatch->GetTypeInfo(iTInfo, lcid, ppTInfo);
}

HRESULT ComUIuserControl::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                        DISPID* rgDispId) {
    return m_dispatch->GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
}

HRESULT ComUIuserControl::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                 DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                 EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    return m_dispatch->Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo,
                              puArgErr);
}

HRESULT ComUIuserControl::ReleaseControl() {
    return m_caller.Call("ReleaseControl", DISPATCH_METHOD, nullptr, 0, nullptr);
}

HRESULT ComUIuserControl::AttachControl(IDispatch* theNet, IDispatch* theNode, IDispatch* theAppObj,
                                        BSTR regName, BSTR regSect) {
    VARIANT args[] = {TextArgument(regSect), TextArgument(regName), ObjectArgument(theAppObj),
                      ObjectArgument(theNode), ObjectArgument(theNet)};
    return m_caller.Call("AttachControl", DISPATCH_METHOD, args, 5, nullptr);
}

HRESULT ComUIuserControl::get_BarColor(LONG* result) {
    return m_caller.GetLong("BarColor", result);
}

HRESULT ComUIuserControl::get_VersionStr(BSTR* result) {
    return m_caller.GetText("VersionStr", result);
}

HRESULT ComUIuserControl::get_ControlVersionList(IDispatch** result) {
    return m_caller.GetObject("ControlVersionList", result);
}

HRESULT ComUIuserControl::get_MyForms(IDispatch** result) {
    return m_caller.GetObject("MyForms", result);
}

}  // namespace arn::win32
