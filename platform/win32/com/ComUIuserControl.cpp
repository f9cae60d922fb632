#include "platform/win32/com/ComUIuserControl.h"

#include <utility>

#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

const IID& UIuserControlIid() {
    static const IID iid = GuidFromText(kUIuserControlId);
    return iid;
}

IDispatch* ComUIuserControl::MakeDispatcher(const std::shared_ptr<AutomationObject>& facet) {
    return ComDispatchObject::Create(facet, UIuserControlIid(), nullptr, nullptr);
}

ComUIuserControl::ComUIuserControl(IUnknown* outer, std::shared_ptr<AutomationObject> facet)
    : ComTearOff(outer, MakeDispatcher(facet)),
      m_facet(std::move(facet)),
      m_caller(Dispatcher(), *m_facet, UIuserControlIid()) {}

ComUIuserControl::~ComUIuserControl() {
    Dispatcher()->Release();
}

HRESULT ComUIuserControl::ReleaseControl() {
    return m_caller.Call("ReleaseControl", DISPATCH_METHOD, nullptr, 0, nullptr);
}

HRESULT ComUIuserControl::AttachControl(IDispatch* theNet, IDispatch* theNode, IDispatch* theAppObj,
                                        BSTR regName, BSTR regSect) {
    VARIANT args[] = {BorrowedArgument(regSect), BorrowedArgument(regName),
                      BorrowedArgument(theAppObj), BorrowedArgument(theNode),
                      BorrowedArgument(theNet)};
    return m_caller.Call("AttachControl", DISPATCH_METHOD, args, 5, nullptr);
}

HRESULT ComUIuserControl::get_BarColor(LONG* result) {
    return m_caller.GetLong("BarColor", result);
}

HRESULT ComUIuserControl::get_VersionStr(BSTR* result) {
    return m_caller.GetText("VersionStr", result);
}

HRESULT ComUIuserControl::get_ControlVersionList(IDispatch** result) {
    return m_caller.GetObject("ControlVersionList", result);
}

HRESULT ComUIuserControl::get_MyForms(IDispatch** result) {
    return m_caller.GetObject("MyForms", result);
}

}  // namespace arn::win32
