#pragma once

#include <windows.h>

#include <oaidl.h>

namespace arn::win32 {

// Arguments for a call through ComMemberCaller: the value is borrowed for the call, not owned.
inline VARIANT BorrowedArgument(BSTR text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return v;
}
inline VARIANT BorrowedArgument(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}
inline VARIANT BoolArgument(VARIANT_BOOL b) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = b;
    return v;
}

// The vtable side of a dual interface: each slot calls its member by dispatch id through the
// object's IDispatch, so that early- and late-bound callers meet the same conversions and
// errors. A failure returns its result and, for an error the object raised, sets the thread's
// error information (source, description and the interface id) as vtable callers expect.
//
// Borrows the dispatcher: the interface that owns this caller outlives its uses.
class ComMemberCaller {
  public:
    ComMemberCaller(IDispatch* dispatcher, const IID& iid) : m_dispatcher(dispatcher), m_iid(iid) {}

    // Invokes member dispId with args (in Invoke's order, last first) into result (may be null).
    HRESULT Call(DISPID dispId, WORD flags, VARIANT* args, UINT count, VARIANT* result) const;
    HRESULT Put(DISPID dispId, VARIANT value) const;

    // A property read as one type; out-pointers are checked and cleared first.
    HRESULT GetLong(DISPID dispId, LONG* out) const;
    HRESULT GetBool(DISPID dispId, VARIANT_BOOL* out) const;
    HRESULT GetText(DISPID dispId, BSTR* out) const;
    HRESULT GetObject(DISPID dispId, IDispatch** out) const;

  private:
    HRESULT GetAs(DISPID dispId, VARTYPE type, VARIANT& out) const;

    IDispatch* m_dispatcher;
    IID m_iid;
};

}  // namespace arn::win32
