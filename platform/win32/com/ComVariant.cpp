#include "platform/win32/com/ComVariant.h"

#include <string>

#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

VARTYPE ComType(VariantKind kind) {
    switch (kind) {
        case VariantKind::Bool:
            return VT_BOOL;
        case VariantKind::Long:
            return VT_I4;
        case VariantKind::Double:
            return VT_R8;
        case VariantKind::String:
            return VT_BSTR;
        case VariantKind::Object:
            break;
    }
    return VT_DISPATCH;
}

}  // namespace

HRESULT FromComVariant(const VARIANT& in, VariantKind kind, Variant& out) {
    if (kind == VariantKind::Object) {
        // Objects of other clients are not taken in here: a member of object kind is read-only.
        return DISP_E_TYPEMISMATCH;
    }
    VARIANT coerced;
    VariantInit(&coerced);
    const HRESULT hr = VariantChangeType(&coerced, const_cast<VARIANT*>(&in), 0, ComType(kind));
    if (FAILED(hr)) {
        return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
    }
    switch (kind) {
        case VariantKind::Bool:
            out = coerced.boolVal != VARIANT_FALSE;
            break;
        case VariantKind::Long:
            out = static_cast<int32_t>(coerced.lVal);
            break;
        case VariantKind::Double:
            out = coerced.dblVal;
            break;
        case VariantKind::String:
            out = Narrow(coerced.bstrVal, SysStringLen(coerced.bstrVal));
            break;
        case VariantKind::Object:
            break;
    }
    VariantClear(&coerced);
    return S_OK;
}

HRESULT ToComVariant(const Variant& in, const ObjectPresenter& present, VARIANT* out) {
    if (const auto* b = std::get_if<bool>(&in)) {
        out->vt = VT_BOOL;
        out->boolVal = *b ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const auto* l = std::get_if<int32_t>(&in)) {
        out->vt = VT_I4;
        out->lVal = *l;
    } else if (const auto* d = std::get_if<double>(&in)) {
        out->vt = VT_R8;
        out->dblVal = *d;
    } else if (const auto* s = std::get_if<std::string>(&in)) {
        const std::wstring wide = Widen(*s);
        out->vt = VT_BSTR;
        out->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (out->bstrVal == nullptr) {
            out->vt = VT_EMPTY;
            return E_OUTOFMEMORY;
        }
    } else if (const auto* o = std::get_if<std::shared_ptr<Dispatch>>(&in)) {
        IDispatch* dispatch = nullptr;
        const HRESULT hr = present(*o, &dispatch);
        if (FAILED(hr)) {
            return hr;
        }
        out->vt = VT_DISPATCH;
        out->pdispVal = dispatch;
    } else {
        out->vt = VT_EMPTY;
    }
    return S_OK;
}

}  // namespace arn::win32
