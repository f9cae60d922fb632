#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>
#include <string_view>

#include "core/AutomationObject.h"
#include "platform/win32/com/ComMemberCaller.h"
#include "platform/win32/com/ComTearOff.h"

namespace arn::win32 {

class ComDispatchObject;

// The host framework's UIuserControl as the component runtime calls it: a dual interface whose
// own slots follow IDispatch's in the interface's order. Object arguments are the host's own
// automation objects; a failure returns its result and sets the thread's error information.
inline constexpr std::string_view kUIuserControlId = "{DE79A7C1-7138-4CE8-8F7D-2758C759F497}";

struct UIuserControlInterface : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE ReleaseControl() = 0;
    virtual HRESULT STDMETHODCALLTYPE AttachControl(IDispatch* theNet, IDispatch* theNode,
                                                    IDispatch* theAppObj, BSTR regName,
                                                    BSTR regSect) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BarColor(LONG* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VersionStr(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlVersionList(IDispatch** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MyForms(IDispatch** result) = 0;
};

// UIuserControl of an object that offers it as a facet, handed out by the object's own
// QueryInterface: identity and reference count are the outer object's, and the outer object
// owns this one. Each slot goes through the facet's member of the same name, late-bound calls
// through its member table.
class ComUIuserControl final : public ComTearOff<UIuserControlInterface> {
  public:
    ComUIuserControl(IUnknown* outer, std::shared_ptr<AutomationObject> facet);
    ~ComUIuserControl();

    const std::shared_ptr<AutomationObject>& Facet() const { return m_facet; }

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

// The interface id of UIuserControlInterface.
const IID& UIuserControlIid();

}  // namespace arn::win32
