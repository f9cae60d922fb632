#pragma once

#include <string>
#include <vector>

#include "platform/registry/RegistryApi.h"

namespace arn {

// One key opened for reading, closed when the reader goes: its values with their types and
// bytes, and its subkeys, read straight through the registry functions.
class KeyReader {
  public:
    struct Entry {
        std::string name;
        DWORD type = REG_NONE;
        std::string data;  // the stored bytes, a string's terminating NUL included
    };

    KeyReader(HKEY root, const std::string& path);
    ~KeyReader();
    KeyReader(const KeyReader&) = delete;
    KeyReader& operator=(const KeyReader&) = delete;

    bool IsOpen() const { return m_handle != 0; }
    HKEY Handle() const { return m_handle; }

    // One value's type and bytes; the registry's result code.
    LONG Query(const std::string& name, DWORD& type, std::string& data) const;
    // Every value and every subkey name, in the registry's order (empty when not open).
    std::vector<Entry> Values() const;
    std::vector<std::string> Subkeys() const;

  private:
    HKEY m_handle = 0;
};

}  // namespace arn
