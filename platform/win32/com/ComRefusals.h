#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace arn::win32 {

// The interfaces that this module's objects refuse in QueryInterface, told to the layer above,
// which decides whether and where to trace them: a host that probes for an interface we lack
// shows up there. The listener runs synchronously on the refusing call's thread; the module has
// one, set before its objects are handed out (an empty one stops the reports).
using RefusedInterfaceListener = std::function<void(const IID& iid)>;
void SetRefusedInterfaceListener(RefusedInterfaceListener listener);
void ReportRefusedInterface(const IID& iid);

// The interface's name as the system knows it (HKEY_CLASSES_ROOT\Interface\{iid}), else from a
// few well-known interfaces that a host probes for, else its id in registry form.
std::string InterfaceName(const IID& iid);

}  // namespace arn::win32
