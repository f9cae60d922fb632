// What only the system's own registry and loader show: the library's calls reach them as
// the stores stand in for them on Linux.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "fakes/ErrorNumber.h"
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

// A key opened through the system's functions, closed on scope exit.
struct NativeKey {
    ::HKEY key = nullptr;
    ~NativeKey() {
        if (key != nullptr) {
            ::RegCloseKey(key);
        }
    }
};

// A value as the system reads it back: "type:data" (REG_SZ is 1, REG_DWORD 4).
std::string NativeString(::HKEY root, const std::string& path, const char* name) {
    NativeKey k;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k.key) != ERROR_SUCCESS) {
        return "<no key>";
    }
    char data[256];
    DWORD size = sizeof data, type = 0;
    if (::RegQueryValueExA(k.key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS) {
        return "<no value>";
    }
    return std::to_string(type) + ":" + std::string(data, size);
}

// Seconds of the local calendar, as the library states times.
std::chrono::local_seconds Local(const SYSTEMTIME& t) {
    using namespace std::chrono;
    return local_days{year{t.wYear} / t.wMonth / t.wDay} + hours{t.wHour} + minutes{t.wMinute} +
           seconds{t.wSecond};
}

TEST(SystemRegistry, WrittenValuesAreSystemStringsWithTheLocalTimeAndSystemValuesReadBack) {
    const arn::test::SystemRegistrySandbox sandbox;
    ASSERT_EQ(arn::RegistryOpenHandleCount(), 0u);
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    arn::CRegistry reg;
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
    EXPECT_EQ(NativeString(HKEY_CURRENT_USER, real, "text"), std::string("1:hello\0", 8));
    EXPECT_EQ(NativeString(HKEY_CURRENT_USER, real, "number"), std::string("4:\4\3\2\1", 6));
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
    EXPECT_EQ(arn::RegistryOpenHandleCount(), 0u);
}

TEST(SystemRegistry, LocalMachineKeysOpenedForReadingRefuseWrites) {
    // The real HKEY_LOCAL_MACHINE: its Software key exists in every installation.
    arn::CRegistry reg;
    std::string path = "Software";
    reg.OpenKey(kLocalMachine, path);
    ASSERT_EQ(reg.CurrentKey(), "Software");
    EXPECT_EQ(arn::test::ErrorNumber([&] { reg.WriteValue("ArnAbsPosnTestMustNotExist", "x"); }),
              arn::vbObjectError + 2);
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
    EXPECT_EQ((std::vector<int32_t>{arn::AppMajor(), arn::AppMinor(), arn::AppRevision()}),
              (std::vector<int32_t>{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                    HIWORD(fixed->dwFileVersionLS)}));
    EXPECT_EQ(arn::AppModuleFile(), std::string(file, n));
    EXPECT_EQ(arn::AppPathSeparator(), '\\');
}

}  // namespace
