#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string_view>

#include "platform/win32/com/ComMemberCaller.h"
#include "platform/win32/com/ComTearOff.h"

namespace arn::win32 {

// The control's automation interface _ArnAbsPosnCtl as the type library declares it: dual, its
// own slots after IDispatch's in declaration order.
inline constexpr std::string_view kArnAbsPosnCtlInterfaceId =
    "{13F4AFE4-ED9A-4FFB-8E97-D121B0B7621D}";

struct ArnAbsPosnCtlInterface : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_UIuserControl_MyForms(IDispatch** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UIref(IDispatch** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DisplayMsg(BSTR rhs) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DisplayMsg(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Show(VARIANT_BOOL rhs) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL rhs) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* result) = 0;
};

const IID& ArnAbsPosnCtlIid();

// The dual vtable of an object presented under _ArnAbsPosnCtl, handed out by the object's own
// QueryInterface: identity, reference count and IDispatch are the outer object's, which owns
// this one.
// Each slot goes through the outer object's member of the same name.
class ComArnAbsPosnCtl final : public ComTearOff<ArnAbsPosnCtlInterface> {
  public:
    ComArnAbsPosnCtl(IDispatch* outer, const AutomationObject& object)
        : ComTearOff(outer, outer), m_caller(outer, object, ArnAbsPosnCtlIid()) {}

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
