#pragma once

#include <windows.h>

#include <oaidl.h>

#include "ArnAbsPosnIdl.h"
#include "platform/win32/com/ComMemberCaller.h"
#include "platform/win32/com/ComTearOff.h"

namespace arn::win32 {

// The control's automation interface _ArnAbsPosnCtl, declared by the IDL: dual, its own slots
// after IDispatch's in declaration order.
using ArnAbsPosnCtlInterface = ::_ArnAbsPosnCtl;

inline const IID& ArnAbsPosnCtlIid() {
    static const IID iid = __uuidof(ArnAbsPosnCtlInterface);
    return iid;
}

// The dual vtable of the panel's automation object, a face that the object hands out from its
// own QueryInterface: identity, reference count and IDispatch are the outer object's, which owns
// this one. Each slot calls its member by dispatch id through the outer object's IDispatch.
class ComArnAbsPosnCtl final : public ComTearOff<ArnAbsPosnCtlInterface> {
  public:
    explicit ComArnAbsPosnCtl(IDispatch* outer)
        : ComTearOff(outer, outer), m_caller(outer, ArnAbsPosnCtlIid()) {}

    // The kind of face the class factory registers for the served class.
    static ComFaceKind Kind();

    HRESULT STDMETHODCALLTYPE get_UIuserControl_MyForms(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_UIref(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE put_DisplayMsg(BSTR rhs) override;
    HRESULT STDMETHODCALLTYPE get_DisplayMsg(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE put_Show(VARIANT_BOOL rhs) override;
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL rhs) override;
    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* result) override;

  private:
    ComMemberCaller m_caller;
};

}  // namespace arn::win32
