#include "platform/registry/MemoryRegistryStore.h"

#include <algorithm>

namespace arn {

MemoryRegistryStore::MemoryRegistryStore(Clock clock) : m_clock(std::move(clock)) {
    const uint64_t now = m_clock();
    for (int i = 0; i < kRegistryRootCount; ++i) {
        m_nodes[RootKeyId(i)].lastWrite = now;
    }
}

MemoryRegistryStore::Node* MemoryRegistryStore::Find(KeyId key) {
    const auto it = m_nodes.find(key);
    return it == m_nodes.end() ? nullptr : &it->second;
}

LONG MemoryRegistryStore::Walk(KeyId parent, const std::vector<std::string>& path, KeyId& key) {
    if (Find(parent) == nullptr) {
        return ERROR_KEY_DELETED;
    }
    key = parent;
    for (const std::string& component : path) {
        const Node& node = m_nodes.at(key);
        const auto it = node.children.find(FoldName(component));
        if (it == node.children.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        key = it->second;
    }
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::OpenKey(KeyId parent, const std::vector<std::string>& path, KeyId& key) {
    std::lock_guard lock(m_mutex);
    KeyId found = 0;
    const LONG rc = Walk(parent, path, found);
    if (rc == ERROR_SUCCESS) {
        key = found;
    }
    return rc;
}

LONG MemoryRegistryStore::CreateKey(KeyId parent, const std::vector<std::string>& path,
                                    const std::string& keyClass, KeyId& key, bool& created) {
    std::lock_guard lock(m_mutex);
    const Node* top = Find(parent);
    if (top == nullptr) {
        return ERROR_KEY_DELETED;
    }
    if (top->depth + path.size() > kMaxKeyDepth) {
        return ERROR_INVALID_PARAMETER;
    }
    created = false;
    KeyId current = parent;
    for (size_t i = 0; i < path.size(); ++i) {
        std::string folded = FoldName(path[i]);
        Node& node = m_nodes.at(current);
        const auto it = node.children.find(folded);
        if (it != node.children.end()) {
            current = it->second;
            continue;
        }
        const KeyId id = ++m_nextId;
        const uint64_t now = m_clock();
        node.children.emplace(std::move(folded), id);
        node.lastWrite = now;
        Node child;
        child.parent = current;
        child.depth = node.depth + 1;
        child.name = path[i];
        child.keyClass = i + 1 == path.size() ? keyClass : std::string();
        child.lastWrite = now;
        m_nodes.emplace(id, std::move(child));
        current = id;
        created = i + 1 == path.size();
    }
    key = current;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::DeleteKey(KeyId parent, const std::vector<std::string>& path) {
    std::lock_guard lock(m_mutex);
    KeyId key = 0;
    const LONG rc = Walk(parent, path, key);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    Node& node = m_nodes.at(key);
    if (key <= RootKeyId(kRegistryRootCount - 1) || !node.children.empty()) {
        return ERROR_ACCESS_DENIED;
    }
    Node& owner = m_nodes.at(node.parent);
    owner.children.erase(FoldName(node.name));
    owner.lastWrite = m_clock();
    m_nodes.erase(key);
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::QueryValue(KeyId key, std::string_view name, Value& value) {
    std::lock_guard lock(m_mutex);
    Node* node = Find(key);
    if (node == nullptr) {
        return ERROR_KEY_DELETED;
    }
    const auto it = node->valueIndex.find(FoldName(name));
    if (it == node->valueIndex.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    value = node->values[it->second];
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::SetValue(KeyId key, std::string_view name, uint32_t type,
                                   std::string_view data) {
    std::lock_guard lock(m_mutex);
    Node* node = Find(key);
    if (node == nullptr) {
        return ERROR_KEY_DELETED;
    }
    const auto [it, added] = node->valueIndex.try_emplace(FoldName(name), node->values.size());
    if (added) {
        node->values.push_back(Value{std::string(name), type, std::string(data)});
    } else {
        Value& existing = node->values[it->second];
        existing.type = type;
        existing.data.assign(data);
    }
    node->lastWrite = m_clock();
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::DeleteValue(KeyId key, std::string_view name) {
    std::lock_guard lock(m_mutex);
    Node* node = Find(key);
    if (node == nullptr) {
        return ERROR_KEY_DELETED;
    }
    const auto it = node->valueIndex.find(FoldName(name));
    if (it == node->valueIndex.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const size_t place = it->second;
    node->valueIndex.erase(it);
    node->values.erase(node->values.begin() + static_cast<std::ptrdiff_t>(place));
    for (auto& [folded, index] : node->valueIndex) {
        if (index > place) {
            --index;
        }
    }
    node->lastWrite = m_clock();
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::QueryInfo(KeyId key, KeyInfo& info) {
    std::lock_guard lock(m_mutex);
    Node* node = Find(key);
    if (node == nullptr) {
        return ERROR_KEY_DELETED;
    }
    info = KeyInfo{};
    info.keyClass = node->keyClass;
    info.subKeys = static_cast<uint32_t>(node->children.size());
    for (const auto& [folded, id] : node->children) {
        const Node& child = m_nodes.at(id);
        info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<uint32_t>(child.name.size()));
        info.maxClassLen = std::max(info.maxClassLen, static_cast<uint32_t>(child.keyClass.size()));
    }
    info.values = static_cast<uint32_t>(node->values.size());
    for (const Value& v : node->values) {
        info.maxValueNameLen = std::max(info.maxValueNameLen, static_cast<uint32_t>(v.name.size()));
        info.maxValueLen = std::max(info.maxValueLen, static_cast<uint32_t>(v.data.size()));
    }
    info.lastWriteTime = node->lastWrite;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::EnumKey(KeyId key, uint32_t index, std::string& name) {
    std::lock_guard lock(m_mutex);
    Node* node = Find(key);
    if (node == nullptr) {
        return ERROR_KEY_DELETED;
    }
    if (index >= node->children.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    name = m_nodes.at(std::next(node->children.begin(), index)->second).name;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::EnumValue(KeyId key, uint32_t index, Value& value) {
    std::lock_guard lock(m_mutex);
    Node* node = Find(key);
    if (node == nullptr) {
        return ERROR_KEY_DELETED;
    }
    if (index >= node->values.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    value = node->values[index];
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::BeginBatch() {
    std::lock_guard lock(m_mutex);
    if (m_batchStart) {
        return ERROR_BUSY;
    }
    m_batchStart = m_nodes;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::CommitBatch() {
    std::lock_guard lock(m_mutex);
    if (!m_batchStart) {
        return ERROR_INVALID_FUNCTION;
    }
    m_batchStart.reset();
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::RollbackBatch() {
    std::lock_guard lock(m_mutex);
    if (!m_batchStart) {
        return ERROR_INVALID_FUNCTION;
    }
    m_nodes = std::move(*m_batchStart);
    m_batchStart.reset();
    return ERROR_SUCCESS;
}

}  // namespace arn
