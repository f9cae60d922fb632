#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "platform/registry/RegistryApi.h"

namespace arn {

// The registry's roots as registry text names them in section headers, the short names a
// command line also takes, and their handles. Registry text knows only the full names.
struct RegistryRoot {
    std::string_view name;
    std::string_view shortName;
    HKEY handle;
};

inline constexpr std::array<RegistryRoot, 7> kRegistryRoots = {{
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", "HKPD", HKEY_PERFORMANCE_DATA},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", "HKDD", HKEY_DYN_DATA},
}};

// Key and root names compare without regard to case, the ASCII letters only, as the registry
// compares them.
inline std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return upper;
}

}  // namespace arn
