#include "platform/win32/com/ComModule.h"

#include <atomic>

namespace arn::win32 {

namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void ComObjectCreated() {
    ++g_objects;
}

void ComObjectDestroyed() {
    --g_objects;
}

void ComServerLock(bool lock) {
    if (lock) {
        ++g_locks;
    } else if (g_locks > 0) {
        --g_locks;
    }
}

bool ComServerCanUnload() {
    return g_objects == 0 && g_locks == 0;
}

}  // namespace arn::win32
