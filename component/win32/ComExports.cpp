// The four entry points of the in-process server as the system calls them (exported by their
// plain names through ArnAbsPosn.def). They hand the class this module serves, with the faces
// of the panel's COM presentation, to the system's component runtime.
#include <windows.h>

#include <objbase.h>
#include <olectl.h>

#include <cstdint>
#include <string>

#include "component/ArnAbsPosnComponent.h"
#include "component/win32/ComArnAbsPosnCtl.h"
#include "component/win32/ComPanelEmbedding.h"
#include "component/win32/ComUIuserControl.h"
#include "platform/win32/ThisModule.h"
#include "platform/win32/com/ComClassFactory.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComRefusals.h"
#include "platform/win32/com/ComRegistration.h"
#include "platform/win32/com/ComText.h"
#include "support/DebuggingFlags.h"

namespace {

// A host that probes the panel for an interface it lacks (an embedding interface, say) shows up
// in the verbose trace. The name lookup reads the registry, so it runs only when that level is
// on.
void TraceRefusedInterface(const IID& iid) {
    if (arn::TraceLevelOn(arn::TraceLevelVerbose)) {
        arn::DebugTrace("ArnAbsPosnCtl",
                        ".QueryInterface refused " + arn::win32::InterfaceName(iid),
                        arn::TraceLevelVerbose, false);
    }
}

// The BITMAP resource of ArnAbsPosn.rc that a form designer's toolbox shows.
constexpr uint16_t ToolboxBitmapResource = 600;

// The panel's class as Windows serves it: a visual control that form hosts embed in place.
const arn::ComponentClass& ServedClass() {
    static const arn::ComponentClass served = [] {
        arn::ComponentClass control = arn::ArnAbsPosnComponentClass();
        control.visualControl = true;
        control.miscStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                             OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
        control.toolboxBitmapId = ToolboxBitmapResource;
        return control;
    }();
    return served;
}

arn::win32::ComClassFactory& Factory() {
    static arn::win32::ComClassFactory factory = [] {
        arn::win32::SetRefusedInterfaceListener(&TraceRefusedInterface);
        return arn::win32::ComClassFactory(
            ServedClass(),
            {arn::win32::ComArnAbsPosnCtl::Kind(), arn::win32::ComUIuserControl::Kind(),
             arn::win32::ComPanelEmbedding::Kind(ServedClass())});
    }();
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
    return arn::win32::RegisterComServer(ServedClass(), path);
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return arn::win32::UnregisterComServer(ServedClass());
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, arn::win32::GuidFromText(ServedClass().classId))) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return Factory().QueryInterface(riid, ppv);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return arn::win32::ComServerCanUnload() ? S_OK : S_FALSE;
}

}  // extern "C"
