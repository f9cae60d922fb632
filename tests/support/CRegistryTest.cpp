#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "core/ArnError.h"
#include "core/RaisedError.h"
#include "fakes/RegistryTestSupport.h"

namespace arn::test {
namespace {

using testing::ElementsAre;
using testing::UnorderedElementsAre;

// Checks number (vbObjectError + offset), source and description of the error action raises.
void ExpectError(const std::function<void()>& action, int32_t offset, const std::string& source,
                 const std::string& description) {
    EXPECT_EQ(RaisedError(action),
              std::to_string(vbObjectError + offset) + " " + source + ": " + description);
}

void SetRaw(HKEY root, const char* path, const char* name, DWORD type, const std::string& data) {
    KeyHandle key;
    ASSERT_EQ(Create(root, path, key), ERROR_SUCCESS);
    ASSERT_EQ(
        RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const uint8_t*>(data.data()),
                       static_cast<DWORD>(data.size())),
        ERROR_SUCCESS);
}

using CRegistryTest = RegistryStoreTest;

TEST_P(CRegistryTest, OpenKeyNormalisesThePathAndCreatesOnlyWhenAsked) {
    CRegistry reg;
    std::string path = "\\Software/Arn/Test";
    reg.OpenKey(HKEY_CURRENT_USER, path);
    EXPECT_EQ(path, "Software\\Arn\\Test");
    ExpectError([&] { reg.WriteValue("v", "x"); }, 2, "CRegistry:WriteValue",
                "No key is currently open.");

    reg.OpenKey(HKEY_CURRENT_USER, path, true);
    EXPECT_EQ(reg.CurrentKey(), "Software\\Arn\\Test");
    reg.WriteValue("v", "x");

    // Opening another key closes the first; a failed open leaves the object closed.
    Open(reg, "Software/Missing");
    EXPECT_EQ(reg.CurrentKey(), "");
    EXPECT_EQ(RegistryOpenHandleCount(), 0u);
    EXPECT_EQ(reg.ReadValue("v", "closed"), "closed");
    Open(reg, "software\\arn\\TEST");
    EXPECT_EQ(reg.ReadValue("v"), "x");
}

TEST_P(CRegistryTest, ReadValueTrimsOneTrailingNul) {
    // The system's registry stores a string written without its NUL with one added, which
    // the 9999-byte read must hold too; the stores keep the bytes as written.
    const size_t largest = OnStores() ? 9999 : 9998;
    for (const auto& [name, data] : std::initializer_list<std::pair<const char*, std::string>>{
             {"terminated", std::string("ab\0", 3)},
             {"nul", std::string(1, '\0')},
             {"empty", ""},
             {"largest", std::string(largest, 'w')},
             {"big", std::string(largest + 1, 'w')}}) {
        SetRaw(HKEY_CURRENT_USER, "Read", name, REG_SZ, data);
    }
    CRegistry reg;
    Open(reg, "Read");
    EXPECT_EQ(reg.ReadValue("terminated"), "ab");
    EXPECT_EQ(reg.ReadValue("nul"), std::string(1, '\0'));
    EXPECT_EQ(reg.ReadValue("empty", "default"), "");
    EXPECT_EQ(reg.ReadValue("absent", "default"), "default");
    EXPECT_EQ(reg.ReadValue("largest"), std::string(largest, 'w'));
    ExpectError([&] { reg.ReadValue("big"); }, 2, "CRegistry:ReadValue",
                "Failed to read value big from Registry. Buffer too small.");
}

TEST_P(CRegistryTest, DwordValuesAndDeletions) {
    CRegistry reg;
    std::string path = "Del\\Child";
    reg.OpenKey(HKEY_CURRENT_USER, path, true);
    reg.WriteDWORD("negative", -2);
    EXPECT_EQ(reg.ReadDWORD("negative"), -2);
    EXPECT_EQ(reg.ReadDWORD("absent", 77), 77);
    reg.WriteValue("text", "hello");
    ExpectError([&] { reg.ReadDWORD("text"); }, 2, "CRegistry:ReadValue",
                "Failed to read DWORD value 'text' from Registry. Buffer too small.");
    reg.DeleteValue("text");
    reg.DeleteValue("text");
    EXPECT_EQ(reg.ReadValue("text", "missing"), "missing");

    Open(reg, "Del");
    reg.DeleteKey();  // has a subkey: refused without a word
    EXPECT_EQ(reg.CurrentKey(), "");
    reg.OpenKey(HKEY_CURRENT_USER, path);
    reg.DeleteKey();
    Open(reg, "Del");
    EXPECT_EQ(reg.NumOfSubKeys(), 0);
    reg.CloseKey();
    EXPECT_EQ(reg.ReadDWORD("negative", 5), 5);
    ExpectError([&] { reg.WriteDWORD("x", 1); }, 2, "CRegistry:WriteValue",
                "No key is currently open.");
    ExpectError([&] { reg.DeleteValue("x"); }, 2, "CRegistry:DeleteValue",
                "No key is currently open.");
}

TEST_P(CRegistryTest, LocalMachineKeysOpenReadOnly) {
    SetRaw(HKEY_LOCAL_MACHINE, "Machine", "Name", REG_SZ, "value");
    CRegistry reg;
    Open(reg, "Machine", true, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.ReadValue("Name"), "value");
    ExpectError([&] { reg.WriteValue("Name", "x"); }, 2, "CRegistry:WriteValue",
                "Failed to write new value to Name from Registry.");
    ExpectError([&] { reg.WriteDWORD("Name", 1); }, 2, "CRegistry:WriteValue",
                "Failed to write new DWORD value to key 'Name' from Registry.");
    ExpectError([&] { reg.DeleteValue("Name"); }, 2, "CRegistry:DeleteValue",
                "Failed to delete value Name from Registry.");
    EXPECT_EQ(reg.ReadValue("Name"), "value");

    // A key that had to be created comes with full access.
    Open(reg, "Machine\\Fresh", true, HKEY_LOCAL_MACHINE);
    reg.WriteValue("Name", "x");
    EXPECT_EQ(reg.ReadValue("Name"), "x");
}

TEST_P(CRegistryTest, KeyStatistics) {
    KeyHandle created;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Stats", created, "abc"), ERROR_SUCCESS);
    KeyHandle sub;
    ASSERT_EQ(Create(created.get(), "Sub12345", sub, "classy"), ERROR_SUCCESS);
    CRegistry reg;
    Open(reg, "Stats");
    reg.WriteValue("name7", "0123456789");
    reg.WriteValue("n", "");
    // Subkeys, longest subkey name and class, values, longest value name and value (the system
    // counts the bytes of the form it keeps strings in: UTF-16, NUL added), security descriptor.
    EXPECT_EQ(
        (std::vector<int64_t>{reg.NumOfSubKeys(), reg.MaxSubkeyNameLength(),
                              reg.MaxClassNameLength(), reg.NumOfValues(), reg.MaxValueNameLength(),
                              reg.MaxValueLength(), reg.SecurityDescriptor()}),
        (std::vector<int64_t>{1, 8, 6, 2, 5, OnStores() ? 10 : 22, 0}));
    // The class loses its last character; an empty class gives the untouched buffer.
    EXPECT_EQ(reg.KeyClass(), "ab");
    Open(reg, "Stats\\Sub12345\\Deeper", true);
    EXPECT_EQ(reg.KeyClass(), std::string(255, '\0'));

    // Every statistic is read afresh, so a closed object has none to give.
    reg.CloseKey();
    for (auto statistic :
         {&CRegistry::NumOfSubKeys, &CRegistry::MaxSubkeyNameLength, &CRegistry::MaxClassNameLength,
          &CRegistry::NumOfValues, &CRegistry::MaxValueNameLength, &CRegistry::MaxValueLength,
          &CRegistry::SecurityDescriptor}) {
        ExpectError([&] { (reg.*statistic)(); }, 2, "CRegistry:RefreshKeyInfo",
                    "Failed to retrieve key information.");
    }
}

#ifndef _WIN32
// The stores' write times follow the injected clock; the system's own registry is checked by
// its own test.
TEST_P(CRegistryTest, LastWriteTimeIsLocalToTheSecond) {
    using namespace std::chrono;
    const ScopedTimeZone zone("ARN-2");
    const auto instant =
        sys_days{year{2023} / May / 6} + hours{7} + minutes{8} + seconds{9} + milliseconds{999};
    *m_clock.now = static_cast<uint64_t>(
        duration_cast<milliseconds>(instant - sys_days{year{1601} / January / 1}).count() * 10'000);
    CRegistry reg;
    Open(reg, "Stamped", true);  // a key is written when it is made, and on each value write
    const local_seconds made =
        local_days{year{2023} / May / 6} + hours{9} + minutes{8} + seconds{9};
    EXPECT_EQ(reg.LastWriteTime(), made);
    *m_clock.now += 3600ull * 10'000'000;
    reg.WriteValue("v", "x");
    EXPECT_EQ(reg.LastWriteTime(), made + hours{1});
    // Errors are skipped: a closed object answers with the time it read last.
    reg.CloseKey();
    EXPECT_EQ(reg.LastWriteTime(), made + hours{1});
}

#endif

TEST_P(CRegistryTest, EnumerateValuesAndSections) {
    SetRaw(HKEY_CURRENT_USER, "Enum", "raw", REG_SZ, std::string("z\0", 2));
    CRegistry reg;
    Open(reg, "Enum");
    reg.WriteValue("single", "Q");
    reg.WriteValue("", "default");
    reg.WriteDWORD("count", 0x00434241);
    for (const char* sub : {"Enum\\Beta", "Enum\\alpha"}) {
        CRegistry child;
        Open(child, sub, true);
    }

    std::vector<std::string> names{"stale"};
    std::vector<std::string> values{"stale"};
    int32_t count = -1;
    EXPECT_TRUE(reg.EnumerateValues(names, values, count));
    EXPECT_EQ(count, 4);
    std::vector<std::string> pairs;
    for (size_t i = 0; i < names.size() && i < values.size(); ++i) {
        pairs.push_back(names[i] + "=" + values[i]);
    }
    // The stores enumerate values in creation order; the system's registry in an order of
    // its own (sorted by name under Wine).
    if (OnStores()) {
        EXPECT_THAT(pairs, ElementsAre("raw=z", "single=Q", "=default", "count=ABC"));
    } else {
        EXPECT_THAT(pairs, UnorderedElementsAre("raw=z", "single=Q", "=default", "count=ABC"));
    }

    std::vector<std::string> sections;
    EXPECT_TRUE(reg.EnumerateSections(sections, count));
    EXPECT_EQ(count, 2);
    EXPECT_THAT(sections, ElementsAre("alpha", "Beta"));

    // A value too big for the read buffer ends the enumeration quietly.
    reg.WriteValue("huge", std::string(10000, 'h'));
    reg.WriteValue("after", "x");
    EXPECT_TRUE(reg.EnumerateValues(names, values, count));
    EXPECT_EQ(count, OnStores() ? 4 : 3);  // Wine: "", "after", "count", then "huge"
    EXPECT_THAT(names, testing::Not(testing::Contains("huge")));

    reg.CloseKey();
    ExpectError([&] { reg.EnumerateValues(names, values, count); }, 2, "CRegistry:EnumerateValues",
                "No key is currently open.");
    ExpectError([&] { reg.EnumerateSections(sections, count); }, 27050, "ArnAbsPosn.cRegistry",
                "No key is currently open.");
}

INSTANTIATE_TEST_SUITE_P(Stores, CRegistryTest, RegistryKinds(), StoreName);

}  // namespace
}  // namespace arn::test
