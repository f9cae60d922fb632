#include "platform/win32/ThisModule.h"

namespace arn::win32 {

HMODULE ThisModule() {
    static const HMODULE module = [] {
        HMODULE found = nullptr;
        // UNCHANGED_REFCOUNT: the module holds this code, so it cannot go away under it.
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(&ThisModule), &found) == 0) {
            found = GetModuleHandleA(nullptr);
        }
        return found;
    }();
    return module;
}

}  // namespace arn::win32
