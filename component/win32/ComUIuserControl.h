#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>

#include "ArnAbsPosnIdl.h"
#include "core/AutomationObject.h"
#include "platform/win32/com/ComMemberCaller.h"
#include "platform/win32/com/ComTearOff.h"

namespace arn::win32 {

// The host framework's UIuserControl as the IDL declares it: a dual interface whose own slots
// follow IDispatch's in the interface's order. Object arguments are the host's own automation
// objects; a failure returns its result and sets the thread's error information.
using UIuserControlInterface = ::UIuserControl;

inline const IID& UIuserControlIid() {
    static const IID iid = __uuidof(UIuserControlInterface);
    return iid;
}

// UIuserControl of an object that offers it as a facet, a face handed out by the object's own
// QueryInterface: identity and reference count are the outer object's, and the outer object
// owns this one. Each slot calls the facet's member by dispatch id, late-bound calls go through
// its member table.
class ComUIuserControl final : public ComTearOff<UIuserControlInterface> {
  public:
    ComUIuserControl(IUnknown* outer, std::shared_ptr<AutomationObject> facet);
    ~ComUIuserControl() override;

    // The kind of face the class factory registers for the served class: made for an object
    // with a UIuserControl facet.
    static ComFaceKind Kind();

    const AutomationObject* Presents() const override { return m_facet.get(); }

    HRESULT STDMETHODCALLTYPE ReleaseControl() override;
    HRESULT STDMETHODCALLTYPE AttachControl(IDispatch* theNet, IDispatch* theNode,
                                            IDispatch* theAppObj, BSTR regName,
                                            BSTR regSect) override;
    HRESULT STDMETHODCALLTYPE get_BarColor(LONG* result) override;
    HRESULT STDMETHODCALLTYPE get_VersionStr(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_ControlVersionList(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_MyForms(IDispatch** result) override;

  private:
    // The facet's own dispatcher, made before the base is given it; released with this.
    static IDispatch* MakeDispatcher(const std::shared_ptr<AutomationObject>& facet);

    std::shared_ptr<AutomationObject> m_facet;
    ComMemberCaller m_caller;
};

}  // namespace arn::win32
