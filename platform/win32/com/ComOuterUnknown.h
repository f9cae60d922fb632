#pragma once

#include <windows.h>

#include <unknwn.h>

namespace arn::win32 {

// The IUnknown of a tear-off with one or more interfaces: QueryInterface, AddRef and Release are
// the outer object's, so that every interface has the outer object's identity and reference
// count. The outer object owns the tear-off and outlives it; the pointer is borrowed.
template <class... Interfaces>
class ComOuterUnknown : public Interfaces... {
  public:
    ComOuterUnknown(const ComOuterUnknown&) = delete;
    ComOuterUnknown& operator=(const ComOuterUnknown&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        return m_outer->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_outer->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_outer->Release(); }

  protected:
    explicit ComOuterUnknown(IUnknown* outer) : m_outer(outer) {}
    ~ComOuterUnknown() = default;

    IUnknown* Outer() const { return m_outer; }

  private:
    IUnknown* m_outer;
};

}  // namespace arn::win32
