#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <map>
#include <vector>

namespace arn::win32 {

// The one connection point of an object for its event interface. It lives inside its
// container and shares the container's reference count; the sinks it holds are referenced
// from Advise to Unadvise (or the container's end). EnumConnections lists the connections
// advised at the call (each sink with its cookie) as a ComConnectionEnumerator.
class ComConnectionPoint final : public IConnectionPoint {
  public:
    ComConnectionPoint(IConnectionPointContainer* container, const IID& eventIid);
    ~ComConnectionPoint();
    ComConnectionPoint(const ComConnectionPoint&) = delete;
    ComConnectionPoint& operator=(const ComConnectionPoint&) = delete;

    // Calls Invoke(dispId, no arguments) on every sink advised when the call begins; a sink's
    // failure does not stop the others.
    void Fire(DISPID dispId);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override;

  private:
    IConnectionPointContainer* m_container;
    IID m_eventIid;
    std::map<DWORD, IDispatch*> m_sinks;
    DWORD m_nextCookie = 1;
};

}  // namespace arn::win32
