#pragma once

#include <windows.h>

#include <oaidl.h>

#include <map>

namespace arn::test {

// A client's event sink: an IDispatch that counts the calls of Invoke per dispatch id. Lives on
// the test's stack; its reference count only guards against a server that releases too often.
class ComEventSink final : public IDispatch {
  public:
    int Count(DISPID dispId) const {
        auto found = m_calls.find(dispId);
        return found == m_calls.end() ? 0 : found->second;
    }
    int Total() const { return m_total; }
    LONG References() const { return m_refs; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        const bool ours = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch);
        *ppv = ours ? static_cast<IDispatch*>(this) : nullptr;
        return ours ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispId, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        ++m_calls[dispId];
        ++m_total;
        return S_OK;
    }

  private:
    LONG m_refs = 1;
    std::map<DISPID, int> m_calls;
    int m_total = 0;
};

// An object that answers IUnknown only, for sinks a connection point must refuse.
class ComPlainUnknown final : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = IsEqualIID(riid, IID_IUnknown) ? this : nullptr;
        return *ppv != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

}  // namespace arn::test
