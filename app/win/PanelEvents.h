#pragma once

#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>

#include <functional>

namespace arn::winhost {

// The host's sink for the panel's events: each call of Invoke hands its dispatch id to the
// handler. Advise connects it to a control's event connection point until Unadvise or
// destruction; the sink lives in the host window and is never handed over for good.
class PanelEvents final : public IDispatch {
  public:
    explicit PanelEvents(std::function<void(DISPID)> handler) : m_handler(std::move(handler)) {}
    ~PanelEvents() { Unadvise(); }
    PanelEvents(const PanelEvents&) = delete;
    PanelEvents& operator=(const PanelEvents&) = delete;

    // Connects to control's connection point for the events interface events.
    HRESULT Advise(IUnknown* control, REFIID events);
    void Unadvise();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override;

  private:
    std::function<void(DISPID)> m_handler;
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
};

}  // namespace arn::winhost
