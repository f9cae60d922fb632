#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "platform/registry/RegistryApi.h"
#include "platform/registry/RegistryStore.h"
#include "support/CRegistry.h"

#ifdef _WIN32
#include "fakes/SystemRegistrySandbox.h"
#else
#include <sys/stat.h>

#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/SqliteRegistryStore.h"
#endif

namespace arn::test {

// A fresh folder under the system temp folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = std::filesystem::temp_directory_path() /
                     ("arnreg-" + std::to_string(random()) + std::to_string(random()));
            if (std::filesystem::create_directory(m_path)) {
                std::filesystem::permissions(m_path, std::filesystem::perms::owner_all);
                return;
            }
        }
        throw std::runtime_error("no fresh temp folder");
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

// A file's whole content, byte for byte; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file time as one count of ticks.
inline uint64_t Ticks(const FILETIME& ft) {
    return static_cast<uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
}

// A clock the test moves by hand: file time ticks.
struct ManualClock {
    std::shared_ptr<uint64_t> now = std::make_shared<uint64_t>(133'000'000'000'000'000ull);
    RegistryStore::Clock Function() const {
        return [now = now] { return *now; };
    }
};

#ifndef _WIN32
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

#endif

// Opens `path` under `root` with `reg`, for tests that do not look at the normalised path.
inline void Open(CRegistry& reg, std::string path, bool create = false,
                 HKEY root = HKEY_CURRENT_USER) {
    reg.OpenKey(root, path, create);
}

// The text value `name` of the key at `path` under HKEY_CURRENT_USER, or "<missing>".
inline std::string Read(const std::string& path, const std::string& name) {
    CRegistry reg;
    Open(reg, path);
    return reg.ReadValue(name, "<missing>");
}

// Where a registry suite runs: this library's stores on Linux, the system's registry on
// Windows.
enum class StoreKind { Memory, Sqlite, System };

inline std::string StoreName(const testing::TestParamInfo<StoreKind>& info) {
    return info.param == StoreKind::Memory   ? "Memory"
           : info.param == StoreKind::Sqlite ? "Sqlite"
                                             : "System";
}

inline auto RegistryKinds() {
#ifdef _WIN32
    return testing::Values(StoreKind::System);
#else
    return testing::Values(StoreKind::Memory, StoreKind::Sqlite);
#endif
}

// An empty registry for the scope of a test: a fresh in-memory store on Linux, fresh keys
// behind the roots on Windows (removed again at the end of the scope).
#ifdef _WIN32
class ScopedFreshRegistry {
    SystemRegistrySandbox m_sandbox;
};
#else
class ScopedFreshRegistry {
  public:
    ScopedFreshRegistry() { RegistryUseMemory(); }
    ~ScopedFreshRegistry() { RegistryUseMemory(); }
    ScopedFreshRegistry(const ScopedFreshRegistry&) = delete;
    ScopedFreshRegistry& operator=(const ScopedFreshRegistry&) = delete;
};
#endif

// Puts a fresh store of the parameter's kind behind the registry functions for each test (on
// Windows: fresh keys behind the roots), and checks that the test closed every handle it
// opened. m_clock drives the stores' write times; the system's registry keeps its own.
class RegistryStoreTest : public testing::TestWithParam<StoreKind> {
  protected:
    void SetUp() override {
        m_handlesBefore = RegistryOpenHandleCount();
#ifdef _WIN32
        m_sandbox = std::make_unique<SystemRegistrySandbox>();
#else
        if (GetParam() == StoreKind::Memory) {
            RegistryUseStore(std::make_shared<MemoryRegistryStore>(m_clock.Function()));
        } else {
            RegistryUseStore(std::make_shared<SqliteRegistryStore>((m_dir / "registry.db").string(),
                                                                   m_clock.Function()));
        }
#endif
    }
    void TearDown() override {
        EXPECT_EQ(RegistryOpenHandleCount(), m_handlesBefore);
#ifdef _WIN32
        m_sandbox.reset();
#else
        RegistryUseMemory();
#endif
    }
    // The test needs the stores' injected clock or another trait of the Linux stores.
    bool OnStores() const {
        return GetParam() != StoreKind::System;
    }

    TempDir m_dir;
    ManualClock m_clock;
    size_t m_handlesBefore = 0;
#ifdef _WIN32
    // Also removed by the fixture's destruction when SetUp or the test fails half-way.
    std::unique_ptr<SystemRegistrySandbox> m_sandbox;
#endif
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

// The registry calls as the suites make them: a key created with every right, and a string
// value written without its terminating NUL.
inline LONG Create(HKEY parent, const char* path, KeyHandle& key, const char* keyClass = nullptr,
                   DWORD* disposition = nullptr) {
    return RegCreateKeyExA(parent, path, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, key.out(), disposition);
}

inline LONG SetText(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const uint8_t*>(text.data()),
                          static_cast<DWORD>(text.size()));
}

}  // namespace arn::test
