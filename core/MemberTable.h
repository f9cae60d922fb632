#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/AutomationMember.h"

namespace arn {

// The by-name members of one kind of object, in declaration order, declared once per kind as a
// static table. Names are matched without regard to case, as automation clients do.
class MemberTable {
  public:
    MemberTable() = default;
    MemberTable(std::initializer_list<AutomationMember> members);
    // The base kind's members followed by members of this kind; a member of the same name
    // replaces the base one in its place.
    MemberTable(const MemberTable& base, std::initializer_list<AutomationMember> members);

    // nullptr when the kind has no such member.
    const AutomationMember* Find(std::string_view name) const;
    const AutomationMember* Find(int32_t dispId) const;
    std::vector<std::string> Names() const;
    // A copy without the named members, for kinds that lack some of their base's.
    MemberTable Without(std::initializer_list<std::string_view> names) const;

    std::size_t size() const { return m_members.size(); }
    bool empty() const { return m_members.empty(); }
    const AutomationMember& operator[](std::size_t i) const { return m_members[i]; }
    auto begin() const { return m_members.begin(); }
    auto end() const { return m_members.end(); }

  private:
    void Put(AutomationMember member);
    std::vector<AutomationMember> m_members;
};

bool NamesEqual(std::string_view a, std::string_view b);

}  // namespace arn
