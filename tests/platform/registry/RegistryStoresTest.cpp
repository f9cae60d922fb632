#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "fakes/ProgramRun.h"
#include "fakes/RegistryTestSupport.h"
#include "platform/registry/RegistryBatch.h"
#include "support/CRegistry.h"

namespace arn::test {
namespace {

TEST(RegistryProcesses, TwoWritersIntoOneKeyLoseNothing) {
    TempDir dir;
    const std::string path = (dir / "shared.db").string();
    constexpr int kPerWriter = 300;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> writers;
    for (const char* tag : {"a", "b"}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(go[1]);
            char start = 0;
            if (read(go[0], &start, 1) != 1) {
                _exit(5);
            }
            try {
                RegistryUseDatabase(path);
                CRegistry reg;
                Open(reg, "Shared", true);
                for (int i = 0; i < kPerWriter; ++i) {
                    reg.WriteValue(std::string(tag) + std::to_string(i), std::to_string(i));
                }
            } catch (...) {
                _exit(3);
            }
            _exit(0);
        }
        writers.push_back(pid);
    }
    close(go[0]);
    ASSERT_EQ(write(go[1], "gg", 2), 2);  // both start together
    close(go[1]);
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    }

    RegistryUseDatabase(path);
    CRegistry reg;
    Open(reg, "Shared");
    EXPECT_EQ(reg.NumOfValues(), 2 * kPerWriter);
    int wrong = 0;
    for (int i = 0; i < 2 * kPerWriter; ++i) {
        wrong += reg.ReadValue("ab"[i % 2] + std::to_string(i / 2)) != std::to_string(i / 2);
    }
    EXPECT_EQ(wrong, 0);
    reg.CloseKey();
    RegistryUseMemory();
}

using RegistryStores = RegistryStoreTest;

TEST_P(RegistryStores, HandlesKeepTheirStoreWhenTheHostSwitches) {
    KeyHandle key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Kept", key), ERROR_SUCCESS);
    RegistryUseMemory();
    EXPECT_EQ(SetText(key.get(), "v", "x"), ERROR_SUCCESS);
    HKEY other = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Kept", 0, KEY_READ, &other), ERROR_FILE_NOT_FOUND);
}

// A batch keeps every change of the scope, or none: a key made and a value rewritten inside
// it are gone after a rollback; a call failing inside it does not end it.
TEST_P(RegistryStores, ABatchKeepsAllOrNothing) {
    KeyHandle key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Batch", key), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.get(), "v", "before"), ERROR_SUCCESS);
    // The inner key's presence and the value, as one text.
    const auto state = [&] {
        KeyHandle inner;
        const LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, "Batch\\Inner", 0, KEY_READ, inner.out());
        char data[16] = {};
        DWORD size = sizeof data - 1;
        RegQueryValueExA(key.get(), "v", nullptr, nullptr, reinterpret_cast<uint8_t*>(data), &size);
        return std::string(rc == ERROR_SUCCESS ? "inner, " : "") + data;
    };
    for (const bool commit : {false, true}) {
        {
            RegistryBatch batch;
            EXPECT_EQ(RegistryCurrentStore()->BeginBatch(), ERROR_BUSY);
            KeyHandle inner;
            ASSERT_EQ(Create(HKEY_CURRENT_USER, "Batch\\Inner", inner), ERROR_SUCCESS);
            ASSERT_EQ(SetText(key.get(), "v", "inside"), ERROR_SUCCESS);
            EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Batch"), ERROR_ACCESS_DENIED);
            EXPECT_EQ(state(), "inner, inside");
            if (commit) {
                batch.Commit();
            }
        }
        EXPECT_EQ(state(), commit ? "inner, inside" : "before") << commit;
    }
    EXPECT_EQ(RegistryCurrentStore()->CommitBatch(), ERROR_INVALID_FUNCTION);
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryStores, RegistryKinds(), StoreName);

// A store failing inside the tree is the error the caller gets, not the refusal of the
// still-full key that would follow it.
TEST(RegistryDeleteTree, AStoreFailureInsideTheTreeIsTheErrorReported) {
    struct Refusing : MemoryRegistryStore {
        LONG DeleteKey(KeyId parent, const std::vector<std::string>& path) override {
            return path.back() == "Stuck" ? ERROR_REGISTRY_IO_FAILED
                                          : MemoryRegistryStore::DeleteKey(parent, path);
        }
    };
    ScopedFreshRegistry restored;  // the plain store comes back however the test ends
    RegistryUseStore(std::make_shared<Refusing>());
    KeyHandle key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Tree\\Stuck", key), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "Tree"), ERROR_REGISTRY_IO_FAILED);
}

// Files that are no database at all, and folders, are arnreg's own test.
TEST(SqliteRegistryStore, RefusesADatabaseOfAnotherProgram) {
    TempDir dir;
    const std::string foreign = (dir / "other.db").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE mine(x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    EXPECT_THAT([&] { SqliteRegistryStore store(foreign); },
                testing::ThrowsMessage<std::runtime_error>(testing::HasSubstr(foreign)));
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
    const auto at = [](uint64_t t) { return FILETIME{static_cast<DWORD>(t), DWORD(t >> 32)}; };
    const FILETIME ft = at(leapDay);
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
    const uint64_t threeHours = 3ull * 3600 * 10'000'000;
    {
        const ScopedTimeZone east("ARN-3");  // three hours east of UTC, no daylight saving
        EXPECT_TRUE(FileTimeToLocalFileTime(&ft, &local));
        EXPECT_EQ(Ticks(local), leapDay + threeHours);
        EXPECT_TRUE(FileTimeToLocalFileTime(&origin, &local));
        // The last time that still moves east, and the first that would wrap.
        const FILETIME last = at(UINT64_MAX - threeHours), past = at(UINT64_MAX - threeHours + 1);
        EXPECT_TRUE(FileTimeToLocalFileTime(&last, &local));
        EXPECT_EQ(Ticks(local), UINT64_MAX);
        EXPECT_FALSE(FileTimeToLocalFileTime(&past, &local));
    }
    const ScopedTimeZone west("ARN+3");
    EXPECT_FALSE(FileTimeToLocalFileTime(&origin, &local));
}

// The registry functions choose their store on first use, so this test runs again in a fresh
// process of this binary, where nothing has chosen yet.
TEST(RegistryEnvironment, FirstUseOpensTheDatabaseTheEnvironmentNames) {
    if (const char* mode = std::getenv("ARN_REGISTRY_TEST_CHILD")) {
        KeyHandle key;
        const LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, "FromEnvironment", 0, nullptr, 0,
                                        KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
        if (std::string(mode) == "unusable") {
            EXPECT_EQ(rc, ERROR_REGISTRY_IO_FAILED);
            return;
        }
        ASSERT_EQ(rc, ERROR_SUCCESS);
        ASSERT_EQ(
            RegSetValueExA(key.get(), "v", 0, REG_SZ, reinterpret_cast<const uint8_t*>("here"), 4),
            ERROR_SUCCESS);
        return;
    }
    TempDir dir;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::vector<std::string> args{"--gtest_filter=RegistryEnvironment.*"};
    const std::string path = (dir / "env.db").string();
    const ProgramResult written =
        RunProgram(self, args, {{"ARN_REGISTRY_TEST_CHILD", "write"}, {"ARN_REGISTRY_DB", path}});
    ASSERT_EQ(written.exitCode, 0) << written.out;
    SqliteRegistryStore store(path);
    RegistryStore::KeyId key = 0;
    ASSERT_EQ(store.OpenKey(RegistryStore::RootKeyId(1), {"FromEnvironment"}, key), ERROR_SUCCESS);
    RegistryStore::Value value;
    ASSERT_EQ(store.QueryValue(key, "v", value), ERROR_SUCCESS);
    EXPECT_EQ(value.data, "here");

    // A file that cannot be opened fails every call instead of quietly keeping the values in
    // memory.
    const ProgramResult refused = RunProgram(self, args,
                                             {{"ARN_REGISTRY_TEST_CHILD", "unusable"},
                                              {"ARN_REGISTRY_DB", (dir / "no" / "x.db").string()}});
    EXPECT_EQ(refused.exitCode, 0) << refused.out;
}

}  // namespace
}  // namespace arn::test
