#pragma once

#include <windows.h>

namespace arn::win32 {

// The module (DLL or program) that holds this library's code, and with it the library's
// resources: ArnAbsPosn.dll when a host loads the component, the program when it links the
// library in. Found once from the address of this code; the handle stays valid while the
// code runs.
HMODULE ThisModule();

}  // namespace arn::win32
