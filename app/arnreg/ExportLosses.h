#pragma once

#include <string>
#include <vector>

#include "platform/registry/RegistryApi.h"

namespace arn {

// What registry text would lose of a key and its subkeys, read before they are saved: the
// text keeps every value as the raw text of its bytes and loads every line back as a string,
// so a value that is not a string comes back as something else, and some names and values do
// not survive the line format at all.
class ExportLosses {
  public:
    struct Loss {
        std::string key;  // the key as its section header names it
        std::string name;
        std::string problem;
        bool operator==(const Loss&) const = default;
    };

    // `rootName` is the name the headers give `root`.
    ExportLosses(HKEY root, const std::string& rootName, const std::string& path);

    const std::vector<Loss>& Losses() const { return m_losses; }

    // "REG_DWORD", "REG_BINARY", ...; other types as "type N".
    static std::string TypeName(DWORD type);

  private:
    void Read(HKEY root, const std::string& rootName, const std::string& path);

    std::vector<Loss> m_losses;
};

}  // namespace arn
