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
    int Total() const {
        int total = 0;
        for (const auto& [id, n] : m_calls) {
            total += n;
        }
        return total;
    }
    LONG References() const { return m_refs; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispId, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        ++m_calls[dispId];
        return S_OK;
    }

  private:
    LONG m_refs = 1;
    std::map<DISPID, int> m_calls;
};

// An object that answers IUnknown only, for sinks a connection point must refuse.
class ComPlainUnknown final : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

}  // namespace arn::test
