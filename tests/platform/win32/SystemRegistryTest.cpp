// What only the system's own registry and loader show: the library's calls reach them as
// the stores stand in for them on Linux.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/ArnError.h"
#include "fakes/SystemRegistrySandbox.h"
#include "platform/VersionInfo.h"
#include "platform/registry/RegistryApi.h"
#include "support/CRegistry.h"

namespace {

// The library's names for the roots, taken before <windows.h> turns them into macros of the
// system's own handle type.
constexpr int32_t kCurrentUser = arn::HKEY_CURRENT_USER;
constexpr int32_t kLocalMachine = arn::HKEY_LOCAL_MACHINE;

}  // namespace

#include <windows.h>

// Outside namespace arn, so that HKEY, DWORD and SYSTEMTIME are the system's types here.
namespace {

using arn::AppMajor;
using arn::AppMinor;
using arn::AppModuleFile;
using arn::AppPathSeparator;
using arn::AppRevision;
using arn::ArnError;
using arn::CRegistry;
using arn::RegistryOpenHandleCount;
using arn::vbObjectError;
using arn::test::SystemRegistrySandbox;

// A key opened through the system's functions, closed on scope exit.
struct NativeKey {
    ::HKEY key = nullptr;
    ~NativeKey() {
        if (key != nullptr) {
            ::RegCloseKey(key);
        }
    }
};

std::string NativeString(::HKEY root, const std::string& path, const char* name,
                         DWORD* type = nullptr) {
    NativeKey k;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k.key) != ERROR_SUCCESS) {
        return "<no key>";
    }
    char data[256];
    DWORD size = sizeof data;
    if (::RegQueryValueExA(k.key, name, nullptr, type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS) {
        return "<no value>";
    }
    return std::string(data, size);
}

// Seconds of the local calendar, as the library states times.
std::chrono::local_seconds Local(const SYSTEMTIME& t) {
    using namespace std::chrono;
    return local_days{year{t.wYear} / t.wMonth / t.wDay} + hours{t.wHour} + minutes{t.wMinute} +
           seconds{t.wSecond};
}

TEST(SystemRegistry, WrittenValuesAreSystemStringsWithTheLocalTimeAndSystemValuesReadBack) {
    const SystemRegistrySandbox sandbox;
    ASSERT_EQ(RegistryOpenHandleCount(), 0u);
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    CRegistry reg;
    std::string path = "Software/Written";
    reg.OpenKey(kCurrentUser, path, true);
    reg.WriteValue("text", "hello");
    reg.WriteDWORD("number", 0x01020304);
    SYSTEMTIME after{};
    ::GetLocalTime(&after);
    EXPECT_GE(reg.LastWriteTime(), Local(before) - std::chrono::seconds{1});
    EXPECT_LE(reg.LastWriteTime(), Local(after) + std::chrono::seconds{1});

    // The sandbox redirects the system's functions too. Written without a NUL, the system
    // hands the string back with one.
    const std::string real = "Software\\Written";
    DWORD type = 0;
    EXPECT_EQ(NativeString(HKEY_CURRENT_USER, real, "text", &type), std::string("hello\0", 6));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(NativeString(HKEY_CURRENT_USER, real, "number", &type), std::string("\4\3\2\1", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    NativeKey k;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, real.c_str(), 0, KEY_SET_VALUE, &k.key),
              ERROR_SUCCESS);
    const char native[] = "from the system";
    ASSERT_EQ(::RegSetValueExA(k.key, "native", 0, REG_SZ, reinterpret_cast<const BYTE*>(native),
                               sizeof native),
              ERROR_SUCCESS);
    EXPECT_EQ(reg.ReadValue("native"), "from the system");
    EXPECT_EQ(reg.ReadDWORD("number"), 0x01020304);
    reg.CloseKey();
    EXPECT_EQ(RegistryOpenHandleCount(), 0u);
}

TEST(SystemRegistry, LocalMachineKeysOpenedForReadingRefuseWrites) {
    // The real HKEY_LOCAL_MACHINE: its Software key exists in every installation.
    CRegistry reg;
    std::string path = "Software";
    reg.OpenKey(kLocalMachine, path);
    ASSERT_EQ(reg.CurrentKey(), "Software");
    try {
        reg.WriteValue("ArnAbsPosnTestMustNotExist", "x");
        ADD_FAILURE() << "a key opened for reading took a write";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), vbObjectError + 2);
        EXPECT_EQ(e.description(),
                  "Failed to write new value to ArnAbsPosnTestMustNotExist from Registry.");
    }
    EXPECT_EQ(NativeString(HKEY_LOCAL_MACHINE, "Software", "ArnAbsPosnTestMustNotExist"),
              "<no value>");
}

TEST(VersionResource, NumbersAreTheModulesFileVersion) {
    char file[MAX_PATH * 4];
    const DWORD n = ::GetModuleFileNameA(nullptr, file, sizeof file);
    ASSERT_GT(n, 0u);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(file, &ignored);
    ASSERT_GT(size, 0u) << "the program carries no version resource";
    std::string block(size, '\0');
    ASSERT_NE(::GetFileVersionInfoA(file, 0, size, block.data()), 0);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_NE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length), 0);
    EXPECT_EQ(AppMajor(), static_cast<int32_t>(HIWORD(fixed->dwFileVersionMS)));
    EXPECT_EQ(AppMinor(), static_cast<int32_t>(LOWORD(fixed->dwFileVersionMS)));
    EXPECT_EQ(AppRevision(), static_cast<int32_t>(HIWORD(fixed->dwFileVersionLS)));
    EXPECT_EQ(AppModuleFile(), std::string(file, n));
    EXPECT_EQ(AppPathSeparator(), '\\');
}

}  // namespace
