#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/RegistryApi.h"

namespace arn {

// Where the registry functions keep their keys. A key is named by an id that stays valid
// until the key is deleted and is never reused; ids 1 to 7 are the predefined roots in the
// order of their handles (HKEY_CLASSES_ROOT = 1 ... HKEY_DYN_DATA = 7).
//
// Paths arrive split into components, already checked for length and emptiness. Names are
// bytes compared ASCII-case-insensitively (see FoldName). Every operation returns a Windows
// result code: ERROR_FILE_NOT_FOUND for a missing key or value, ERROR_KEY_DELETED when the
// key id no longer exists, ERROR_REGISTRY_IO_FAILED when the backing file fails.
// Implementations are safe to call from several threads.
class RegistryStore {
  public:
    using KeyId = int64_t;
    // The current time as a file time (100 ns ticks since 1601-01-01 UTC).
    using Clock = std::function<uint64_t()>;

    struct KeyInfo {
        std::string keyClass;
        uint32_t subKeys = 0;
        uint32_t maxSubKeyLen = 0;  // characters
        uint32_t maxClassLen = 0;   // longest class among the subkeys
        uint32_t values = 0;
        uint32_t maxValueNameLen = 0;
        uint32_t maxValueLen = 0;  // bytes
        uint64_t lastWriteTime = 0;
    };

    struct Value {
        std::string name;  // as first written
        uint32_t type = REG_NONE;
        std::string data;  // bytes
    };

    virtual ~RegistryStore() = default;

    static constexpr KeyId RootKeyId(int rootIndex) { return rootIndex + 1; }

    virtual LONG OpenKey(KeyId parent, const std::vector<std::string>& path, KeyId& key) = 0;
    // Creates the missing keys of the path in one step; `created` tells whether the last
    // key is new. A key's last-write time moves when a subkey is added or removed. A key
    // deeper than kMaxKeyDepth below its root is refused with ERROR_INVALID_PARAMETER.
    virtual LONG CreateKey(KeyId parent, const std::vector<std::string>& path,
                           const std::string& keyClass, KeyId& key, bool& created) = 0;
    // An empty path names `parent` itself. Roots and keys with subkeys cannot be deleted
    // (ERROR_ACCESS_DENIED).
    virtual LONG DeleteKey(KeyId parent, const std::vector<std::string>& path) = 0;

    virtual LONG QueryValue(KeyId key, std::string_view name, Value& value) = 0;
    // Each successful call is durable on return: a crash of the process afterwards loses
    // nothing. Rewriting a value keeps its name and enumeration place.
    virtual LONG SetValue(KeyId key, std::string_view name, uint32_t type,
                          std::string_view data) = 0;
    virtual LONG DeleteValue(KeyId key, std::string_view name) = 0;

    virtual LONG QueryInfo(KeyId key, KeyInfo& info) = 0;
    // Subkeys in the order of their folded names; ERROR_NO_MORE_ITEMS past the end.
    virtual LONG EnumKey(KeyId key, uint32_t index, std::string& name) = 0;
    // Values in creation order; ERROR_NO_MORE_ITEMS past the end.
    virtual LONG EnumValue(KeyId key, uint32_t index, Value& value) = 0;

    // A batch groups every change made to this store from BeginBatch on into one transaction:
    // CommitBatch keeps them all (durable on return), RollbackBatch drops them all. While a
    // batch is open a change is not durable on its own, and other threads of this process
    // that use the store join the batch. One batch at a time (ERROR_BUSY for a second);
    // ERROR_INVALID_FUNCTION when none is open; ERROR_CALL_NOT_IMPLEMENTED for a store that
    // cannot roll back.
    virtual LONG BeginBatch() { return ERROR_CALL_NOT_IMPLEMENTED; }
    virtual LONG CommitBatch() { return ERROR_CALL_NOT_IMPLEMENTED; }
    virtual LONG RollbackBatch() { return ERROR_CALL_NOT_IMPLEMENTED; }

    // The comparison form of a key or value name: ASCII letters upper-cased, other bytes kept.
    static std::string FoldName(std::string_view name);
    // The system clock as a file time.
    static uint64_t SystemFileTimeNow();
};

}  // namespace arn
