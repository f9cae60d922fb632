#pragma once

#include <windows.h>

#include <oaidl.h>

#include "core/AutomationObject.h"

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

// The vtable side of a dual interface: each slot calls the member of the same name through the
// object's IDispatch, so that early- and late-bound callers meet the same conversions and
// errors. A failure returns its result and, for an error the object raised, sets the thread's
// error information (source, description and the interface id) as vtable callers expect.
//
// Borrows the dispatcher and the object: the interface that owns this caller outlives both
// uses.
class ComMemberCaller {
  public:
    ComMemberCaller(IDispatch* dispatcher, const AutomationObject& object, const IID& iid)
        : m_dispatcher(dispatcher), m_object(object), m_iid(iid) {}

    // Invokes member name with args (in Invoke's order, last first) into result (may be null).
    HRESULT Call(const char* name, WORD flags, VARIANT* args, UINT count, VARIANT* result) const;
    HRESULT Put(const char* name, VARIANT value) const;

    // A property read as one type; out-pointers are checked and cleared first.
    HRESULT GetLong(const char* name, LONG* out) const;
    HRESULT GetBool(const char* name, VARIANT_BOOL* out) const;
    HRESULT GetText(const char* name, BSTR* out) const;
    HRESULT GetObject(const char* name, IDispatch** out) const;

  private:
    HRESULT GetAs(const char* name, VARTYPE type, VARIANT& out) const;

    IDispatch* m_dispatcher;
    const AutomationObject& m_object;
    IID m_iid;
};

}  // namespace arn::win32
