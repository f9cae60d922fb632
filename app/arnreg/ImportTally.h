#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry/RegistryApi.h"

namespace arn {

// How many keys and values a load of registry text writes, line by line, worked out before the
// load as a fresh CRegistry reads the text: section headers with a known root open (or create)
// a key, value lines write into the open one, and the first refused line ends the load with
// what came before it kept. A key under HKEY_LOCAL_MACHINE that exists when its header is read
// opens read-only, so the first value line under it is foreseen as refused.
//
// Headers whose root is a short name (HKCU for HKEY_CURRENT_USER) are noted: the load does not
// know them, so no key is open after them.
class ImportTally {
  public:
    struct Count {
        size_t keys = 0;  // distinct keys opened or created
        size_t values = 0;
        bool operator==(const Count&) const = default;
    };
    struct ShortRoot {
        size_t line;            // numbered as the load's error messages number lines
        std::string shortName;  // as written
        std::string fullName;
        bool operator==(const ShortRoot&) const = default;
    };

    explicit ImportTally(std::string_view image);

    // What the load has written when it reaches `line` (before that line's own work).
    Count Before(size_t line) const;
    // What a load that reads to the end writes, or up to the foreseen refusal.
    Count Total() const;
    // The first line that the load is foreseen to refuse.
    std::optional<size_t> FirstRefusal() const { return m_refusal; }
    const std::vector<ShortRoot>& ShortRoots() const { return m_shortRoots; }

    // The line number in one of the load's format errors (" Line N=>'...'").
    static std::optional<size_t> LineOfError(std::string_view description);

  private:
    bool ReadSection(size_t number, std::string_view line);
    bool ReadValue(std::string_view line);

    // After[i]: what is written once line i is done.
    std::vector<Count> m_after;
    std::optional<size_t> m_refusal;
    std::vector<ShortRoot> m_shortRoots;
    std::set<std::pair<HKEY, std::string>> m_keys;  // paths upper-cased, as the registry compares
    bool m_keyOpen = false;
    bool m_keyReadOnly = false;
};

}  // namespace arn
