// The four entry points of the in-process server as the system calls them (exported by their
// plain names through ArnAbsPosn.def). They hand over to the class the module serves.
#include <windows.h>

#include <objbase.h>
#include <olectl.h>

#include <string>

#include "platform/ComponentClass.h"
#include "platform/win32/ThisModule.h"
#include "platform/win32/com/ComClassFactory.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComRegistration.h"
#include "platform/win32/com/ComText.h"

namespace {

arn::win32::ComClassFactory& Factory() {
    static arn::win32::ComClassFactory factory(arn::ServedComponentClass());
    return factory;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(arn::win32::ThisModule(), path.data(),
                                                static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllRegisterServer() {
    const std::wstring path = ModulePath();
    if (path.empty()) {
        return SELFREG_E_CLASS;
    }
    return arn::win32::RegisterComServer(arn::ServedComponentClass(), path);
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return arn::win32::UnregisterComServer(arn::ServedComponentClass());
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, arn::win32::GuidFromText(arn::ServedComponentClass().classId))) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return Factory().QueryInterface(riid, ppv);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return arn::win32::ComServerCanUnload() ? S_OK : S_FALSE;
}

}  // extern "C"
