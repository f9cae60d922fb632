#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace arn {

class RegistryStore;

// The registry functions the library calls, with the Windows meaning: a tree of keys below
// seven predefined roots, key paths separated by "\", key and value names compared
// ASCII-case-insensitively and stored as given, typed values as bytes, and Windows result
// codes. On Windows they are the system's own functions on its registry. On Linux the keys
// live in a RegistryStore: in memory by default, or in one SQLite file that several processes
// share (see RegistryUseDatabase).
//
// Handles are opaque 32-bit numbers. A handle keeps the store it was opened on even when the
// host switches stores afterwards. Every function is safe to call from several threads.

using HKEY = int32_t;
using LONG = int32_t;
using DWORD = uint32_t;
using REGSAM = uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = static_cast<HKEY>(0x80000000u);
inline constexpr HKEY HKEY_CURRENT_USER = static_cast<HKEY>(0x80000001u);
inline constexpr HKEY HKEY_LOCAL_MACHINE = static_cast<HKEY>(0x80000002u);
inline constexpr HKEY HKEY_USERS = static_cast<HKEY>(0x80000003u);
inline constexpr HKEY HKEY_PERFORMANCE_DATA = static_cast<HKEY>(0x80000004u);
inline constexpr HKEY HKEY_CURRENT_CONFIG = static_cast<HKEY>(0x80000005u);
inline constexpr HKEY HKEY_DYN_DATA = static_cast<HKEY>(0x80000006u);
inline constexpr int kRegistryRootCount = 7;

// Result codes.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_INVALID_FUNCTION = 1;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_CALL_NOT_IMPLEMENTED = 120;
inline constexpr LONG ERROR_BUSY = 170;
inline constexpr LONG ERROR_BAD_PATHNAME = 161;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;
inline constexpr LONG ERROR_KEY_DELETED = 1018;
inline constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Access rights. Generic rights map to the key rights as Windows maps them.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_EXECUTE = KEY_READ;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
inline constexpr REGSAM MAXIMUM_ALLOWED = 0x02000000;
inline constexpr REGSAM GENERIC_ALL = 0x10000000;
inline constexpr REGSAM GENERIC_EXECUTE = 0x20000000;
inline constexpr REGSAM GENERIC_WRITE = 0x40000000;
inline constexpr REGSAM GENERIC_READ = 0x80000000;

// Key options and creation dispositions. There is no reboot here, so volatile keys simply
// live as long as their store.
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_OPTION_VOLATILE = 1;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Limits, in characters without the terminating NUL.
inline constexpr size_t kMaxKeyNameLength = 255;
inline constexpr size_t kMaxValueNameLength = 16383;
// Keys nest at most this many levels below their root; deeper creation fails with
// ERROR_INVALID_PARAMETER, which also bounds the recursion of anything that walks a tree.
inline constexpr size_t kMaxKeyDepth = 512;

// A file time: 100-nanosecond intervals since 1601-01-01 00:00:00 UTC.
struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

struct SYSTEMTIME {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;  // 0 = Sunday
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};

// Paths may not start with "\" or hold empty components; one trailing "\" is allowed.
// An empty or null lpSubKey opens a new handle to hKey's own key.
LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   HKEY* phkResult);
// Creates every missing key of the path (KEY_CREATE_SUB_KEY on hKey is needed only when
// something is created); lpClass is given to the last key only.
LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, const char* lpClass,
                     DWORD dwOptions, REGSAM samDesired, const void* lpSecurityAttributes,
                     HKEY* phkResult, DWORD* lpdwDisposition);
// Closing a predefined root succeeds and does nothing.
LONG RegCloseKey(HKEY hKey);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED otherwise), with its values. The
// access rights of hKey do not matter, as on Windows.
LONG RegDeleteKeyA(HKEY hKey, const char* lpSubKey);
// Data comes back exactly as stored: a string written without its NUL reads back without it.
LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                      uint8_t* lpData, DWORD* lpcbData);
LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                    const uint8_t* lpData, DWORD cbData);
LONG RegDeleteValueA(HKEY hKey, const char* lpValueName);
// Every out-pointer may be null. The security descriptor size is always 0: keys here carry
// no security descriptor.
LONG RegQueryInfoKeyA(HKEY hKey, char* lpClass, DWORD* lpcchClass, DWORD* lpReserved,
                      DWORD* lpcSubKeys, DWORD* lpcbMaxSubKeyLen, DWORD* lpcbMaxClassLen,
                      DWORD* lpcValues, DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen,
                      DWORD* lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime);
// Values come in creation order (rewriting a value keeps its place); subkeys in the order of
// their upper-cased names. Both orders are stable while the key is unchanged.
LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                   DWORD* lpReserved, DWORD* lpType, uint8_t* lpData, DWORD* lpcbData);
LONG RegEnumKeyA(HKEY hKey, DWORD dwIndex, char* lpName, DWORD cchName);
// Deletes lpSubKey with its values and every key below it, deepest first; with an empty or
// null lpSubKey, hKey's own subkeys and values go and the key stays. Stops at the first
// failure, leaving what it had not reached yet.
LONG RegDeleteTreeA(HKEY hKey, const char* lpSubKey);

// Applies the offset of the machine's current time zone and daylight-saving state.
bool FileTimeToLocalFileTime(const FILETIME* lpFileTime, FILETIME* lpLocalFileTime);
bool FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime);

// Choosing the store, on Linux. Until the host chooses, the first registry call picks the
// SQLite file named by the environment variable ARN_REGISTRY_DB, or a fresh in-memory store
// when it is unset or empty. Keys already open keep their store. On Windows the functions
// above are the system's own and there is no store to choose: RegistryHasStores is false, the
// three choosing functions throw std::runtime_error and RegistryCurrentStore is null.
bool RegistryHasStores();

// Opens (creating when needed) the database file and makes it the store; throws
// std::runtime_error naming the file and the reason when it cannot be opened.
void RegistryUseDatabase(const std::string& path);
// A fresh, empty in-memory store.
void RegistryUseMemory();
void RegistryUseStore(std::shared_ptr<RegistryStore> store);
// The store that new handles open on; null when the file named by ARN_REGISTRY_DB could
// not be opened, in which case every call fails with ERROR_REGISTRY_IO_FAILED.
std::shared_ptr<RegistryStore> RegistryCurrentStore();
// How many handles this library's calls have opened and not closed yet (predefined roots not
// counted); for leak checks.
size_t RegistryOpenHandleCount();

}  // namespace arn
