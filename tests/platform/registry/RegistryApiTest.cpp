#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "fakes/RegistryTestSupport.h"

namespace arn::test {
namespace {

using testing::ElementsAre;
using testing::UnorderedElementsAre;

// The names of the key's subkeys, or with values set, of its values.
std::vector<std::string> Names(HKEY key, bool values = false) {
    std::vector<std::string> names;
    char buffer[256];
    DWORD length = sizeof buffer;
    for (DWORD i = 0;
         (values ? RegEnumValueA(key, i, buffer, &length, nullptr, nullptr, nullptr, nullptr)
                 : RegEnumKeyA(key, i, buffer, sizeof buffer)) == ERROR_SUCCESS;
         ++i, length = sizeof buffer) {
        names.emplace_back(buffer);
    }
    return names;
}

// Makes the key at path below parent, with a text value when a name is given, and closes it.
void Make(HKEY parent, const char* path, const char* name = nullptr, const char* text = "") {
    KeyHandle key;
    ASSERT_EQ(Create(parent, path, key), ERROR_SUCCESS) << path;
    if (name != nullptr) {
        ASSERT_EQ(SetText(key.get(), name, text), ERROR_SUCCESS) << path;
    }
}

class RegistryApi : public RegistryStoreTest {
  protected:
    // What the registry adds to a string written without its NUL: nothing in the stores, a
    // NUL in the system's registry (Wine).
    std::string Terminator() const { return OnStores() ? std::string() : std::string(1, '\0'); }
};

TEST_P(RegistryApi, DeleteTreeRemovesNestedKeysAndLeavesTheirSiblings) {
    Make(HKEY_CURRENT_USER, "Software\\Tree\\A\\Deep\\Deeper", "Leaf", "1");
    Make(HKEY_CURRENT_USER, "Software\\Tree\\B");
    Make(HKEY_CURRENT_USER, "Software\\Kept");
    Make(HKEY_CURRENT_USER, "Software\\Tree", "Own", "x");
    Make(HKEY_CURRENT_USER, "Software\\Tree\\A", "Own", "y");

    // An empty subkey empties the key itself and keeps it.
    {
        KeyHandle a;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tree\\A", 0, KEY_ALL_ACCESS, a.out()),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegDeleteTreeA(a.get(), nullptr), ERROR_SUCCESS);
        EXPECT_THAT(Names(a.get()), ElementsAre());
        EXPECT_THAT(Names(a.get(), true), ElementsAre());
    }

    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_SUCCESS);
    KeyHandle software;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, software.out()),
              ERROR_SUCCESS);
    EXPECT_THAT(Names(software.get()), ElementsAre("Kept"));
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_FILE_NOT_FOUND);
}

TEST_P(RegistryApi, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    KeyHandle created;
    DWORD disposition = 0;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\MixedCase", created, nullptr, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(SetText(created.get(), "Speed", "1"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(created.get(), "SPEED", "2"), ERROR_SUCCESS);

    KeyHandle again;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "SOFTWARE\\mixedcase\\", again, nullptr, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    char data[8] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(again.get(), "speed", nullptr, nullptr,
                               reinterpret_cast<uint8_t*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(data, size), std::string("2") + Terminator());
    EXPECT_THAT(Names(again.get(), true), ElementsAre("Speed"));

    KeyHandle software;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_READ, software.out()),
              ERROR_SUCCESS);
    EXPECT_THAT(Names(software.get()), ElementsAre("MixedCase"));
}

TEST_P(RegistryApi, EnumerationOrderIsStable) {
    KeyHandle key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Order", key), ERROR_SUCCESS);
    for (const char* name : {"b", "_x", "A", "c"}) {
        Make(key.get(), name);
    }
    // Subkeys by upper-cased name: "_" sorts after the letters. Wine sorts by lower-cased
    // name instead; either order is the same on every enumeration.
    const std::vector<std::string> subkeys = Names(key.get());
    if (OnStores()) {
        EXPECT_THAT(subkeys, ElementsAre("A", "b", "c", "_x"));
    } else {
        EXPECT_THAT(subkeys, UnorderedElementsAre("A", "b", "c", "_x"));
    }
    EXPECT_EQ(Names(key.get()), subkeys);

    for (const char* name : {"zeta", "alpha", "mid"}) {
        ASSERT_EQ(SetText(key.get(), name, name), ERROR_SUCCESS);
    }
    ASSERT_EQ(SetText(key.get(), "ALPHA", "again"), ERROR_SUCCESS);
    // Values in creation order in the stores; Wine keeps them sorted by name.
    if (OnStores()) {
        EXPECT_THAT(Names(key.get(), true), ElementsAre("zeta", "alpha", "mid"));
    } else {
        EXPECT_THAT(Names(key.get(), true), ElementsAre("alpha", "mid", "zeta"));
    }
    ASSERT_EQ(RegDeleteValueA(key.get(), "zeta"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.get(), "zeta", "back"), ERROR_SUCCESS);
    EXPECT_THAT(Names(key.get(), true), ElementsAre("alpha", "mid", "zeta"));
}

TEST_P(RegistryApi, ResultCodes) {
    KeyHandle key;
    HKEY missing = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "No\\Such", 0, KEY_READ, &missing),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\Lead", 0, KEY_READ, &missing),
              ERROR_BAD_PATHNAME);
    // Wine takes empty path components and names longer than 255 characters.
    if (OnStores()) {
        EXPECT_EQ(Create(HKEY_CURRENT_USER, "a\\\\b", key), ERROR_BAD_PATHNAME);
        EXPECT_EQ(Create(HKEY_CURRENT_USER, std::string(256, 'k').c_str(), key),
                  ERROR_INVALID_PARAMETER);
    }
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Codes", key), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.get(), "text", "hello"), ERROR_SUCCESS);

    uint8_t small[3];
    DWORD size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key.get(), "text", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    const DWORD stored = 5 + Terminator().size();
    EXPECT_EQ(size, stored);
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key.get(), "text", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, stored);
    EXPECT_EQ(RegQueryValueExA(key.get(), "none", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key.get(), "none"), ERROR_FILE_NOT_FOUND);

    char name[4];
    DWORD nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKeyA(key.get(), 0, name, sizeof name), ERROR_NO_MORE_ITEMS);

    EXPECT_EQ(RegCloseKey(0x7777), ERROR_INVALID_HANDLE);
}

TEST_P(RegistryApi, AccessRightsOfTheHandleApply) {
    Make(HKEY_LOCAL_MACHINE, "Machine\\Existing");
    KeyHandle readOnly;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Machine", 0, KEY_READ, readOnly.out()),
              ERROR_SUCCESS);
    EXPECT_EQ(SetText(readOnly.get(), "v", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(readOnly.get(), "v"), ERROR_ACCESS_DENIED);
    KeyHandle viaReadOnly;
    if (OnStores()) {  // Wine creates subkeys through any handle
        EXPECT_EQ(Create(readOnly.get(), "New", viaReadOnly), ERROR_ACCESS_DENIED);
    }
    // Opening an existing subkey needs no right on the parent.
    EXPECT_EQ(Create(readOnly.get(), "Existing", viaReadOnly), ERROR_SUCCESS);

    KeyHandle writeOnly;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Machine", 0, KEY_SET_VALUE, writeOnly.out()),
              ERROR_SUCCESS);
    char name[8];
    EXPECT_EQ(RegEnumKeyA(writeOnly.get(), 0, name, sizeof name), ERROR_ACCESS_DENIED);
}

TEST_P(RegistryApi, DeletingKeys) {
    KeyHandle parent;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Tree\\Leaf", parent), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Tree"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);
    ASSERT_EQ(SetText(parent.get(), "v", "x"), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "tree\\leaf"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Tree\\Leaf"), ERROR_FILE_NOT_FOUND);

    // A handle to a deleted key fails, and a new key of the same name is a different key.
    EXPECT_EQ(SetText(parent.get(), "v", "y"), ERROR_KEY_DELETED);
    KeyHandle recreated;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Tree\\Leaf", recreated), ERROR_SUCCESS);
    EXPECT_EQ(SetText(parent.get(), "v", "y"), ERROR_KEY_DELETED);
    EXPECT_TRUE(Names(recreated.get(), true).empty());
}

TEST_P(RegistryApi, KeysNestAtMost512LevelsBelowTheirRoot) {
    if (!OnStores()) {
        // The test keys already sit four levels down, and Wine limits the path's length.
        GTEST_SKIP() << "the stores' own nesting limit";
    }
    std::string path = "n";
    for (size_t level = 1; level < kMaxKeyDepth; ++level) {
        path += "\\n";
    }
    KeyHandle deepest;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, path.c_str(), deepest), ERROR_SUCCESS);
    KeyHandle tooDeep;
    EXPECT_EQ(Create(deepest.get(), "one more", tooDeep), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, (path + "\\n").c_str(), tooDeep), ERROR_INVALID_PARAMETER);
}

// The counts are checked through CRegistry; here what only the raw call shows.
TEST_P(RegistryApi, KeyInformationNeedsRoomForTheClassAndDatesSubkeyDeletions) {
    KeyHandle key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Info", key, "ClassText"), ERROR_SUCCESS);
    char cls[32];
    DWORD classLength = 4;
    EXPECT_EQ(RegQueryInfoKeyA(key.get(), cls, &classLength, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    Make(key.get(), "Sub");
    FILETIME before{};
    ASSERT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, &before),
              ERROR_SUCCESS);
    *m_clock.now += 1000;
    ASSERT_EQ(RegDeleteKeyA(key.get(), "Sub"), ERROR_SUCCESS);
    FILETIME written{};
    ASSERT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, &written),
              ERROR_SUCCESS);
    // The system's registry keeps its own clock, which only never goes back.
    if (OnStores()) {
        EXPECT_EQ(Ticks(written), *m_clock.now);
    } else {
        EXPECT_GE(Ticks(written), Ticks(before));
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryApi, RegistryKinds(), StoreName);

}  // namespace
}  // namespace arn::test
