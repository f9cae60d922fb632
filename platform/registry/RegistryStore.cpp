#include "platform/registry/RegistryStore.h"

#include <chrono>

namespace arn {

std::string RegistryStore::FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

uint64_t RegistryStore::SystemFileTimeNow() {
    // 11644473600 seconds separate 1601-01-01 from 1970-01-01.
    constexpr uint64_t kUnixEpochTicks = 116444736000000000ull;
    const auto sinceUnix = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return kUnixEpochTicks + static_cast<uint64_t>(sinceUnix.count() / 100);
}

}  // namespace arn
