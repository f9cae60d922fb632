#include "platform/registry/RegistryApi.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/SqliteRegistryStore.h"

namespace arn {

namespace {

struct OpenHandle {
    std::shared_ptr<RegistryStore> store;
    RegistryStore::KeyId key = 0;
    REGSAM access = 0;
};

struct RegistryState {
    std::mutex mutex;
    bool chosen = false;
    std::shared_ptr<RegistryStore> store;  // null when the configured file failed to open
    std::unordered_map<HKEY, OpenHandle> handles;
    // Handles look like Windows ones: small multiples of 4, never 0, never a root.
    HKEY nextHandle = 0x100;
};

RegistryState& State() {
    static RegistryState state;
    return state;
}

// The store in use, chosen from the environment on first use. A configured file that cannot
// be opened leaves no store: calls then fail rather than quietly writing to memory.
std::shared_ptr<RegistryStore> CurrentStoreLocked(RegistryState& state) {
    if (!state.chosen) {
        state.chosen = true;
        const char* path = std::getenv("ARN_REGISTRY_DB");
        if (path != nullptr && *path != '\0') {
            try {
                state.store = std::make_shared<SqliteRegistryStore>(path);
            } catch (const std::exception&) {
                state.store = nullptr;
            }
        } else {
            state.store = std::make_shared<MemoryRegistryStore>();
        }
    }
    return state.store;
}

int RootIndex(HKEY hKey) {
    const uint32_t offset = static_cast<uint32_t>(hKey) - static_cast<uint32_t>(HKEY_CLASSES_ROOT);
    return offset < static_cast<uint32_t>(kRegistryRootCount) ? static_cast<int>(offset) : -1;
}

LONG Resolve(HKEY hKey, OpenHandle& handle) {
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    const int root = RootIndex(hKey);
    if (root >= 0) {
        handle.store = CurrentStoreLocked(state);
        if (handle.store == nullptr) {
            return ERROR_REGISTRY_IO_FAILED;
        }
        handle.key = RegistryStore::RootKeyId(root);
        handle.access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    const auto it = state.handles.find(hKey);
    if (it == state.handles.end()) {
        return ERROR_INVALID_HANDLE;
    }
    handle = it->second;
    return ERROR_SUCCESS;
}

// Resolves the handle and checks that it was opened with `needed`.
LONG ResolveFor(HKEY hKey, REGSAM needed, OpenHandle& handle) {
    const LONG rc = Resolve(hKey, handle);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    return (handle.access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

HKEY NewHandle(const OpenHandle& handle) {
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    HKEY h = 0;
    do {
        h = state.nextHandle;
        state.nextHandle = state.nextHandle >= 0x7FFFFF00 ? 0x100 : state.nextHandle + 4;
    } while (state.handles.count(h) != 0);
    state.handles.emplace(h, handle);
    return h;
}

REGSAM MapGenericRights(REGSAM sam) {
    REGSAM rights =
        sam & ~(GENERIC_ALL | GENERIC_EXECUTE | GENERIC_WRITE | GENERIC_READ | MAXIMUM_ALLOWED);
    if ((sam & (GENERIC_ALL | MAXIMUM_ALLOWED)) != 0) {
        rights |= KEY_ALL_ACCESS;
    }
    if ((sam & (GENERIC_READ | GENERIC_EXECUTE)) != 0) {
        rights |= KEY_READ;
    }
    if ((sam & GENERIC_WRITE) != 0) {
        rights |= KEY_WRITE;
    }
    return rights;
}

LONG SplitPath(const char* subKey, std::vector<std::string>& components) {
    components.clear();
    if (subKey == nullptr || *subKey == '\0') {
        return ERROR_SUCCESS;
    }
    std::string_view rest(subKey);
    if (rest.front() == '\\') {
        return ERROR_BAD_PATHNAME;
    }
    if (rest.back() == '\\') {
        rest.remove_suffix(1);
    }
    while (true) {
        const size_t cut = rest.find('\\');
        const std::string_view component = rest.substr(0, cut);
        if (component.empty()) {
            return ERROR_BAD_PATHNAME;
        }
        if (component.size() > kMaxKeyNameLength) {
            return ERROR_INVALID_PARAMETER;
        }
        components.emplace_back(component);
        if (cut == std::string_view::npos) {
            return ERROR_SUCCESS;
        }
        rest.remove_prefix(cut + 1);
    }
}

std::string_view ValueName(const char* name) {
    return name == nullptr ? std::string_view() : std::string_view(name);
}

// Copies `text` and a NUL into a buffer of `capacity` characters.
bool CopyName(const std::string& text, char* buffer, DWORD capacity) {
    if (buffer == nullptr || text.size() + 1 > capacity) {
        return false;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

// The lpData/lpcbData protocol shared by the query and enumeration functions.
LONG CopyData(const std::string& data, uint8_t* lpData, DWORD* lpcbData) {
    const auto size = static_cast<DWORD>(data.size());
    if (lpData == nullptr) {
        if (lpcbData != nullptr) {
            *lpcbData = size;
        }
        return ERROR_SUCCESS;
    }
    if (lpcbData == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (*lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (size != 0) {
        std::memcpy(lpData, data.data(), size);
    }
    *lpcbData = size;
    return ERROR_SUCCESS;
}

uint64_t ToTicks(const FILETIME& ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME FromTicks(uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                   HKEY* phkResult) {
    if (phkResult == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = 0;
    OpenHandle parent;
    std::vector<std::string> path;
    LONG rc = Resolve(hKey, parent);
    if (rc == ERROR_SUCCESS) {
        rc = SplitPath(lpSubKey, path);
    }
    RegistryStore::KeyId key = 0;
    if (rc == ERROR_SUCCESS) {
        rc = parent.store->OpenKey(parent.key, path, key);
    }
    if (rc == ERROR_SUCCESS) {
        *phkResult = NewHandle(OpenHandle{parent.store, key, MapGenericRights(samDesired)});
    }
    return rc;
}

LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD /*Reserved*/, const char* lpClass,
                     DWORD dwOptions, REGSAM samDesired, const void* /*lpSecurityAttributes*/,
                     HKEY* phkResult, DWORD* lpdwDisposition) {
    if (phkResult == nullptr || lpSubKey == nullptr || (dwOptions & ~REG_OPTION_VOLATILE) != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = 0;
    OpenHandle parent;
    std::vector<std::string> path;
    LONG rc = Resolve(hKey, parent);
    if (rc == ERROR_SUCCESS) {
        rc = SplitPath(lpSubKey, path);
    }
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    RegistryStore::KeyId key = 0;
    bool created = false;
    rc = parent.store->OpenKey(parent.key, path, key);
    if (rc == ERROR_FILE_NOT_FOUND) {
        if ((parent.access & KEY_CREATE_SUB_KEY) == 0) {
            return ERROR_ACCESS_DENIED;
        }
        rc = parent.store->CreateKey(parent.key, path, lpClass != nullptr ? lpClass : "", key,
                                     created);
    }
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    *phkResult = NewHandle(OpenHandle{parent.store, key, MapGenericRights(samDesired)});
    if (lpdwDisposition != nullptr) {
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (RootIndex(hKey) >= 0) {
        return ERROR_SUCCESS;
    }
    RegistryState& state = State();
    std::shared_ptr<RegistryStore> released;  // let a dropped store close outside the lock
    std::lock_guard lock(state.mutex);
    const auto it = state.handles.find(hKey);
    if (it == state.handles.end()) {
        return ERROR_INVALID_HANDLE;
    }
    released = std::move(it->second.store);
    state.handles.erase(it);
    return ERROR_SUCCESS;
}

LONG RegDeleteKeyA(HKEY hKey, const char* lpSubKey) {
    OpenHandle parent;
    std::vector<std::string> path;
    LONG rc = Resolve(hKey, parent);
    if (rc == ERROR_SUCCESS) {
        rc = SplitPath(lpSubKey, path);
    }
    return rc == ERROR_SUCCESS ? parent.store->DeleteKey(parent.key, path) : rc;
}

LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* /*lpReserved*/, DWORD* lpType,
                      uint8_t* lpData, DWORD* lpcbData) {
    OpenHandle handle;
    LONG rc = ResolveFor(hKey, KEY_QUERY_VALUE, handle);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    RegistryStore::Value value;
    rc = handle.store->QueryValue(handle.key, ValueName(lpValueName), value);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    return CopyData(value.data, lpData, lpcbData);
}

LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD /*Reserved*/, DWORD dwType,
                    const uint8_t* lpData, DWORD cbData) {
    OpenHandle handle;
    const LONG rc = ResolveFor(hKey, KEY_SET_VALUE, handle);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    const std::string_view name = ValueName(lpValueName);
    if (name.size() > kMaxValueNameLength || (lpData == nullptr && cbData != 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::string_view data =
        cbData == 0 ? std::string_view()
                    : std::string_view(reinterpret_cast<const char*>(lpData), cbData);
    return handle.store->SetValue(handle.key, name, dwType, data);
}

LONG RegDeleteValueA(HKEY hKey, const char* lpValueName) {
    OpenHandle handle;
    const LONG rc = ResolveFor(hKey, KEY_SET_VALUE, handle);
    return rc == ERROR_SUCCESS ? handle.store->DeleteValue(handle.key, ValueName(lpValueName)) : rc;
}

LONG RegQueryInfoKeyA(HKEY hKey, char* lpClass, DWORD* lpcchClass, DWORD* /*lpReserved*/,
                      DWORD* lpcSubKeys, DWORD* lpcbMaxSubKeyLen, DWORD* lpcbMaxClassLen,
                      DWORD* lpcValues, DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen,
                      DWORD* lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime) {
    OpenHandle handle;
    LONG rc = ResolveFor(hKey, KEY_QUERY_VALUE, handle);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    RegistryStore::KeyInfo info;
    rc = handle.store->QueryInfo(handle.key, info);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (lpcchClass != nullptr) {
        if (lpClass != nullptr && !CopyName(info.keyClass, lpClass, *lpcchClass)) {
            *lpcchClass = static_cast<DWORD>(info.keyClass.size());
            return ERROR_MORE_DATA;
        }
        *lpcchClass = static_cast<DWORD>(info.keyClass.size());
    }
    const auto put = [](DWORD* target, DWORD v) {
        if (target != nullptr) {
            *target = v;
        }
    };
    put(lpcSubKeys, info.subKeys);
    put(lpcbMaxSubKeyLen, info.maxSubKeyLen);
    put(lpcbMaxClassLen, info.maxClassLen);
    put(lpcValues, info.values);
    put(lpcbMaxValueNameLen, info.maxValueNameLen);
    put(lpcbMaxValueLen, info.maxValueLen);
    put(lpcbSecurityDescriptor, 0);
    if (lpftLastWriteTime != nullptr) {
        *lpftLastWriteTime = FromTicks(info.lastWriteTime);
    }
    return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                   DWORD* /*lpReserved*/, DWORD* lpType, uint8_t* lpData, DWORD* lpcbData) {
    if (lpValueName == nullptr || lpcchValueName == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    OpenHandle handle;
    LONG rc = ResolveFor(hKey, KEY_QUERY_VALUE, handle);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    RegistryStore::Value value;
    rc = handle.store->EnumValue(handle.key, dwIndex, value);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (!CopyName(value.name, lpValueName, *lpcchValueName)) {
        return ERROR_MORE_DATA;
    }
    *lpcchValueName = static_cast<DWORD>(value.name.size());
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    return CopyData(value.data, lpData, lpcbData);
}

LONG RegEnumKeyA(HKEY hKey, DWORD dwIndex, char* lpName, DWORD cchName) {
    OpenHandle handle;
    LONG rc = ResolveFor(hKey, KEY_ENUMERATE_SUB_KEYS, handle);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    std::string name;
    rc = handle.store->EnumKey(handle.key, dwIndex, name);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    return CopyName(name, lpName, cchName) ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

bool FileTimeToLocalFileTime(const FILETIME* lpFileTime, FILETIME* lpLocalFileTime) {
    if (lpFileTime == nullptr || lpLocalFileTime == nullptr) {
        return false;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return false;
    }
    const int64_t bias = static_cast<int64_t>(local.tm_gmtoff) * 10'000'000;
    const uint64_t ticks = ToTicks(*lpFileTime);
    if (bias < 0 && ticks < static_cast<uint64_t>(-bias)) {
        return false;
    }
    if (bias > 0 && ticks > std::numeric_limits<uint64_t>::max() - static_cast<uint64_t>(bias)) {
        return false;
    }
    *lpLocalFileTime = FromTicks(ticks + static_cast<uint64_t>(bias));
    return true;
}

bool FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime) {
    if (lpFileTime == nullptr || lpSystemTime == nullptr) {
        return false;
    }
    const uint64_t ticks = ToTicks(*lpFileTime);
    if (ticks >= 0x8000000000000000ull) {
        return false;
    }
    using namespace std::chrono;
    const uint64_t seconds = ticks / 10'000'000;
    const sys_days day = sys_days{year{1601} / January / 1} + days{seconds / 86400};
    const year_month_day date{day};
    const uint64_t secondOfDay = seconds % 86400;
    lpSystemTime->wYear = static_cast<uint16_t>(static_cast<int>(date.year()));
    lpSystemTime->wMonth = static_cast<uint16_t>(static_cast<unsigned>(date.month()));
    lpSystemTime->wDay = static_cast<uint16_t>(static_cast<unsigned>(date.day()));
    lpSystemTime->wDayOfWeek = static_cast<uint16_t>(weekday{day}.c_encoding());
    lpSystemTime->wHour = static_cast<uint16_t>(secondOfDay / 3600);
    lpSystemTime->wMinute = static_cast<uint16_t>(secondOfDay / 60 % 60);
    lpSystemTime->wSecond = static_cast<uint16_t>(secondOfDay % 60);
    lpSystemTime->wMilliseconds = static_cast<uint16_t>(ticks / 10'000 % 1000);
    return true;
}

bool RegistryHasStores() {
    return true;
}

void RegistryUseDatabase(const std::string& path) {
    RegistryUseStore(std::make_shared<SqliteRegistryStore>(path));
}

void RegistryUseMemory() {
    RegistryUseStore(std::make_shared<MemoryRegistryStore>());
}

void RegistryUseStore(std::shared_ptr<RegistryStore> store) {
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    state.chosen = true;
    state.store.swap(store);
}

std::shared_ptr<RegistryStore> RegistryCurrentStore() {
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    return CurrentStoreLocked(state);
}

size_t RegistryOpenHandleCount() {
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    return state.handles.size();
}

}  // namespace arn
