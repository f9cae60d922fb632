#pragma once

#include <cstdint>

#include "platform/ComponentRuntime.h"

// The library's entry points as an in-process component server on Linux. They hand over to the
// platform's component runtime; the class they serve is ArnAbsPosnComponentClass, the panel's
// automation object, as on Windows.
extern "C" {
// Registers the control class (class id, ProgID, this module's file) under HKEY_CLASSES_ROOT.
arn::HRESULT DllRegisterServer();
// Removes that registration.
arn::HRESULT DllUnregisterServer();
// For the panel's class id and IID_IClassFactory, stores the server's class factory
// (an arn::ClassFactory owned by the server, whose CreateInstance makes an
// arn::AutomationObject) in *ppv; otherwise *ppv = nullptr and an error.
arn::HRESULT DllGetClassObject(const char* rclsid, const char* riid, void** ppv);
// S_OK once no object made by the factory is referenced, S_FALSE while one is.
arn::HRESULT DllCanUnloadNow();
}
