#pragma once

#include <windows.h>

#include <olectl.h>

#include <string>

#include "platform/ComponentClass.h"

namespace arn::win32 {

// Registers the served class in the system's registry, under HKEY_CLASSES_ROOT:
//   CLSID\{clsid}                      (default) = description
//   CLSID\{clsid}\InprocServer32       (default) = modulePath, ThreadingModel = "Apartment"
//   CLSID\{clsid}\ProgID               (default) = progId
//   CLSID\{clsid}\TypeLib              (default) = {typeLibId}
//   {progId}                           (default) = description
//   {progId}\CLSID                     (default) = {clsid}
//   Interface\{iid}                    for the automation and the event interface: the name,
//                                      ProxyStubClsid32 (the system's dispatch proxy), TypeLib
// and the module's type library (TypeLib\{typeLibId}, through RegisterTypeLib). A visual
// control also gets what form designers read:
//   CLSID\{clsid}\Control              (empty)
//   CLSID\{clsid}\MiscStatus           (default) = miscStatus in decimal, and \1 the same
//   CLSID\{clsid}\ToolboxBitmap32      (default) = "modulePath, toolboxBitmapId"
//   CLSID\{clsid}\Version              (default) = "typeLibMajor.typeLibMinor"
//   CLSID\{clsid}\Implemented Categories\{CATID_Control}, {CATID_SafeForScripting},
//                                       {CATID_SafeForInitializing}
// All or nothing: when a step fails, what the call wrote is removed again and the result is
// SELFREG_E_TYPELIB or SELFREG_E_CLASS. Registering twice leaves the same keys.
HRESULT RegisterComServer(const ComponentClass& served, const std::wstring& modulePath);

// Removes what RegisterComServer writes; keys that are absent, or that another server owns
// now (a ProgID or an interface pointing elsewhere), are left alone. S_OK.
HRESULT UnregisterComServer(const ComponentClass& served);

}  // namespace arn::win32
