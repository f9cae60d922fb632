#include "platform/registry/RegistryApi.h"

// After the library's own names: <windows.h> defines most of them again as macros with the
// same values, and from here on these macros are what the code below sees.
#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace arn {

namespace {

// Handles cross as 32-bit numbers. Windows keeps handles 32-bit significant so that 32- and
// 64-bit code can share them; widening with the sign restores both the predefined roots
// (0x80000000 and up) and the handles the system hands out.
::HKEY Native(HKEY hKey) {
    return reinterpret_cast<::HKEY>(static_cast<intptr_t>(hKey));
}

HKEY Ours(::HKEY hKey) {
    return static_cast<HKEY>(reinterpret_cast<intptr_t>(hKey));
}

bool IsRoot(HKEY hKey) {
    const uint32_t offset = static_cast<uint32_t>(hKey) - 0x80000000u;
    return offset < static_cast<uint32_t>(kRegistryRootCount);
}

std::atomic<size_t> g_openHandles{0};

HKEY Opened(::HKEY hKey) {
    g_openHandles.fetch_add(1, std::memory_order_relaxed);
    return Ours(hKey);
}

// Copies a system count into the caller's, where the caller asked for one.
void Put(DWORD* target, ::DWORD value) {
    if (target != nullptr) {
        *target = static_cast<DWORD>(value);
    }
}

::FILETIME ToNative(const FILETIME& time) {
    return ::FILETIME{time.dwLowDateTime, time.dwHighDateTime};
}

FILETIME FromNative(const ::FILETIME& time) {
    return FILETIME{static_cast<DWORD>(time.dwLowDateTime),
                    static_cast<DWORD>(time.dwHighDateTime)};
}

[[noreturn]] void NoStores() {
    throw std::runtime_error("the registry is the system's own; there is no store to choose");
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   HKEY* phkResult) {
    if (phkResult == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    ::HKEY opened = nullptr;
    const LONG rc = ::RegOpenKeyExA(Native(hKey), lpSubKey, ulOptions, samDesired, &opened);
    *phkResult = rc == ERROR_SUCCESS ? Opened(opened) : 0;
    return rc;
}

LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, const char* lpClass,
                     DWORD dwOptions, REGSAM samDesired, const void* lpSecurityAttributes,
                     HKEY* phkResult, DWORD* lpdwDisposition) {
    if (phkResult == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    ::HKEY created = nullptr;
    ::DWORD disposition = 0;
    const LONG rc = ::RegCreateKeyExA(
        Native(hKey), lpSubKey, Reserved, const_cast<LPSTR>(lpClass), dwOptions, samDesired,
        const_cast<LPSECURITY_ATTRIBUTES>(
            static_cast<const SECURITY_ATTRIBUTES*>(lpSecurityAttributes)),
        &created, &disposition);
    *phkResult = rc == ERROR_SUCCESS ? Opened(created) : 0;
    if (rc == ERROR_SUCCESS) {
        Put(lpdwDisposition, disposition);
    }
    return rc;
}

LONG RegCloseKey(HKEY hKey) {
    if (IsRoot(hKey)) {
        return ERROR_SUCCESS;
    }
    const LONG rc = ::RegCloseKey(Native(hKey));
    if (rc == ERROR_SUCCESS) {
        g_openHandles.fetch_sub(1, std::memory_order_relaxed);
    }
    return rc;
}

LONG RegDeleteKeyA(HKEY hKey, const char* lpSubKey) {
    return ::RegDeleteKeyA(Native(hKey), lpSubKey);
}

LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* /*lpReserved*/, DWORD* lpType,
                      uint8_t* lpData, DWORD* lpcbData) {
    ::DWORD type = 0;
    ::DWORD size = lpcbData != nullptr ? *lpcbData : 0;
    const LONG rc = ::RegQueryValueExA(Native(hKey), lpValueName, nullptr, &type, lpData,
                                       lpcbData != nullptr ? &size : nullptr);
    if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        Put(lpType, type);
        Put(lpcbData, size);
    }
    return rc;
}

LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                    const uint8_t* lpData, DWORD cbData) {
    return ::RegSetValueExA(Native(hKey), lpValueName, Reserved, dwType, lpData, cbData);
}

LONG RegDeleteValueA(HKEY hKey, const char* lpValueName) {
    return ::RegDeleteValueA(Native(hKey), lpValueName);
}

LONG RegQueryInfoKeyA(HKEY hKey, char* lpClass, DWORD* lpcchClass, DWORD* /*lpReserved*/,
                      DWORD* lpcSubKeys, DWORD* lpcbMaxSubKeyLen, DWORD* lpcbMaxClassLen,
                      DWORD* lpcValues, DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen,
                      DWORD* lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime) {
    ::DWORD classLength = lpcchClass != nullptr ? *lpcchClass : 0;
    ::DWORD subKeys = 0;
    ::DWORD maxSubKeyLen = 0;
    ::DWORD maxClassLen = 0;
    ::DWORD values = 0;
    ::DWORD maxValueNameLen = 0;
    ::DWORD maxValueLen = 0;
    ::DWORD securityDescriptor = 0;
    ::FILETIME lastWrite{};
    const LONG rc =
        ::RegQueryInfoKeyA(Native(hKey), lpClass, lpcchClass != nullptr ? &classLength : nullptr,
                           nullptr, &subKeys, &maxSubKeyLen, &maxClassLen, &values,
                           &maxValueNameLen, &maxValueLen, &securityDescriptor, &lastWrite);
    if (rc == ERROR_MORE_DATA) {
        Put(lpcchClass, classLength);
    }
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    Put(lpcchClass, classLength);
    Put(lpcSubKeys, subKeys);
    Put(lpcbMaxSubKeyLen, maxSubKeyLen);
    Put(lpcbMaxClassLen, maxClassLen);
    Put(lpcValues, values);
    Put(lpcbMaxValueNameLen, maxValueNameLen);
    Put(lpcbMaxValueLen, maxValueLen);
    Put(lpcbSecurityDescriptor, securityDescriptor);
    if (lpftLastWriteTime != nullptr) {
        *lpftLastWriteTime = FromNative(lastWrite);
    }
    return rc;
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                   DWORD* /*lpReserved*/, DWORD* lpType, uint8_t* lpData, DWORD* lpcbData) {
    if (lpValueName == nullptr || lpcchValueName == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    ::DWORD nameLength = *lpcchValueName;
    ::DWORD type = 0;
    ::DWORD size = lpcbData != nullptr ? *lpcbData : 0;
    const LONG rc = ::RegEnumValueA(Native(hKey), dwIndex, lpValueName, &nameLength, nullptr, &type,
                                    lpData, lpcbData != nullptr ? &size : nullptr);
    if (rc == ERROR_SUCCESS) {
        Put(lpcchValueName, nameLength);
        Put(lpType, type);
        Put(lpcbData, size);
    }
    return rc;
}

LONG RegEnumKeyA(HKEY hKey, DWORD dwIndex, char* lpName, DWORD cchName) {
    return ::RegEnumKeyA(Native(hKey), dwIndex, lpName, cchName);
}

bool FileTimeToLocalFileTime(const FILETIME* lpFileTime, FILETIME* lpLocalFileTime) {
    if (lpFileTime == nullptr || lpLocalFileTime == nullptr) {
        return false;
    }
    const ::FILETIME utc = ToNative(*lpFileTime);
    ::FILETIME local{};
    if (::FileTimeToLocalFileTime(&utc, &local) == 0) {
        return false;
    }
    *lpLocalFileTime = FromNative(local);
    return true;
}

bool FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime) {
    if (lpFileTime == nullptr || lpSystemTime == nullptr) {
        return false;
    }
    const ::FILETIME time = ToNative(*lpFileTime);
    ::SYSTEMTIME fields{};
    if (::FileTimeToSystemTime(&time, &fields) == 0) {
        return false;
    }
    *lpSystemTime =
        SYSTEMTIME{fields.wYear, fields.wMonth,  fields.wDayOfWeek, fields.wDay,
                   fields.wHour, fields.wMinute, fields.wSecond,    fields.wMilliseconds};
    return true;
}

bool RegistryHasStores() {
    return false;
}

void RegistryUseDatabase(const std::string& /*path*/) {
    NoStores();
}

void RegistryUseMemory() {
    NoStores();
}

void RegistryUseStore(std::shared_ptr<RegistryStore> /*store*/) {
    NoStores();
}

std::shared_ptr<RegistryStore> RegistryCurrentStore() {
    return nullptr;
}

size_t RegistryOpenHandleCount() {
    return g_openHandles.load(std::memory_order_relaxed);
}

}  // namespace arn
