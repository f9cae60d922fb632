#pragma once

#include <windows.h>

#include <unknwn.h>

#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComRefusals.h"

namespace arn::win32 {

// The IUnknown of an object with one interface that counts its own references: made with one
// reference, it deletes itself at the last Release, and counts in ComModule from construction
// to its end. QueryInterface answers IUnknown, the interface's id and what Offers adds, with the
// one interface pointer; it refuses (and reports) the rest.
template <class Interface>
class ComCounted : public Interface {
  public:
    ComCounted(const ComCounted&) = delete;
    ComCounted& operator=(const ComCounted&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, m_iid) || Offers(riid)) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        ReportRefusedInterface(riid);
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&m_refs));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) {
            delete this;
        }
        return static_cast<ULONG>(refs);
    }

  protected:
    explicit ComCounted(const IID& iid) : m_iid(iid) { ComObjectCreated(); }
    virtual ~ComCounted() { ComObjectDestroyed(); }

    // Further interface ids that the one interface answers to (an event interface that a sink
    // takes as IDispatch); none by default.
    virtual bool Offers(REFIID) const { return false; }

  private:
    LONG m_refs = 1;
    IID m_iid;
};

}  // namespace arn::win32
