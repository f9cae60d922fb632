#include "fakes/SystemRegistrySandbox.h"

#include <windows.h>

#include <iterator>
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
    char text[32];
    snprintf(text, sizeof text, "%08lx%08x%08x", static_cast<unsigned long>(GetCurrentProcessId()),
             device(), device());
    return text;
}

}  // namespace

SystemRegistrySandbox::SystemRegistrySandbox()
    : m_path(std::string(kParent) + "\\" + RandomName()) {
    HKEY keys[std::size(kRedirects)] = {};
    try {
        // Every key first: once HKEY_CURRENT_USER is redirected, it no longer leads here.
        for (size_t i = 0; i < std::size(kRedirects); ++i) {
            const std::string path = m_path + "\\" + kRedirects[i].name;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &keys[i], nullptr) != ERROR_SUCCESS) {
                throw std::runtime_error("cannot create the test key " + path);
            }
        }
        for (size_t i = 0; i < std::size(kRedirects); ++i) {
            // The override keeps its own handle to the key.
            if (RegOverridePredefKey(kRedirects[i].root, keys[i]) != ERROR_SUCCESS) {
                throw std::runtime_error("cannot redirect a root to " + m_path);
            }
        }
    } catch (...) {
        for (HKEY key : keys) {
            if (key != nullptr) {
                RegCloseKey(key);
            }
        }
        Remove();  // no destructor runs for a constructor that throws
        throw;
    }
    for (HKEY key : keys) {
        RegCloseKey(key);
    }
}

SystemRegistrySandbox::~SystemRegistrySandbox() {
    Remove();
}

void SystemRegistrySandbox::Remove() {
    for (const Redirect& redirect : kRedirects) {
        RegOverridePredefKey(redirect.root, nullptr);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    // Refused while another run's key is still inside.
    RegDeleteKeyA(HKEY_CURRENT_USER, kParent);
}

}  // namespace arn::test
