#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry/RegistryApi.h"

namespace arn {

// One open key of the registry: opens or creates a key below a predefined root, reads and
// writes string and DWORD values, deletes values and keys, reports the key's statistics,
// enumerates values and subkeys, and saves a key with its subtree as registry text or loads
// such text back.
//
// Errors are ArnError with number vbObjectError + offset and the source "CRegistry:<member>";
// OpenKey and DeleteKey report nothing. Strings are bytes in the ANSI code page.
class CRegistry {
  public:
    CRegistry() = default;
    // Closes a key still held.
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Closes an open key first. Normalises keyStr in the caller's variable (one leading "\"
    // removed, every "/" made "\"), then opens it: read-only under HKEY_LOCAL_MACHINE, with
    // full access elsewhere; when that fails and blnCreateNew is set, creates it. Failure
    // leaves the object closed.
    void OpenKey(int32_t Section, std::string& keyStr, bool blnCreateNew = false);
    // Closes the key, then deletes it if it has no subkeys; the outcome is not reported.
    void DeleteKey();
    void CloseKey();

    // The value read as text (the default value when the name is empty); strDefault when it
    // is missing or the object is closed. Raises +2 when the value exceeds 9999 bytes.
    std::string ReadValue(const std::string& strValueName = {}, const std::string& strDefault = {});
    // The first four bytes of the value; lngDefault when missing or closed. Raises +2 when
    // the value is longer than four bytes.
    int32_t ReadDWORD(const std::string& strValueName = {}, int32_t lngDefault = 0);
    // Stores a REG_SZ without a terminating NUL. Raises +2 when closed or when the write fails.
    void WriteValue(const std::string& strValueName, const std::string& strNewValue);
    void WriteDWORD(const std::string& strValueName, int32_t strDWORD);
    // A missing value counts as deleted.
    void DeleteValue(const std::string& strValueName);

    std::string CurrentKey() const { return m_currentKey; }
    // The statistics below refresh first and raise +2 (source "CRegistry:RefreshKeyInfo")
    // when the key cannot be queried.
    std::string KeyClass();
    // The key's last write in local time, to the whole second. Never raises: when the key
    // cannot be queried the last time read is used, and a time that cannot be converted
    // gives the zero date, 1899-12-30 00:00:00.
    std::chrono::local_seconds LastWriteTime();
    int32_t NumOfSubKeys();
    int32_t MaxSubkeyNameLength();
    int32_t MaxClassNameLength();
    int32_t NumOfValues();
    int32_t MaxValueNameLength();
    int32_t MaxValueLength();
    int32_t SecurityDescriptor();

    // Fills names[i] and values[i] for i in 0 .. count-1 with the key's values in
    // enumeration order (entry i is the i+1-th value); both vectors end with size count.
    // Stops quietly at the first value it cannot read. Returns true; raises +2 when closed.
    bool EnumerateValues(std::vector<std::string>& names, std::vector<std::string>& values,
                         int32_t& count);
    // Fills names[0 .. count-1] with the subkey names. Any error closes the key and is raised
    // again as vbObjectError + 27050, source "ArnAbsPosn.cRegistry", with its description.
    bool EnumerateSections(std::vector<std::string>& names, int32_t& count);

    // The key and its subtree as registry text, values before subkeys, depth first.
    std::string SaveRegistry();
    // Writes every key and value of a registry text image. The first error ends the load;
    // what was written before it stays written.
    void LoadRegistry(const std::string& registryImage);

  private:
    void RefreshKeyInfo();
    void SaveKeyText(std::string& text);

    bool m_keyOpen = false;
    HKEY m_hKey = 0;
    int32_t m_section = 0;
    std::string m_currentKey;
    std::string m_keyClass;
    int32_t m_numSubKeys = 0;
    int32_t m_maxSubKeyLen = 0;
    int32_t m_maxClassLen = 0;
    int32_t m_numValues = 0;
    int32_t m_maxValueNameLen = 0;
    int32_t m_maxValueLen = 0;
    int32_t m_securityDescriptor = 0;
    FILETIME m_lastWriteTime{};
};

}  // namespace arn
