#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>

#include "fakes/ProgramRun.h"
#include "fakes/RegistryTestSupport.h"
#include "platform/registry/RegistryBatch.h"
#include "support/CRegistry.h"

namespace arn::test {
namespace {

using testing::HasSubstr;

const std::string kSig = "Windows Registry Editor Version 5.00\r\n";

// A real store that reports each value it stored to a pipe, after the store said it was written.
class ReportingStore : public SqliteRegistryStore {
  public:
    ReportingStore(const std::string& path, int fd) : SqliteRegistryStore(path), m_fd(fd) {}
    LONG SetValue(KeyId key, std::string_view name, uint32_t type, std::string_view data) override {
        const LONG rc = SqliteRegistryStore::SetValue(key, name, type, data);
        const std::string line = std::string(name) + "\n";
        if (rc == ERROR_SUCCESS &&
            write(m_fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            _exit(4);
        }
        return rc;
    }

  private:
    int m_fd;
};

std::string IntegrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        const auto firstRow = [](void* out, int, char** row, char**) {
            *static_cast<std::string*>(out) = row[0];
            return 1;
        };
        sqlite3_exec(db, "PRAGMA integrity_check", firstRow, &result, nullptr);
    }
    sqlite3_close(db);
    return result;
}

// Value "v<k>_<i>" lives in key "Crash\K<k>" and holds "data <i>".
std::string KeyOfValue(const std::string& name) {
    return "Crash\\K" + name.substr(1, name.find('_') - 1);
}

TEST(RegistryProcesses, ImportKilledMidwayKeepsEveryReportedValue) {
    TempDir dir;
    const std::string path = (dir / "crash.db").string();
    std::string image = kSig;
    for (int k = 0; k < 40; ++k) {
        image += "\r\n[HKEY_CURRENT_USER\\Crash\\K" + std::to_string(k) + "]\r\n";
        for (int i = 0; i < 500; ++i) {
            image += "\"v" + std::to_string(k) + "_" + std::to_string(i) + "\"=\"data " +
                     std::to_string(i) + "\"\r\n";
        }
    }
    std::vector<std::string> reported;
    for (const size_t killAfter : {300u, 1700u, 900u}) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            try {
                RegistryUseStore(std::make_shared<ReportingStore>(path, fds[1]));
                CRegistry().LoadRegistry(image);
            } catch (...) {
                _exit(3);
            }
            _exit(0);
        }
        close(fds[1]);
        FILE* reports = fdopen(fds[0], "r");
        char line[64];
        size_t seen = 0;
        while (std::fgets(line, sizeof line, reports) != nullptr) {
            reported.emplace_back(line, std::strlen(line) - 1);
            if (++seen == killAfter) {
                kill(pid, SIGKILL);
            }
        }
        std::fclose(reports);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the import finished before it was killed";

        EXPECT_EQ(IntegrityCheck(path), "ok");
        RegistryUseDatabase(path);
        size_t missing = 0;
        for (const std::string& name : reported) {
            CRegistry reg;
            Open(reg, KeyOfValue(name));
            if (reg.ReadValue(name, "<missing>") != "data " + name.substr(name.find('_') + 1)) {
                ++missing;
            }
        }
        EXPECT_EQ(missing, 0u) << "of " << reported.size() << " reported values";
        RegistryUseMemory();
    }
}

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
    for (int i = 0; i < kPerWriter; ++i) {
        wrong += reg.ReadValue("a" + std::to_string(i)) != std::to_string(i);
        wrong += reg.ReadValue("b" + std::to_string(i)) != std::to_string(i);
    }
    EXPECT_EQ(wrong, 0);
    reg.CloseKey();
    RegistryUseMemory();
}

uint64_t Ticks(const FILETIME& ft) {
    return static_cast<uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
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
    if (!OnStores()) {
        GTEST_SKIP() << "the system's registry has no batch";
    }
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

// Files that are no database at all, and folders, are arnreg's own test.
TEST(SqliteRegistryStore, RefusesADatabaseOfAnotherProgram) {
    TempDir dir;
    const std::string foreign = (dir / "other.db").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE mine(x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    try {
        SqliteRegistryStore store(foreign);
        FAIL() << "a foreign database was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), testing::HasSubstr(foreign));
    }
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

// Runs the arnreg program -----------------------------------------------------------------

using Environment = std::map<std::string, std::optional<std::string>>;

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

class Arnreg : public testing::Test {
  protected:
    void SetUp() override { m_env["ARN_REGISTRY_DB"] = (m_dir / "tool.db").string(); }

    ProgramResult Run(const std::vector<std::string>& args) {
        return RunProgram(ARN_ARNREG_PATH, args, m_env);
    }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string file = (m_dir / name).string();
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    TempDir m_dir;
    Environment m_env;
};

std::string Utf16LeWithBom(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST_F(Arnreg, ImportsAWindowsUtf16FileAndExportsItBack) {
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n"
        u"\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n"
        u"\"Name\"=\"Gr\u00fc\u00dfe \U0001F600\"\r\n"
        u"\"Folder\"=\"C:\\\\Program Files\\\\Arn\"\r\n"
        u"\r\n[HKEY_CURRENT_USER\\Software\\Arn\\Axis]\r\n"
        u"\"Units\"=\"mm\"\r\n";
    const std::string utf8 =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n"
        "\"Name\"=\"Gr\xC3\xBC\xC3\x9F"
        "e \xF0\x9F\x98\x80\"\r\n"
        "\"Folder\"=\"C:\\\\Program Files\\\\Arn\"\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Arn\\Axis]\r\n"
        "\"Units\"=\"mm\"\r\n";
    const ProgramResult imported = Run({"import", WriteFile("win.reg", Utf16LeWithBom(text))});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;

    EXPECT_EQ(Run({"get", "HKCU/Software/Arn", "Folder"}).out, "C:\\Program Files\\Arn\n");
    EXPECT_EQ(Run({"export", "HKEY_CURRENT_USER\\Software\\Arn"}).out, utf8);
    // Headers repeat the key as the command spelled it, below the root's full name.
    EXPECT_THAT(Run({"export", "hkcu\\software\\arn"}).out,
                HasSubstr("\r\n[HKEY_CURRENT_USER\\software\\arn\\Axis]\r\n"));

    // The exported file loads again, here with Unix line ends and a UTF-8 mark.
    std::string unix = "\xEF\xBB\xBF" + utf8;
    for (size_t at = unix.find("\r\n"); at != std::string::npos; at = unix.find("\r\n", at)) {
        unix.erase(at, 1);
    }
    ASSERT_EQ(Run({"delete", "HKCU\\Software\\Arn"}).exitCode, 0);
    ASSERT_EQ(Run({"import", WriteFile("unix.reg", unix)}).exitCode, 0);
    EXPECT_EQ(Run({"export", "HKCU\\Software\\Arn"}).out, utf8);
}

TEST_F(Arnreg, ReadsWritesListsAndDeletes) {
    ASSERT_EQ(Run({"set", "HKCU\\App", "Title", "Main axis"}).exitCode, 0);
    ASSERT_EQ(Run({"set", "--dword", "HKCU\\App", "Count", "-3"}).exitCode, 0);
    ASSERT_EQ(Run({"set", "HKCU\\App\\Sub\\Deep", "x", "1"}).exitCode, 0);
    EXPECT_EQ(Run({"get", "HKCU\\App", "Count"}).out, "-3\n");
    EXPECT_EQ(Run({"list", "HKCU\\app"}).out, "Sub\\\nTitle = Main axis\nCount = -3  (DWORD)\n");

    ASSERT_EQ(Run({"delete", "HKCU\\App", "title"}).exitCode, 0);
    const ProgramResult gone = Run({"get", "HKCU\\App", "Title"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_THAT(gone.err, HasSubstr("no value 'Title'"));
    EXPECT_EQ(Run({"delete", "HKCU\\App", "Title"}).exitCode, 1);

    ASSERT_EQ(Run({"delete", "HKCU\\App"}).exitCode, 0);
    const ProgramResult noKey = Run({"list", "HKCU\\App"});
    EXPECT_EQ(noKey.exitCode, 1);
    EXPECT_THAT(noKey.err, HasSubstr("no such key: HKCU\\App"));
    EXPECT_EQ(Run({"delete", "HKCU"}).exitCode, 1);
    const ProgramResult absent = Run({"import", (m_dir / "absent.reg").string()});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_THAT(absent.err, HasSubstr("absent.reg"));
}

// The warnings' texts are the checks' own; here the program prints them, before it loads.
TEST_F(Arnreg, ImportWarnsOfLinesOfOtherToolsUnlessQuiet) {
    const std::string accepted = kSig +
                                 "\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n"
                                 "\"Count\"=dword:0000002a\r\n"
                                 "\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n";
    const std::string warning =
        "arnreg: warning: line 3: dword value \"Count\" stored as the string \"word:0000002\"\n";
    const std::string failure =
        "arnreg: import failed: error 5 from ArnAbsPosn.cRegistry: Invalid procedure call or "
        "argument\n";
    // Registry editors write UTF-16. The key that line 5 opens again counts once.
    const std::string acceptedFile =
        WriteFile("accepted.reg", Utf16LeWithBom(std::u16string(accepted.begin(), accepted.end())));
    const std::string refusedFile =
        WriteFile("refused.reg", accepted + "\"Stale\"=-\r\n\"Later\"=\"never\"\r\n");
    const std::string refusal =
        "arnreg: warning: line 6: deletion of value \"Stale\" ends the load: refused with error "
        "5 from ArnAbsPosn.cRegistry: Invalid procedure call or argument\n" +
        failure;
    const std::string kept =
        "arnreg: before the error (line 6) the import wrote 1 key and 1 "
        "value of '" +
        refusedFile + "'; they stay written\n";
    // --quiet and -q leave the warnings out, never the failure.
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    } rows[] = {
        {{"import", acceptedFile}, 0, warning},
        {{"--quiet", "import", acceptedFile}, 0, ""},
        {{"import", refusedFile}, 1, warning + refusal + kept},
        {{"import", "-q", refusedFile}, 1, failure + kept},
    };
    for (const auto& row : rows) {
        const ProgramResult run = Run(row.args);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.args[1];
        EXPECT_EQ(run.err, row.err) << row.args[1];
    }
    EXPECT_EQ(Run({"import", acceptedFile}).out,
              "imported 1 key and 1 value from '" + acceptedFile + "'\n");
    EXPECT_EQ(Run({"get", "HKCU\\Software\\Arn", "Later"}).exitCode, 1);
}

TEST_F(Arnreg, FindsItsDatabaseInTheUsersDataFolderAndKeepsItPrivate) {
    m_env["ARN_REGISTRY_DB"] = std::nullopt;
    m_env["XDG_DATA_HOME"] = (m_dir / "xdg").string();
    ASSERT_EQ(Run({"set", "HKCU\\A", "v", "1"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "xdg" / "arnabsposn" / "registry.db"));

    const ScopedUmask scoped(022);
    const std::filesystem::path home = m_dir / "home";
    ASSERT_TRUE(std::filesystem::create_directory(home));
    ASSERT_EQ(chmod(home.c_str(), 0755), 0);
    m_env["XDG_DATA_HOME"] = std::nullopt;
    m_env["HOME"] = home.string();
    ASSERT_EQ(Run({"set", "HKCU\\A", "v", "1"}).exitCode, 0);
    const std::filesystem::path database = home / ".local" / "share" / "arnabsposn" / "registry.db";
    EXPECT_EQ(PermissionsOf(database), 0600);
    EXPECT_EQ(PermissionsOf(database.parent_path()), 0700);
    EXPECT_EQ(PermissionsOf(home / ".local" / "share"), 0700);
    EXPECT_EQ(PermissionsOf(home / ".local"), 0700);
    EXPECT_EQ(PermissionsOf(home), 0755);

    // A database its owner chose to share stays shared.
    ASSERT_EQ(chmod(database.c_str(), 0644), 0);
    ASSERT_EQ(Run({"set", "HKCU\\A", "v", "2"}).exitCode, 0);
    EXPECT_EQ(PermissionsOf(database), 0644);
    EXPECT_EQ(Run({"get", "HKCU\\A", "v"}).out, "2\n");
}

}  // namespace
}  // namespace arn::test
