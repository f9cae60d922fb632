#pragma once

#include <windows.h>

#include <unknwn.h>

#include "platform/ComponentClass.h"

namespace arn::win32 {

// The class factory of the served class. One static object per server; its references do not
// keep the server loaded (LockServer does). CreateInstance makes an initialised object through
// ComponentClass::create and presents it with ComDispatchObject.
class ComClassFactory final : public IClassFactory {
  public:
    explicit ComClassFactory(const ComponentClass& served) : m_served(served) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                             void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

  private:
    const ComponentClass& m_served;
};

}  // namespace arn::win32
