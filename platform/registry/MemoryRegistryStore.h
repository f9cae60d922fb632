#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/registry/RegistryStore.h"

namespace arn {

// A registry that lives in this process only: the default when no database is configured,
// and the baseline the persistent store is measured against.
class MemoryRegistryStore : public RegistryStore {
  public:
    explicit MemoryRegistryStore(Clock clock = SystemFileTimeNow);

    LONG OpenKey(KeyId parent, const std::vector<std::string>& path, KeyId& key) override;
    LONG CreateKey(KeyId parent, const std::vector<std::string>& path, const std::string& keyClass,
                   KeyId& key, bool& created) override;
    LONG DeleteKey(KeyId parent, const std::vector<std::string>& path) override;
    LONG QueryValue(KeyId key, std::string_view name, Value& value) override;
    LONG SetValue(KeyId key, std::string_view name, uint32_t type, std::string_view data) override;
    LONG DeleteValue(KeyId key, std::string_view name) override;
    LONG QueryInfo(KeyId key, KeyInfo& info) override;
    LONG EnumKey(KeyId key, uint32_t index, std::string& name) override;
    LONG EnumValue(KeyId key, uint32_t index, Value& value) override;
    // A batch keeps a copy of every key to go back to; ids drawn meanwhile stay used.
    LONG BeginBatch() override;
    LONG CommitBatch() override;
    LONG RollbackBatch() override;

  private:
    struct Node {
        KeyId parent = 0;
        size_t depth = 0;  // levels below the root
        std::string name;
        std::string keyClass;
        uint64_t lastWrite = 0;
        std::map<std::string, KeyId> children;  // by folded name, hence in enumeration order
        std::vector<Value> values;              // in creation order
        std::unordered_map<std::string, size_t> valueIndex;  // folded name -> place in values
    };

    Node* Find(KeyId key);
    // Walks the path from `parent`; stops at the first missing component.
    LONG Walk(KeyId parent, const std::vector<std::string>& path, KeyId& key);

    std::mutex m_mutex;
    Clock m_clock;
    std::unordered_map<KeyId, Node> m_nodes;
    KeyId m_nextId = RootKeyId(kRegistryRootCount);
    std::optional<std::unordered_map<KeyId, Node>> m_batchStart;
};

}  // namespace arn
