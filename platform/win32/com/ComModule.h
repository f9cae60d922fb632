#pragma once

namespace arn::win32 {

// What keeps the component server loaded: the objects it made that are still referenced, and
// the locks of IClassFactory::LockServer. Apartment-threaded, but counted atomically since
// the system may ask DllCanUnloadNow from any thread.
void ComObjectCreated();
void ComObjectDestroyed();
void ComServerLock(bool lock);
bool ComServerCanUnload();

}  // namespace arn::win32
