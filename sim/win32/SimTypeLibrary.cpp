#include "sim/win32/SimTypeLibrary.h"

#include <windows.h>

#include <oleauto.h>

#include "platform/win32/com/ComTypeLibraries.h"

namespace arn::win32 {

bool AddSimulatedDriveTypes() {
    static const bool added = [] {
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        ITypeLib* library = nullptr;
        if (FAILED(LoadTypeLibEx(exe, REGKIND_NONE, &library))) {
            return false;
        }
        AddTypeLibrary(library);
        library->Release();
        return true;
    }();
    return added;
}

}  // namespace arn::win32
