#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

// A string-keyed dictionary with the scripting runtime's semantics: keys compared exactly
// (binary compare), kept in insertion order, Add of an existing key fails. Reading a key that
// is absent yields an empty item instead of inserting one.
template <class T>
class Dictionary {
  public:
    bool Exists(std::string_view key) const { return find(key) != m_items.end(); }

    void Add(std::string key, T item) {
        if (Exists(key)) {
            throw MakeError(err::KeyAlreadyExists, "Scripting.Dictionary");
        }
        m_items.emplace_back(std::move(key), std::move(item));
    }

    T Item(std::string_view key) const {
        auto it = find(key);
        return it == m_items.end() ? T{} : it->second;
    }

    // Let Item: replaces the item of a present key, adds an absent one.
    void put_Item(std::string_view key, T item) {
        auto it = find(key);
        if (it == m_items.end()) {
            m_items.emplace_back(std::string(key), std::move(item));
        } else {
            it->second = std::move(item);
        }
    }

    void Remove(std::string_view key) {
        auto it = find(key);
        if (it == m_items.end()) {
            throw MakeError(err::ElementNotFound, "Scripting.Dictionary");
        }
        m_items.erase(it);
    }

    void RemoveAll() { m_items.clear(); }
    std::size_t Count() const { return m_items.size(); }

    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        keys.reserve(m_items.size());
        for (const auto& [k, v] : m_items) keys.push_back(k);
        return keys;
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

  private:
    using Entries = std::vector<std::pair<std::string, T>>;
    typename Entries::const_iterator find(std::string_view key) const {
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if (it->first == key)
                return it;
        }
        return m_items.end();
    }
    typename Entries::iterator find(std::string_view key) {
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if (it->first == key)
                return it;
        }
        return m_items.end();
    }
    Entries m_items;
};

}  // namespace arn
