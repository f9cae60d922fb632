#pragma once

#include <windows.h>

#include <unknwn.h>

#include <utility>
#include <vector>

#include "platform/ComponentClass.h"
#include "platform/win32/com/ComFace.h"

namespace arn::win32 {

// The class factory of the served class. One static object per server, made by the layer that
// serves the class with the class and the faces its objects offer beside IDispatch; its
// references do not keep the server loaded (LockServer does). CreateInstance makes an
// initialised object through ComponentClass::create and presents it with ComDispatchObject.
class ComClassFactory final : public IClassFactory {
  public:
    explicit ComClassFactory(const ComponentClass& served, std::vector<ComFaceKind> faces = {})
        : m_served(served), m_faces(std::move(faces)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                             void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

  private:
    const ComponentClass& m_served;
    const std::vector<ComFaceKind> m_faces;
};

}  // namespace arn::win32
