#include "fakes/SystemRegistrySandbox.h"

#include <windows.h>

#include <random>
#include <stdexcept>

namespace arn::test {

namespace {

struct Redirect {
    HKEY root;
    const char* name;
};

const Redirect kRedirects[] = {
    {HKEY_CURRENT_USER, "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKLM"},
    {HKEY_CLASSES_ROOT, "HKCR"},
};

std::string RandomName() {
    std::random_device device;
    std::mt19937_64 generator((static_cast<uint64_t>(device()) << 32) ^ device() ^
                              GetCurrentProcessId());
    char text[17];
    snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

}  // namespace

SystemRegistrySandbox::SystemRegistrySandbox()
    : m_path(std::string(kParent) + "\\" + RandomName()) {
    for (const Redirect& redirect : kRedirects) {
        const std::string path = m_path + "\\" + redirect.name;
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot create the test key " + path);
        }
        // The override keeps its own handle to the key.
        const LONG rc = RegOverridePredefKey(redirect.root, key);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS) {
            throw std::runtime_error("cannot redirect a root to " + path);
        }
    }
}

SystemRegistrySandbox::~SystemRegistrySandbox() {
    for (const Redirect& redirect : kRedirects) {
        RegOverridePredefKey(redirect.root, nullptr);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    // Refused while another run's key is still inside.
    RegDeleteKeyA(HKEY_CURRENT_USER, kParent);
}

}  // namespace arn::test
