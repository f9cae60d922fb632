#include "platform/win32/com/ComUIuserControl.h"

#include <utility>

#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

// The thread's error information for a vtable caller, from the exception Invoke reported.
void SetError(EXCEPINFO& info) {
    ICreateErrorInfo* create = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&create))) {
        create->SetGUID(UIuserControlIid());
        create->SetSource(info.bstrSource);
        create->SetDescription(info.bstrDescription);
        IErrorInfo* error = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&error)))) {
            SetErrorInfo(0, error);
            error->Release();
        }
        create->Release();
    }
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
}

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
      m_dispatch(
          ComDispatchObject::Create(std::move(facet), UIuserControlIid(), nullptr, nullptr)) {}

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

HRESULT ComUIuserControl::Call(const char* name, WORD flags, VARIANT* args, UINT count,
                               VARIANT* result) {
    const AutomationMember* member = m_facet->FindMember(name);
    if (member == nullptr) {
        return E_NOTIMPL;
    }
    DISPPARAMS params{args, nullptr, count, 0};
    EXCEPINFO info{};
    UINT argErr = 0;
    const HRESULT hr = m_dispatch->Invoke(member->dispId, IID_NULL, LOCALE_USER_DEFAULT, flags,
                                          &params, result, &info, &argErr);
    if (hr == DISP_E_EXCEPTION) {
        const HRESULT scode = FAILED(info.scode) ? info.scode : E_FAIL;
        SetError(info);
        return scode;
    }
    return hr;
}

HRESULT ComUIuserControl::GetObjectResult(const char* name, IDispatch** result) {
    if (result == nullptr) {
        return E_POINTER;
    }
    *result = nullptr;
    VARIANT value;
    VariantInit(&value);
    const HRESULT hr = Call(name, DISPATCH_PROPERTYGET, nullptr, 0, &value);
    if (SUCCEEDED(hr) && value.vt == VT_DISPATCH) {
        *result = value.pdispVal;  // the reference moves to the caller
        return S_OK;
    }
    VariantClear(&value);
    return FAILED(hr) ? hr : E_UNEXPECTED;
}

HRESULT ComUIuserControl::ReleaseControl() {
    return Call("ReleaseControl", DISPATCH_METHOD, nullptr, 0, nullptr);
}

HRESULT ComUIuserControl::AttachControl(IDispatch* theNet, IDispatch* theNode, IDispatch* theAppObj,
                                        BSTR regName, BSTR regSect) {
    VARIANT args[] = {TextArgument(regSect), TextArgument(regName), ObjectArgument(theAppObj),
                      ObjectArgument(theNode), ObjectArgument(theNet)};
    return Call("AttachControl", DISPATCH_METHOD, args, 5, nullptr);
}

HRESULT ComUIuserControl::get_BarColor(LONG* result) {
    if (result == nullptr) {
        return E_POINTER;
    }
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = Call("BarColor", DISPATCH_PROPERTYGET, nullptr, 0, &value);
    if (SUCCEEDED(hr)) {
        hr = VariantChangeType(&value, &value, 0, VT_I4);
        *result = SUCCEEDED(hr) ? value.lVal : 0;
    }
    VariantClear(&value);
    return hr;
}

HRESULT ComUIuserControl::get_VersionStr(BSTR* result) {
    if (result == nullptr) {
        return E_POINTER;
    }
    *result = nullptr;
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = Call("VersionStr", DISPATCH_PROPERTYGET, nullptr, 0, &value);
    if (SUCCEEDED(hr)) {
        hr = VariantChangeType(&value, &value, 0, VT_BSTR);
    }
    if (SUCCEEDED(hr)) {
        *result = value.bstrVal;  // the string moves to the caller
        return S_OK;
    }
    VariantClear(&value);
    return hr;
}

HRESULT ComUIuserControl::get_ControlVersionList(IDispatch** result) {
    return GetObjectResult("ControlVersionList", result);
}

HRESULT ComUIuserControl::get_MyForms(IDispatch** result) {
    return GetObjectResult("MyForms", result);
}

}  // namespace arn::win32
