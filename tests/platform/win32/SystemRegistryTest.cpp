// What only the system's own registry and loader show: the library's calls reach them as
// the stores stand in for them on Linux.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
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

TEST(SystemRegistry, WrittenValuesAreSystemStringsAndSystemValuesReadBack) {
    const SystemRegistrySandbox sandbox;
    ASSERT_EQ(RegistryOpenHandleCount(), 0u);
    CRegistry reg;
    std::string path = "Software/Written";
    reg.OpenKey(kCurrentUser, path, true);
    reg.WriteValue("text", "hello");
    reg.WriteDWORD("number", 0x01020304);

    // The sandbox redirects the system's functions too.
    const std::string real = "Software\\Written";
    DWORD type = 0;
    const std::string text = NativeString(HKEY_CURRENT_USER, real, "text", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // Written without a NUL; the system hands the string back with one.
    EXPECT_EQ(text.substr(0, text.find('\0')), "hello");
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

TEST(SystemRegistry, LastWriteTimeIsTheLocalTimeOfTheWrite) {
    const SystemRegistrySandbox sandbox;
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    CRegistry reg;
    std::string path = "Stamped";
    reg.OpenKey(kCurrentUser, path, true);
    reg.WriteValue("v", "x");
    SYSTEMTIME after{};
    ::GetLocalTime(&after);
    using namespace std::chrono;
    const auto local = [](const SYSTEMTIME& t) {
        return local_days{year{t.wYear} / t.wMonth / t.wDay} + hours{t.wHour} + minutes{t.wMinute} +
               seconds{t.wSecond};
    };
    const local_seconds written = reg.LastWriteTime();
    EXPECT_GE(written, local(before) - seconds{1});
    EXPECT_LE(written, local(after) + seconds{1});
}

// The component as a host loads it: ArnAbsPosn.dll from the build folder.
class LoadedComponent : public testing::Test {
  protected:
    void SetUp() override {
        const char* dir = std::getenv("ARN_TEST_BINARY_DIR");
        ASSERT_NE(dir, nullptr) << "ARN_TEST_BINARY_DIR names the build folder";
        m_module = ::LoadLibraryA((std::string(dir) + "/ArnAbsPosn.dll").c_str());
        ASSERT_NE(m_module, nullptr) << "error " << ::GetLastError();
    }
    void TearDown() override {
        if (m_module != nullptr) {
            ::FreeLibrary(m_module);
        }
    }
    template <class F>
    F* Entry(const char* name) {
        return reinterpret_cast<F*>(reinterpret_cast<void*>(::GetProcAddress(m_module, name)));
    }

    HMODULE m_module = nullptr;
};

TEST_F(LoadedComponent, RegistersItsOwnFile) {
    const SystemRegistrySandbox sandbox;
    using Entry = int32_t();
    auto* registerServer = this->Entry<Entry>("DllRegisterServer");
    auto* unregisterServer = this->Entry<Entry>("DllUnregisterServer");
    auto* canUnloadNow = this->Entry<Entry>("DllCanUnloadNow");
    ASSERT_NE(registerServer, nullptr);
    ASSERT_NE(unregisterServer, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);
    ASSERT_NE(this->Entry<void>("DllGetClassObject"), nullptr);
    EXPECT_EQ(canUnloadNow(), 0);

    ASSERT_EQ(registerServer(), 0);
    char file[MAX_PATH * 4];
    const DWORD n = ::GetModuleFileNameA(m_module, file, sizeof file);
    const std::string classes = "CLSID";
    NativeKey clsid;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CLASSES_ROOT, classes.c_str(), 0, KEY_READ, &clsid.key),
              ERROR_SUCCESS);
    char name[256];
    ASSERT_EQ(::RegEnumKeyA(clsid.key, 0, name, sizeof name), ERROR_SUCCESS);
    // The DLL's own file, not the program that loaded it.
    const std::string server =
        NativeString(HKEY_CLASSES_ROOT, classes + "\\" + name + "\\InprocServer32", "");
    EXPECT_EQ(server.substr(0, server.find('\0')), std::string(file, n));
    EXPECT_NE(std::string(file, n).find("\\ArnAbsPosn.dll"), std::string::npos);
    EXPECT_EQ(unregisterServer(), 0);
    EXPECT_EQ(::RegEnumKeyA(clsid.key, 0, name, sizeof name), ERROR_NO_MORE_ITEMS);
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
