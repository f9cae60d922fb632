#pragma once

#include <windows.h>

#include <oaidl.h>

namespace arn::win32 {

// The IUnknown and IDispatch part of a tear-off: an interface that an object hands out from its
// own QueryInterface, with that object's identity and reference count (outer), whose late-bound
// calls go to dispatcher. The object owns the tear-off and outlives it; both pointers are
// borrowed.
template <class Interface>
class ComTearOff : public Interface {
  public:
    ComTearOff(const ComTearOff&) = delete;
    ComTearOff& operator=(const ComTearOff&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        return m_outer->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_outer->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_outer->Release(); }

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
    ComTearOff(IUnknown* outer, IDispatch* dispatcher) : m_outer(outer), m_dispatcher(dispatcher) {}
    ~ComTearOff() = default;

    IDispatch* Dispatcher() const { return m_dispatcher; }

  private:
    IUnknown* m_outer;
    IDispatch* m_dispatcher;
};

}  // namespace arn::win32
