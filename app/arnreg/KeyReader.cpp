#include "app/arnreg/KeyReader.h"

#include <algorithm>

namespace arn {

KeyReader::KeyReader(HKEY root, const std::string& path) {
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &m_handle) != ERROR_SUCCESS) {
        m_handle = 0;
    }
}

KeyReader::~KeyReader() {
    if (m_handle != 0) {
        RegCloseKey(m_handle);
    }
}

LONG KeyReader::Query(const std::string& name, DWORD& type, std::string& data) const {
    DWORD size = 0;
    LONG rc = RegQueryValueExA(m_handle, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    data.assign(size, '\0');
    rc = RegQueryValueExA(m_handle, name.c_str(), nullptr, &type,
                          reinterpret_cast<uint8_t*>(data.data()), &size);
    data.resize(size);
    return rc;
}

std::vector<KeyReader::Entry> KeyReader::Values() const {
    std::vector<Entry> values;
    if (m_handle == 0) {
        return values;
    }
    DWORD maxName = 0;
    DWORD maxData = 0;
    RegQueryInfoKeyA(m_handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &maxName, &maxData, nullptr, nullptr);
    std::string name(maxName + 1, '\0');
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        Entry entry;
        entry.data.assign(maxData, '\0');
        DWORD size = maxData;
        if (RegEnumValueA(m_handle, i, name.data(), &nameLength, nullptr, &entry.type,
                          reinterpret_cast<uint8_t*>(entry.data.data()), &size) != ERROR_SUCCESS) {
            break;
        }
        entry.name = name.substr(0, nameLength);
        entry.data.resize(size);
        values.push_back(std::move(entry));
    }
    return values;
}

std::vector<std::string> KeyReader::Subkeys() const {
    std::vector<std::string> subkeys;
    if (m_handle == 0) {
        return subkeys;
    }
    DWORD maxSubKey = 0;
    RegQueryInfoKeyA(m_handle, nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
    std::string name(std::max<DWORD>(maxSubKey + 1, 256), '\0');
    for (DWORD i = 0;; ++i) {
        if (RegEnumKeyA(m_handle, i, name.data(), static_cast<DWORD>(name.size())) !=
            ERROR_SUCCESS) {
            break;
        }
        subkeys.emplace_back(name.c_str());
    }
    return subkeys;
}

}  // namespace arn
