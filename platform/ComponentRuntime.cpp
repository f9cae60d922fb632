#include "platform/ComponentRuntime.h"

#include "platform/registry/RegistryApi.h"

namespace arn {

namespace {

// Creates path under HKEY_CLASSES_ROOT and sets its default value.
bool WriteDefault(const std::string& path, std::string_view text) {
    HKEY key = 0;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, &disposition) != ERROR_SUCCESS) {
        return false;
    }
    const LONG rc =
        RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const uint8_t*>(text.data()),
                       static_cast<DWORD>(text.size()));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

}  // namespace

HRESULT RegisterInprocServer(std::string_view clsid, std::string_view progId,
                             std::string_view description, const std::string& moduleFile) {
    const std::string classKey = "CLSID\\" + std::string(clsid);
    const bool ok = WriteDefault(classKey, description) &&
                    WriteDefault(classKey + "\\InprocServer32", moduleFile) &&
                    WriteDefault(classKey + "\\ProgID", progId) &&
                    WriteDefault(std::string(progId) + "\\CLSID", clsid);
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterInprocServer(std::string_view clsid, std::string_view progId) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + std::string(clsid)).c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, std::string(progId).c_str());
    return S_OK;
}

}  // namespace arn
