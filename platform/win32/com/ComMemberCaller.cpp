#include "platform/win32/com/ComMemberCaller.h"

namespace arn::win32 {

namespace {

// The thread's error information for a vtable caller, from the exception Invoke reported.
void SetError(const IID& iid, EXCEPINFO& info) {
    ICreateErrorInfo* create = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&create))) {
        create->SetGUID(iid);
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

}  // namespace

HRESULT ComMemberCaller::Call(DISPID dispId, WORD flags, VARIANT* args, UINT count,
                              VARIANT* result) const {
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    DISPPARAMS params{args, put ? &putId : nullptr, count, put ? 1u : 0u};
    EXCEPINFO info{};
    UINT argErr = 0;
    const HRESULT hr = m_dispatcher->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                            result, &info, &argErr);
    if (hr == DISP_E_EXCEPTION) {
        const HRESULT scode = FAILED(info.scode) ? info.scode : E_FAIL;
        SetError(m_iid, info);
        return scode;
    }
    return hr;
}

HRESULT ComMemberCaller::Put(DISPID dispId, VARIANT value) const {
    return Call(dispId, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

HRESULT ComMemberCaller::GetAs(DISPID dispId, VARTYPE type, VARIANT& out) const {
    VariantInit(&out);
    HRESULT hr = Call(dispId, DISPATCH_PROPERTYGET, nullptr, 0, &out);
    if (SUCCEEDED(hr) && out.vt != type) {
        hr = VariantChangeType(&out, &out, 0, type);
    }
    if (FAILED(hr)) {
        VariantClear(&out);
    }
    return hr;
}

HRESULT ComMemberCaller::GetLong(DISPID dispId, LONG* out) const {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = 0;
    VARIANT value;
    const HRESULT hr = GetAs(dispId, VT_I4, value);
    if (SUCCEEDED(hr)) {
        *out = value.lVal;
    }
    return hr;
}

HRESULT ComMemberCaller::GetBool(DISPID dispId, VARIANT_BOOL* out) const {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = VARIANT_FALSE;
    VARIANT value;
    const HRESULT hr = GetAs(dispId, VT_BOOL, value);
    if (SUCCEEDED(hr)) {
        *out = value.boolVal;
    }
    return hr;
}

HRESULT ComMemberCaller::GetText(DISPID dispId, BSTR* out) const {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    VARIANT value;
    const HRESULT hr = GetAs(dispId, VT_BSTR, value);
    if (SUCCEEDED(hr)) {
        *out = value.bstrVal;  // the string moves to the caller
    }
    return hr;
}

HRESULT ComMemberCaller::GetObject(DISPID dispId, IDispatch** out) const {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    VARIANT value;
    const HRESULT hr = GetAs(dispId, VT_DISPATCH, value);
    if (SUCCEEDED(hr)) {
        *out = value.pdispVal;  // the reference moves to the caller
    }
    return hr;
}

}  // namespace arn::win32
