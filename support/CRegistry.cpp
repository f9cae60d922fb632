#include "support/CRegistry.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "support/Format.h"

namespace arn {

namespace {

constexpr const char* kSignature = "Windows Registry Editor Version 5.00";
constexpr const char* kCrLf = "\r\n";
constexpr const char* kNotOpen = "No key is currently open.";
constexpr const char* kLoadSource = "CRegistry::LoadRegistry";
// The library's file base name, which sources of translated errors start with.
constexpr const char* kLibraryBaseName = "ArnAbsPosn";
constexpr int32_t kErrFailed = vbObjectError + 2;
constexpr int32_t kErrTooShort = vbObjectError + 3;
constexpr int32_t kErrSignature = vbObjectError + 4;
constexpr int32_t kErrNoEqualSign = vbObjectError + 5;
constexpr int32_t kErrSection = vbObjectError + 6;
constexpr int32_t kErrEnumerateSections = vbObjectError + 27050;
constexpr size_t kDataBufferSize = 10000;
constexpr DWORD kDataSizeOffered = 9999;
constexpr DWORD kKeyNameBufferSize = 255;

struct RootName {
    HKEY handle;
    const char* name;
};

constexpr std::array<RootName, 7> kRoots = {{
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
    {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
}};

std::string NameOfRoot(int32_t section) {
    for (const RootName& root : kRoots) {
        if (root.handle == section) {
            return root.name;
        }
    }
    return std::to_string(section);
}

std::optional<int32_t> RootOfName(std::string_view name) {
    for (const RootName& root : kRoots) {
        if (name == root.name) {
            return root.handle;
        }
    }
    return std::nullopt;
}

// Text taken from a slice whose length comes out negative is an invalid argument, as for
// any string slicing in the library.
[[noreturn]] void RaiseInvalidArgument() {
    throw MakeError(err::InvalidProcedureCall, std::string(kLibraryBaseName) + ".cRegistry");
}

std::string ReplaceAll(const std::string& text, std::string_view from, std::string_view to) {
    std::string result;
    result.reserve(text.size());
    size_t start = 0;
    while (true) {
        const size_t hit = text.find(from, start);
        if (hit == std::string::npos) {
            result.append(text, start, std::string::npos);
            return result;
        }
        result.append(text, start, hit - start).append(to);
        start = hit + from.size();
    }
}

std::string LineError(const char* what, size_t lineNumber, const std::string& line) {
    return std::string(what) + " " + " Line " + std::to_string(lineNumber) + "=>'" + line + "'";
}

uint8_t* Bytes(std::string& buffer) {
    return reinterpret_cast<uint8_t*>(buffer.data());
}

}  // namespace

CRegistry::~CRegistry() {
    if (m_hKey != 0) {
        CloseKey();
    }
}

void CRegistry::OpenKey(int32_t Section, std::string& keyStr, bool blnCreateNew) {
    CloseKey();
    if (!keyStr.empty() && keyStr.front() == '\\') {
        keyStr.erase(0, 1);
    }
    std::replace(keyStr.begin(), keyStr.end(), '/', '\\');
    const REGSAM access = Section == HKEY_LOCAL_MACHINE ? KEY_READ : GENERIC_ALL | KEY_ALL_ACCESS;
    HKEY opened = 0;
    LONG rc = RegOpenKeyExA(Section, keyStr.c_str(), 0, access, &opened);
    if (rc != ERROR_SUCCESS && blnCreateNew) {
        DWORD disposition = 0;
        rc = RegCreateKeyExA(Section, keyStr.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &opened, &disposition);
    }
    if (rc == ERROR_SUCCESS) {
        m_hKey = opened;
        m_keyOpen = true;
        m_currentKey = keyStr;
        m_section = Section;
    }
}

void CRegistry::DeleteKey() {
    const std::string key = m_currentKey;
    CloseKey();
    RegDeleteKeyA(m_section, key.c_str());
}

void CRegistry::CloseKey() {
    if (m_hKey != 0) {
        RegCloseKey(m_hKey);
        m_keyOpen = false;
        m_currentKey.clear();
        m_hKey = 0;
    }
}

std::string CRegistry::ReadValue(const std::string& strValueName, const std::string& strDefault) {
    std::string buffer(kDataBufferSize, '\0');
    DWORD size = kDataSizeOffered;
    DWORD type = 0;
    const LONG rc =
        RegQueryValueExA(m_hKey, strValueName.c_str(), nullptr, &type, Bytes(buffer), &size);
    if (rc == ERROR_SUCCESS) {
        // One lone character is kept even when it is a NUL; longer data loses a final NUL.
        if (size >= 2 && buffer[size - 1] == '\0') {
            --size;
        }
        buffer.resize(size);
        return buffer;
    }
    if (rc == ERROR_MORE_DATA) {
        throw ArnError(
            kErrFailed, "CRegistry:ReadValue",
            "Failed to read value " + strValueName + " from Registry. Buffer too small.");
    }
    return strDefault;
}

int32_t CRegistry::ReadDWORD(const std::string& strValueName, int32_t lngDefault) {
    std::string buffer(4, '\0');
    DWORD size = 4;
    DWORD type = REG_DWORD;
    const LONG rc =
        RegQueryValueExA(m_hKey, strValueName.c_str(), nullptr, &type, Bytes(buffer), &size);
    if (rc == ERROR_SUCCESS) {
        const auto b = [&](int i) {
            return static_cast<uint32_t>(static_cast<uint8_t>(buffer[i]));
        };
        return static_cast<int32_t>(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
    }
    if (rc == ERROR_MORE_DATA) {
        throw ArnError(
            kErrFailed, "CRegistry:ReadValue",
            "Failed to read DWORD value '" + strValueName + "' from Registry. Buffer too small.");
    }
    return lngDefault;
}

void CRegistry::WriteValue(const std::string& strValueName, const std::string& strNewValue) {
    if (!m_keyOpen) {
        throw ArnError(kErrFailed, "CRegistry:WriteValue", kNotOpen);
    }
    const LONG rc = RegSetValueExA(m_hKey, strValueName.c_str(), 0, REG_SZ,
                                   reinterpret_cast<const uint8_t*>(strNewValue.data()),
                                   static_cast<DWORD>(strNewValue.size()));
    if (rc != ERROR_SUCCESS) {
        throw ArnError(kErrFailed, "CRegistry:WriteValue",
                       "Failed to write new value to " + strValueName + " from Registry.");
    }
}

void CRegistry::WriteDWORD(const std::string& strValueName, int32_t strDWORD) {
    if (!m_keyOpen) {
        throw ArnError(kErrFailed, "CRegistry:WriteValue", kNotOpen);
    }
    const auto bits = static_cast<uint32_t>(strDWORD);
    const uint8_t data[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                             static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    const LONG rc = RegSetValueExA(m_hKey, strValueName.c_str(), 0, REG_DWORD, data, 4);
    if (rc != ERROR_SUCCESS) {
        throw ArnError(
            kErrFailed, "CRegistry:WriteValue",
            "Failed to write new DWORD value to key '" + strValueName + "' from Registry.");
    }
}

void CRegistry::DeleteValue(const std::string& strValueName) {
    if (!m_keyOpen) {
        throw ArnError(kErrFailed, "CRegistry:DeleteValue", kNotOpen);
    }
    const LONG rc = RegDeleteValueA(m_hKey, strValueName.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
        throw ArnError(kErrFailed, "CRegistry:DeleteValue",
                       "Failed to delete value " + strValueName + " from Registry.");
    }
}

void CRegistry::RefreshKeyInfo() {
    std::string keyClass(kKeyNameBufferSize, '\0');
    DWORD classLength = kKeyNameBufferSize;
    DWORD subKeys = 0, maxSubKeyLen = 0, maxClassLen = 0, values = 0, maxValueNameLen = 0,
          maxValueLen = 0, securityDescriptor = 0;
    FILETIME lastWrite{};
    const LONG rc = RegQueryInfoKeyA(m_hKey, keyClass.data(), &classLength, nullptr, &subKeys,
                                     &maxSubKeyLen, &maxClassLen, &values, &maxValueNameLen,
                                     &maxValueLen, &securityDescriptor, &lastWrite);
    if (rc != ERROR_SUCCESS) {
        throw ArnError(kErrFailed, "CRegistry:RefreshKeyInfo",
                       "Failed to retrieve key information.");
    }
    // The class keeps one character less than reported; an empty class leaves the whole
    // buffer, as the class has always been read.
    if (classLength > 0) {
        keyClass.resize(classLength - 1);
    }
    m_keyClass = keyClass;
    m_numSubKeys = static_cast<int32_t>(subKeys);
    m_maxSubKeyLen = static_cast<int32_t>(maxSubKeyLen);
    m_maxClassLen = static_cast<int32_t>(maxClassLen);
    m_numValues = static_cast<int32_t>(values);
    m_maxValueNameLen = static_cast<int32_t>(maxValueNameLen);
    m_maxValueLen = static_cast<int32_t>(maxValueLen);
    m_securityDescriptor = static_cast<int32_t>(securityDescriptor);
    m_lastWriteTime = lastWrite;
}

std::string CRegistry::KeyClass() {
    RefreshKeyInfo();
    return m_keyClass;
}

std::chrono::local_seconds CRegistry::LastWriteTime() {
    using namespace std::chrono;
    try {
        RefreshKeyInfo();
    } catch (const std::exception&) {
        // The last time read stands.
    }
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!FileTimeToLocalFileTime(&m_lastWriteTime, &local) ||
        !FileTimeToSystemTime(&local, &fields)) {
        return local_days{year{1899} / December / 30};
    }
    return local_days{year{fields.wYear} / fields.wMonth / fields.wDay} + hours{fields.wHour} +
           minutes{fields.wMinute} + seconds{fields.wSecond};
}

int32_t CRegistry::NumOfSubKeys() {
    RefreshKeyInfo();
    return m_numSubKeys;
}

int32_t CRegistry::MaxSubkeyNameLength() {
    RefreshKeyInfo();
    return m_maxSubKeyLen;
}

int32_t CRegistry::MaxClassNameLength() {
    RefreshKeyInfo();
    return m_maxClassLen;
}

int32_t CRegistry::NumOfValues() {
    RefreshKeyInfo();
    return m_numValues;
}

int32_t CRegistry::MaxValueNameLength() {
    RefreshKeyInfo();
    return m_maxValueNameLen;
}

int32_t CRegistry::MaxValueLength() {
    RefreshKeyInfo();
    return m_maxValueLen;
}

int32_t CRegistry::SecurityDescriptor() {
    RefreshKeyInfo();
    return m_securityDescriptor;
}

bool CRegistry::EnumerateValues(std::vector<std::string>& names, std::vector<std::string>& values,
                                int32_t& count) {
    if (!m_keyOpen) {
        throw ArnError(kErrFailed, "CRegistry:EnumerateValues", kNotOpen);
    }
    count = 0;
    names.clear();
    values.clear();
    DWORD longestName = 0;
    RegQueryInfoKeyA(m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &longestName, nullptr, nullptr, nullptr);
    for (DWORD index = 0;; ++index) {
        std::string name(longestName + 1, '\0');
        DWORD nameLength = longestName + 1;
        if (RegEnumValueA(m_hKey, index, name.data(), &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
            break;
        }
        name.resize(nameLength);
        std::string data(kDataBufferSize, '\0');
        DWORD size = kDataSizeOffered;
        DWORD type = 0;
        if (RegQueryValueExA(m_hKey, name.c_str(), nullptr, &type, Bytes(data), &size) !=
            ERROR_SUCCESS) {
            break;
        }
        data.resize(size);
        if (!data.empty() && data.back() == '\0') {
            data.pop_back();
        }
        ++count;
        names.push_back(std::move(name));
        values.push_back(std::move(data));
    }
    return true;
}

bool CRegistry::EnumerateSections(std::vector<std::string>& names, int32_t& count) {
    try {
        if (!m_keyOpen) {
            throw ArnError(kErrFailed, "CRegistry:EnumerateValues", kNotOpen);
        }
        count = 0;
        names.clear();
        for (DWORD index = 0;; ++index) {
            std::string name(kKeyNameBufferSize, '\0');
            if (RegEnumKeyA(m_hKey, index, name.data(), kKeyNameBufferSize) != ERROR_SUCCESS) {
                break;
            }
            name.resize(std::min(name.find('\0'), name.size()));
            ++count;
            names.push_back(std::move(name));
        }
        return true;
    } catch (const std::exception& e) {
        CloseKey();
        throw ArnError(kErrEnumerateSections, std::string(kLibraryBaseName) + ".cRegistry",
                       ErrDescription(e));
    }
}

void CRegistry::SaveKeyText(std::string& text) {
    text.append(kCrLf).append("[").append(NameOfRoot(m_section)).append("\\");
    text.append(m_currentKey).append("]").append(kCrLf);
    std::vector<std::string> names;
    std::vector<std::string> values;
    int32_t count = 0;
    EnumerateValues(names, values, count);
    for (int32_t i = 0; i < count; ++i) {
        text.append("\"").append(names[i]).append("\"=\"");
        text.append(ReplaceAll(values[i], "\\", "\\\\")).append("\"").append(kCrLf);
    }
    std::vector<std::string> subkeys;
    int32_t subkeyCount = 0;
    EnumerateSections(subkeys, subkeyCount);
    for (int32_t i = 0; i < subkeyCount; ++i) {
        CRegistry child;
        std::string path = m_currentKey + "\\" + subkeys[i];
        child.OpenKey(m_section, path);
        child.SaveKeyText(text);
        child.CloseKey();
    }
}

std::string CRegistry::SaveRegistry() {
    std::string text = std::string(kSignature) + kCrLf;
    SaveKeyText(text);
    return text;
}

void CRegistry::LoadRegistry(const std::string& registryImage) {
    CRegistry working;
    // An empty image has no lines at all.
    const std::vector<std::string_view> lines =
        registryImage.empty() ? std::vector<std::string_view>{} : SplitAtCrLf(registryImage);
    if (lines.size() < 3) {
        throw ArnError(kErrTooShort, kLoadSource, "Format Error: too short");
    }
    if (lines[0] != kSignature) {
        throw ArnError(kErrSignature, kLoadSource, "Format Error: signature missing");
    }
    // Line 1 is the blank line after the signature and is never read.
    for (size_t number = 2; number < lines.size(); ++number) {
        const std::string line(lines[number]);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            if (line.size() < 2) {
                RaiseInvalidArgument();
            }
            const std::string inner = line.substr(1, line.size() - 2);
            const size_t cut = inner.find('\\');
            if (cut == std::string::npos || cut < 2) {
                throw ArnError(
                    kErrSection, kLoadSource,
                    LineError("Format Error: registry section formatting.", number, line));
            }
            const int32_t section = RootOfName(inner.substr(0, cut)).value_or(m_section);
            std::string path = inner.substr(cut + 1);
            working.OpenKey(section, path, true);
        } else if (line.front() == '"') {
            const size_t equal = line.find('=');
            if (equal == std::string::npos || equal < 3) {
                throw ArnError(kErrNoEqualSign, kLoadSource,
                               LineError("Format Error: no equal signs.", number, line));
            }
            // Name: between the opening quote and the quote before "=". Value: between the
            // quote after "=" and the line's last character.
            if (line.size() < equal + 3) {
                RaiseInvalidArgument();
            }
            const std::string name = line.substr(1, equal - 2);
            const std::string value = line.substr(equal + 2, line.size() - equal - 3);
            working.WriteValue(name, ReplaceAll(value, "\\\\", "\\"));
        }
    }
}

}  // namespace arn
