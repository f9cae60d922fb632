#include "platform/win32/com/ComVariant.h"

#include <string>
#include <utility>

#include "core/AutomationClient.h"
#include "platform/win32/com/ComAutomationClient.h"
#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComText.h"
#include "platform/win32/com/ComTypeLibraries.h"

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
        case VariantKind::Empty:
            return VT_EMPTY;
    }
    return VT_DISPATCH;
}

// An object from the runtime; nullptr stays Nothing.
HRESULT FromComObject(IUnknown* object, Variant& out) {
    if (object == nullptr) {
        out = std::shared_ptr<Dispatch>();
        return S_OK;
    }
    if (const ComDispatchObject* ours = ComDispatchObject::Ours(object)) {
        out = std::shared_ptr<Dispatch>(ours->Object());
        return S_OK;
    }
    IDispatch* dispatch = nullptr;
    if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        return DISP_E_TYPEMISMATCH;
    }
    auto client = std::make_shared<ComAutomationClient>(dispatch);
    dispatch->Release();
    out = std::shared_ptr<Dispatch>(std::make_shared<ClientObject>(std::move(client)));
    return S_OK;
}

}  // namespace

HRESULT PresentObject(const std::shared_ptr<Dispatch>& object, IDispatch** out) {
    *out = nullptr;
    if (object == nullptr) {
        return S_OK;
    }
    if (const auto carried = std::dynamic_pointer_cast<ClientObject>(object)) {
        if (const auto com = std::dynamic_pointer_cast<ComAutomationClient>(carried->Client())) {
            *out = com->Object();
            (*out)->AddRef();
            return S_OK;
        }
        return DISP_E_TYPEMISMATCH;
    }
    auto automation = std::dynamic_pointer_cast<AutomationObject>(object);
    if (automation == nullptr) {
        return DISP_E_TYPEMISMATCH;
    }
    ComClassDescription described;
    if (DescribeClass(automation->ClassId(), described)) {
        *out =
            ComDispatchObject::Create(std::move(automation), described.interfaceId,
                                      described.hasEvents ? &described.eventInterfaceId : nullptr,
                                      described.interfaceInfo, described.classInfo);
        described.Release();
        return S_OK;
    }
    *out = ComDispatchObject::Create(std::move(automation), IID_IDispatch, nullptr, nullptr);
    return S_OK;
}

HRESULT FromComVariant(const VARIANT& in, Variant& out) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(&in)))) {
        return DISP_E_TYPEMISMATCH;
    }
    HRESULT hr = S_OK;
    switch (value.vt) {
        case VT_EMPTY:
        case VT_NULL:
            out = Variant{};
            break;
        case VT_BOOL:
            out = value.boolVal != VARIANT_FALSE;
            break;
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_INT:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_UINT:
        case VT_I8:
        case VT_UI8:
            hr = FromComVariant(value, VariantKind::Long, out);
            break;
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
        case VT_DECIMAL:
            hr = FromComVariant(value, VariantKind::Double, out);
            break;
        case VT_BSTR:
            out = Narrow(value.bstrVal, SysStringLen(value.bstrVal));
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            hr = FromComObject(value.punkVal, out);
            break;
        default:
            hr = DISP_E_TYPEMISMATCH;
            break;
    }
    VariantClear(&value);
    return hr;
}

HRESULT FromComVariant(const VARIANT& in, VariantKind kind, Variant& out) {
    if (kind == VariantKind::Object) {
        Variant value;
        const HRESULT hr = FromComVariant(in, value);
        if (FAILED(hr)) {
            return hr;
        }
        if (!IsEmpty(value) && !std::holds_alternative<std::shared_ptr<Dispatch>>(value)) {
            return DISP_E_TYPEMISMATCH;
        }
        out = std::move(value);
        return S_OK;
    }
    if (kind == VariantKind::Empty) {
        out = Variant{};
        return S_OK;
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
        case VariantKind::Empty:
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
