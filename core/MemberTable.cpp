#include "core/MemberTable.h"

#include <algorithm>
#include <utility>

namespace arn {

namespace {

// Property names are ASCII; folding without the locale keeps by-name lookups, made for every
// property a binding touches, free of a library call per character.
constexpr char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

MemberTable::MemberTable(std::initializer_list<AutomationMember> members) {
    for (const auto& m : members) {
        Put(m);
    }
}

MemberTable::MemberTable(const MemberTable& base, std::initializer_list<AutomationMember> members)
    : m_members(base.m_members) {
    for (const auto& m : members) {
        Put(m);
    }
}

void MemberTable::Put(AutomationMember member) {
    for (auto& existing : m_members) {
        if (NamesEqual(existing.name, member.name)) {
            existing = std::move(member);
            return;
        }
    }
    m_members.push_back(std::move(member));
}

const AutomationMember* MemberTable::Find(std::string_view name) const {
    for (const auto& m : m_members) {
        if (NamesEqual(m.name, name)) {
            return &m;
        }
    }
    return nullptr;
}

const AutomationMember* MemberTable::Find(int32_t dispId) const {
    for (const auto& m : m_members) {
        if (m.dispId == dispId) {
            return &m;
        }
    }
    return nullptr;
}

std::vector<std::string> MemberTable::Names() const {
    std::vector<std::string> names;
    names.reserve(m_members.size());
    for (const auto& m : m_members) {
        names.push_back(m.name);
    }
    return names;
}

MemberTable MemberTable::Without(std::initializer_list<std::string_view> names) const {
    MemberTable copy;
    for (const auto& m : m_members) {
        bool dropped = std::any_of(names.begin(), names.end(),
                                   [&](std::string_view n) { return NamesEqual(n, m.name); });
        if (!dropped) {
            copy.m_members.push_back(m);
        }
    }
    return copy;
}

}  // namespace arn
