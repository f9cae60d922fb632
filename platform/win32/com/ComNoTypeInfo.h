#pragma once

#include <windows.h>

#include <oaidl.h>

namespace arn::win32 {

// IDispatch's type-information part for an interface that has none and no members by name: its
// clients call the vtable (IAccessible) or Invoke by dispatch id (an event sink's source).
template <class Interface>
class ComNoTypeInfo : public Interface {
  public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
        if (pctinfo == nullptr) {
            return E_POINTER;
        }
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (ppTInfo == nullptr) {
            return E_POINTER;
        }
        *ppTInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID,
                                            DISPID* rgDispId) override {
        if (rgDispId == nullptr) {
            return E_INVALIDARG;
        }
        for (UINT i = 0; i < cNames; ++i) {
            rgDispId[i] = DISPID_UNKNOWN;
        }
        return DISP_E_UNKNOWNNAME;
    }

  protected:
    ~ComNoTypeInfo() = default;
};

}  // namespace arn::win32
