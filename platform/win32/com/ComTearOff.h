#pragma once

#include <windows.h>

#include <oaidl.h>

#include "platform/win32/com/ComFace.h"
#include "platform/win32/com/ComOuterUnknown.h"

namespace arn::win32 {

// The IUnknown and IDispatch part of a tear-off: an interface that an object hands out from its
// own QueryInterface, with that object's identity and reference count (outer), whose late-bound
// calls go to dispatcher. The object owns the tear-off and outlives it; both pointers are
// borrowed.
template <class Interface>
class ComTearOff : public ComOuterUnknown<Interface>, public ComFace {
  public:
    void* Pointer(REFIID) override { return static_cast<Interface*>(this); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
        return m_dispatcher->GetTypeInfoCount(pctinfo);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override {
        return m_dispatcher->GetTypeInfo(iTInfo, lcid, ppTInfo);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                            LCID lcid, DISPID* rgDispId) override {
        return m_dispatcher->GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override {
        return m_dispatcher->Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult,
                                    pExcepInfo, puArgErr);
    }

  protected:
    ComTearOff(IUnknown* outer, IDispatch* dispatcher)
        : ComOuterUnknown<Interface>(outer), m_dispatcher(dispatcher) {}
    ~ComTearOff() override = default;

    IDispatch* Dispatcher() const { return m_dispatcher; }

  private:
    IDispatch* m_dispatcher;
};

}  // namespace arn::win32
