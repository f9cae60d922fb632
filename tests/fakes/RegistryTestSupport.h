#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/RegistryApi.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "support/CRegistry.h"

namespace arn::test {

// A fresh folder under the system temp folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "arnreg-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// A clock the test moves by hand: file time ticks.
struct ManualClock {
    std::shared_ptr<uint64_t> now = std::make_shared<uint64_t>(133'000'000'000'000'000ull);
    RegistryStore::Clock Function() const {
        return [now = now] { return *now; };
    }
};

// Sets TZ for the scope of a test and puts the previous setting back.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* saved = std::getenv("TZ")) {
            m_saved = saved;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        m_saved ? setenv("TZ", m_saved->c_str(), 1) : unsetenv("TZ");
        tzset();
    }

  private:
    std::optional<std::string> m_saved;
};

// Sets the process's umask for the scope of a test and puts the previous one back.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : m_saved(umask(mask)) {}
    ~ScopedUmask() { umask(m_saved); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

  private:
    mode_t m_saved;
};

// The permission bits of a file or folder, or -1 when it cannot be found.
inline int PermissionsOf(const std::filesystem::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

// Opens `path` under `root` with `reg`, for tests that do not look at the normalised path.
inline void Open(CRegistry& reg, std::string path, bool create = false,
                 HKEY root = HKEY_CURRENT_USER) {
    reg.OpenKey(root, path, create);
}

enum class StoreKind { Memory, Sqlite };

inline std::string StoreName(const testing::TestParamInfo<StoreKind>& info) {
    return info.param == StoreKind::Memory ? "Memory" : "Sqlite";
}

// Puts a fresh store of the parameter's kind behind the registry functions for each test,
// and checks that the test closed every handle it opened.
class RegistryStoreTest : public testing::TestWithParam<StoreKind> {
  protected:
    void SetUp() override {
        if (GetParam() == StoreKind::Memory) {
            RegistryUseStore(std::make_shared<MemoryRegistryStore>(m_clock.Function()));
        } else {
            RegistryUseStore(std::make_shared<SqliteRegistryStore>((m_dir / "registry.db").string(),
                                                                   m_clock.Function()));
        }
    }
    void TearDown() override {
        EXPECT_EQ(RegistryOpenHandleCount(), 0u);
        RegistryUseMemory();
    }

    TempDir m_dir;
    ManualClock m_clock;
};

// A handle closed on scope exit.
class KeyHandle {
  public:
    KeyHandle() = default;
    ~KeyHandle() {
        if (m_handle != 0) {
            RegCloseKey(m_handle);
        }
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    HKEY* out() { return &m_handle; }
    HKEY get() const { return m_handle; }

  private:
    HKEY m_handle = 0;
};

}  // namespace arn::test
