#include "component/win32/ComUIuserControl.h"

#include <utility>

#include "host/UIuserControl.h"
#include "platform/win32/com/ComDispatchObject.h"

namespace arn::win32 {

ComFaceKind ComUIuserControl::Kind() {
    return {UIuserControlIid(),
            [](IDispatch* outer,
               const std::shared_ptr<AutomationObject>& object) -> std::unique_ptr<ComFace> {
                auto facet = object->Facet(IID_UIuserControl);
                if (facet == nullptr) {
                    return nullptr;
                }
                return std::make_unique<ComUIuserControl>(outer, std::move(facet));
            }};
}

IDispatch* ComUIuserControl::MakeDispatcher(const std::shared_ptr<AutomationObject>& facet) {
    return ComDispatchObject::Create(facet, UIuserControlIid(), nullptr, nullptr);
}

ComUIuserControl::ComUIuserControl(IUnknown* outer, std::shared_ptr<AutomationObject> facet)
    : ComTearOff(outer, MakeDispatcher(facet)),
      m_facet(std::move(facet)),
      m_caller(Dispatcher(), UIuserControlIid()) {}

ComUIuserControl::~ComUIuserControl() {
    Dispatcher()->Release();
}

HRESULT ComUIuserControl::ReleaseControl() {
    return m_caller.Call(UIuserControlDispId::ReleaseControl, DISPATCH_METHOD, nullptr, 0, nullptr);
}

HRESULT ComUIuserControl::AttachControl(IDispatch* theNet, IDispatch* theNode, IDispatch* theAppObj,
                                        BSTR regName, BSTR regSect) {
    VARIANT args[] = {BorrowedArgument(regSect), BorrowedArgument(regName),
                      BorrowedArgument(theAppObj), BorrowedArgument(theNode),
                      BorrowedArgument(theNet)};
    return m_caller.Call(UIuserControlDispId::AttachControl, DISPATCH_METHOD, args, 5, nullptr);
}

HRESULT ComUIuserControl::get_BarColor(LONG* result) {
    return m_caller.GetLong(UIuserControlDispId::BarColor, result);
}

HRESULT ComUIuserControl::get_VersionStr(BSTR* result) {
    return m_caller.GetText(UIuserControlDispId::VersionStr, result);
}

HRESULT ComUIuserControl::get_ControlVersionList(IDispatch** result) {
    return m_caller.GetObject(UIuserControlDispId::ControlVersionList, result);
}

HRESULT ComUIuserControl::get_MyForms(IDispatch** result) {
    return m_caller.GetObject(UIuserControlDispId::MyForms, result);
}

}  // namespace arn::win32
