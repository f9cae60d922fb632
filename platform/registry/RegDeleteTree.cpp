#include "platform/registry/RegistryApi.h"

namespace arn {

namespace {

LONG DeleteValues(HKEY key) {
    char name[kMaxValueNameLength + 1];
    while (true) {
        DWORD length = sizeof name;
        // Always the first value: each pass deletes the one it found.
        LONG rc = RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) {
            return ERROR_SUCCESS;
        }
        if (rc == ERROR_SUCCESS) {
            rc = RegDeleteValueA(key, name);
        }
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
    }
}

}  // namespace

LONG RegDeleteTreeA(HKEY hKey, const char* lpSubKey) {
    HKEY key = 0;
    LONG rc = RegOpenKeyExA(hKey, lpSubKey, 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    char name[kMaxKeyNameLength + 1];
    // A key with subkeys cannot be deleted: the first subkey goes, tree and all, until none is
    // left. Nesting is bounded, and with it the recursion.
    while ((rc = RegEnumKeyA(key, 0, name, sizeof name)) == ERROR_SUCCESS) {
        rc = RegDeleteTreeA(key, name);
        if (rc != ERROR_SUCCESS) {
            break;
        }
    }
    const bool keepKey = lpSubKey == nullptr || *lpSubKey == '\0';
    if (rc == ERROR_NO_MORE_ITEMS && keepKey) {
        rc = DeleteValues(key);
    }
    RegCloseKey(key);
    if (rc == ERROR_NO_MORE_ITEMS && !keepKey) {
        // The key goes with its values once no subkey is left.
        rc = RegDeleteKeyA(hKey, lpSubKey);
    }
    return rc;
}

}  // namespace arn
