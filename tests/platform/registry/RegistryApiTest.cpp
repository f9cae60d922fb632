#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "fakes/RegistryTestSupport.h"

namespace arn::test {
namespace {

using testing::ElementsAre;

LONG Create(HKEY parent, const char* path, KeyHandle& key, const char* keyClass = nullptr,
            DWORD* disposition = nullptr) {
    return RegCreateKeyExA(parent, path, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, key.out(), disposition);
}

LONG SetText(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const uint8_t*>(text.data()),
                          static_cast<DWORD>(text.size()));
}

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    char buffer[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, buffer, sizeof buffer) == ERROR_SUCCESS; ++i) {
        names.emplace_back(buffer);
    }
    return names;
}

std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    char buffer[256];
    DWORD length = sizeof buffer;
    for (DWORD i = 0; RegEnumValueA(key, i, buffer, &length, nullptr, nullptr, nullptr, nullptr) ==
                      ERROR_SUCCESS;
         ++i, length = sizeof buffer) {
        names.emplace_back(buffer, length);
    }
    return names;
}

uint64_t Ticks(const FILETIME& ft) {
    return static_cast<uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
}

using RegistryApi = RegistryStoreTest;

TEST_P(RegistryApi, DeleteTreeRemovesNestedKeysAndLeavesTheirSiblings) {
    {
        KeyHandle k;
        ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Tree\\A\\Deep\\Deeper", k), ERROR_SUCCESS);
        ASSERT_EQ(SetText(k.get(), "Leaf", "1"), ERROR_SUCCESS);
        KeyHandle b;
        ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Tree\\B", b), ERROR_SUCCESS);
        KeyHandle keep;
        ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Kept", keep), ERROR_SUCCESS);
        KeyHandle tree;
        ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Tree", tree), ERROR_SUCCESS);
        ASSERT_EQ(SetText(tree.get(), "Own", "x"), ERROR_SUCCESS);
    }

    // An empty subkey empties the key itself and keeps it.
    {
        KeyHandle a;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tree\\A", 0, KEY_ALL_ACCESS, a.out()),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegDeleteTreeA(a.get(), nullptr), ERROR_SUCCESS);
        EXPECT_THAT(SubkeyNames(a.get()), ElementsAre());
    }

    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_SUCCESS);
    KeyHandle software;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, software.out()),
              ERROR_SUCCESS);
    EXPECT_THAT(SubkeyNames(software.get()), ElementsAre("Kept"));
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
    EXPECT_EQ(std::string(data, size), "2");
    EXPECT_THAT(ValueNames(again.get()), ElementsAre("Speed"));

    KeyHandle software;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_READ, software.out()),
              ERROR_SUCCESS);
    EXPECT_THAT(SubkeyNames(software.get()), ElementsAre("MixedCase"));
}

TEST_P(RegistryApi, EnumerationOrderIsStable) {
    KeyHandle key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Order", key), ERROR_SUCCESS);
    for (const char* name : {"b", "_x", "A", "c"}) {
        KeyHandle sub;
        ASSERT_EQ(Create(key.get(), name, sub), ERROR_SUCCESS);
    }
    // Subkeys by upper-cased name: "_" sorts after the letters.
    EXPECT_THAT(SubkeyNames(key.get()), ElementsAre("A", "b", "c", "_x"));

    for (const char* name : {"zeta", "alpha", "mid"}) {
        ASSERT_EQ(SetText(key.get(), name, name), ERROR_SUCCESS);
    }
    ASSERT_EQ(SetText(key.get(), "ALPHA", "again"), ERROR_SUCCESS);
    EXPECT_THAT(ValueNames(key.get()), ElementsAre("zeta", "alpha", "mid"));
    ASSERT_EQ(RegDeleteValueA(key.get(), "zeta"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.get(), "zeta", "back"), ERROR_SUCCESS);
    EXPECT_THAT(ValueNames(key.get()), ElementsAre("alpha", "mid", "zeta"));
}

TEST_P(RegistryApi, ResultCodes) {
    KeyHandle key;
    HKEY missing = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "No\\Such", 0, KEY_READ, &missing),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\Lead", 0, KEY_READ, &missing),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, "a\\\\b", key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, std::string(256, 'k').c_str(), key),
              ERROR_INVALID_PARAMETER);
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Codes", key), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.get(), "text", "hello"), ERROR_SUCCESS);

    uint8_t small[3];
    DWORD size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key.get(), "text", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key.get(), "text", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
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
    {
        KeyHandle setup;
        ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, "Machine\\Existing", setup), ERROR_SUCCESS);
    }
    KeyHandle readOnly;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Machine", 0, KEY_READ, readOnly.out()),
              ERROR_SUCCESS);
    EXPECT_EQ(SetText(readOnly.get(), "v", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(readOnly.get(), "v"), ERROR_ACCESS_DENIED);
    KeyHandle viaReadOnly;
    EXPECT_EQ(Create(readOnly.get(), "New", viaReadOnly), ERROR_ACCESS_DENIED);
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
    EXPECT_TRUE(ValueNames(recreated.get()).empty());
}

TEST_P(RegistryApi, KeysNestAtMost512LevelsBelowTheirRoot) {
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
    {
        KeyHandle sub;
        ASSERT_EQ(Create(key.get(), "Sub", sub), ERROR_SUCCESS);
    }
    *m_clock.now += 1000;
    ASSERT_EQ(RegDeleteKeyA(key.get(), "Sub"), ERROR_SUCCESS);
    FILETIME written{};
    ASSERT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, &written),
              ERROR_SUCCESS);
    EXPECT_EQ(Ticks(written), *m_clock.now);
}

TEST_P(RegistryApi, HandlesKeepTheirStoreWhenTheHostSwitches) {
    KeyHandle key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Kept", key), ERROR_SUCCESS);
    RegistryUseMemory();
    EXPECT_EQ(SetText(key.get(), "v", "x"), ERROR_SUCCESS);
    HKEY other = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Kept", 0, KEY_READ, &other), ERROR_FILE_NOT_FOUND);
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryApi, testing::Values(StoreKind::Memory, StoreKind::Sqlite),
                         StoreName);

TEST(SqliteRegistryStore, RefusesFilesThatAreNotItsOwnAndLeavesThemAlone) {
    TempDir dir;
    const std::string text = (dir / "notes.txt").string();
    std::ofstream(text) << "not a database, just some notes of mine\n";
    EXPECT_THROW(SqliteRegistryStore{text}, std::runtime_error);
    std::string kept;
    std::getline(std::ifstream(text), kept);
    EXPECT_EQ(kept, "not a database, just some notes of mine");

    const std::string foreign = (dir / "other.db").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE mine(x); INSERT INTO mine VALUES(7)", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    try {
        SqliteRegistryStore store(foreign);
        FAIL() << "a foreign database was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), testing::HasSubstr(foreign));
    }
    EXPECT_THROW(RegistryUseDatabase((dir / "missing-folder" / "x.db").string()),
                 std::runtime_error);
}

TEST(SqliteRegistryStore, NewFilesArePrivateToTheUserAndOldOnesKeepTheirMode) {
    TempDir dir;
    // The usual umask would leave a new file readable by everyone; one that takes the owner's
    // write bit would leave it unwritable.
    for (const mode_t mask : {mode_t{022}, mode_t{0277}}) {
        const std::string path = (dir / ("mask" + std::to_string(mask) + ".db")).string();
        const ScopedUmask scoped(mask);
        SqliteRegistryStore store(path);
        RegistryStore::KeyId key = 0;
        bool created = false;
        ASSERT_EQ(store.CreateKey(RegistryStore::RootKeyId(1), {"Private"}, "", key, created),
                  ERROR_SUCCESS);
        ASSERT_EQ(store.SetValue(key, "v", REG_SZ, "x"), ERROR_SUCCESS);
        EXPECT_EQ(PermissionsOf(path), 0600) << "umask " << std::oct << mask;
        EXPECT_EQ(PermissionsOf(path + "-wal"), 0600) << "umask " << std::oct << mask;
        EXPECT_EQ(PermissionsOf(path + "-shm"), 0600) << "umask " << std::oct << mask;
    }

    // A database whose owner chose to share it stays shared, and so does its log.
    const std::string shared = (dir / "shared.db").string();
    SqliteRegistryStore{shared};
    ASSERT_EQ(chmod(shared.c_str(), 0640), 0);
    const ScopedUmask scoped(022);
    SqliteRegistryStore store(shared);
    RegistryStore::KeyId key = 0;
    bool created = false;
    ASSERT_EQ(store.CreateKey(RegistryStore::RootKeyId(1), {"Shared"}, "", key, created),
              ERROR_SUCCESS);
    EXPECT_EQ(PermissionsOf(shared), 0640);
    EXPECT_EQ(PermissionsOf(shared + "-wal"), 0640);
}

TEST(FileTimes, ConvertToCalendarAndLocalTime) {
    using namespace std::chrono;
    const auto since1601 = sys_days{year{2024} / February / 29} + hours{13} + minutes{45} +
                           seconds{30} + milliseconds{250} - sys_days{year{1601} / January / 1};
    const uint64_t leapDay =
        static_cast<uint64_t>(duration_cast<milliseconds>(since1601).count()) * 10'000;
    const FILETIME ft{static_cast<DWORD>(leapDay), static_cast<DWORD>(leapDay >> 32)};
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    // Year, month, day, day of week (a Thursday), hour, minute, second, millisecond.
    EXPECT_EQ((std::vector<int>{st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute,
                                st.wSecond, st.wMilliseconds}),
              (std::vector<int>{2024, 2, 29, 4, 13, 45, 30, 250}));
    const FILETIME origin{};
    ASSERT_TRUE(FileTimeToSystemTime(&origin, &st));
    EXPECT_EQ(st.wYear, 1601);
    EXPECT_EQ(st.wDayOfWeek, 1);  // a Monday
    const FILETIME outOfRange{0, 0x80000000u};
    EXPECT_FALSE(FileTimeToSystemTime(&outOfRange, &st));

    FILETIME local{};
    {
        const ScopedTimeZone east("ARN-3");  // three hours east of UTC, no daylight saving
        EXPECT_TRUE(FileTimeToLocalFileTime(&ft, &local));
        EXPECT_EQ(Ticks(local), leapDay + 3ull * 3600 * 10'000'000);
        EXPECT_TRUE(FileTimeToLocalFileTime(&origin, &local));
    }
    const ScopedTimeZone west("ARN+3");
    EXPECT_FALSE(FileTimeToLocalFileTime(&origin, &local));
}

}  // namespace
}  // namespace arn::test
