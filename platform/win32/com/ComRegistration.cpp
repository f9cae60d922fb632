#include "platform/win32/com/ComRegistration.h"

#include <oleauto.h>

#include <string_view>

#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

// The system's proxy for dispatch interfaces (PSDispatch).
constexpr std::wstring_view DispatchProxy = L"{00020420-0000-0000-C000-000000000046}";

// The component categories a visual control implements: a control, safe for scripting and
// safe for initialising from persisted data.
constexpr std::wstring_view ControlCategories[] = {L"{40FC6ED4-2438-11CF-A3DB-080036F12502}",
                                                   L"{7DD95801-9882-11CF-9FA9-00AA006C42C4}",
                                                   L"{7DD95802-9882-11CF-9FA9-00AA006C42C4}"};

bool SetText(HKEY key, const wchar_t* name, std::wstring_view text) {
    const std::wstring value(text);
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// Creates HKEY_CLASSES_ROOT\path and sets its default value, and one named value if given.
bool WriteKey(const std::wstring& path, std::wstring_view text, const wchar_t* name = nullptr,
              std::wstring_view named = {}) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool ok = SetText(key, nullptr, text);
    if (ok && name != nullptr) {
        ok = SetText(key, name, named);
    }
    RegCloseKey(key);
    return ok;
}

// The default value of HKEY_CLASSES_ROOT\path; empty when absent.
std::wstring ReadDefault(const std::wstring& path) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

bool SameText(const std::wstring& a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

void DeleteTree(const std::wstring& path) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
}

bool WriteInterface(std::string_view iid, std::string_view name, const std::wstring& libId,
                    const std::wstring& version) {
    const std::wstring key = L"Interface\\" + Widen(iid);
    return WriteKey(key, Widen(name)) && WriteKey(key + L"\\ProxyStubClsid32", DispatchProxy) &&
           WriteKey(key + L"\\TypeLib", libId, L"Version", version);
}

void DeleteInterface(std::string_view iid, const std::wstring& libId) {
    const std::wstring key = L"Interface\\" + Widen(iid);
    if (SameText(ReadDefault(key + L"\\TypeLib"), libId)) {
        DeleteTree(key);
    }
}

bool WriteControlKeys(const ComponentClass& served, const std::wstring& classKey,
                      const std::wstring& modulePath, const std::wstring& version) {
    bool ok = WriteKey(classKey + L"\\Control", L"") &&
              WriteKey(classKey + L"\\MiscStatus", std::to_wstring(served.miscStatus)) &&
              WriteKey(classKey + L"\\MiscStatus\\1", std::to_wstring(served.miscStatus)) &&
              WriteKey(classKey + L"\\ToolboxBitmap32",
                       modulePath + L", " + std::to_wstring(served.toolboxBitmapId)) &&
              WriteKey(classKey + L"\\Version", version);
    for (std::wstring_view category : ControlCategories) {
        ok = ok && WriteKey(classKey + L"\\Implemented Categories\\" + std::wstring(category), L"");
    }
    return ok;
}

HRESULT RegisterTypeLibrary(const std::wstring& modulePath) {
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &lib);
    if (FAILED(hr)) {
        return hr;
    }
    std::wstring path = modulePath;  // the system's declaration takes it writable
    hr = RegisterTypeLib(lib, path.data(), nullptr);
    lib->Release();
    return hr;
}

}  // namespace

HRESULT RegisterComServer(const ComponentClass& served, const std::wstring& modulePath) {
    if (FAILED(RegisterTypeLibrary(modulePath))) {
        UnregisterComServer(served);
        return SELFREG_E_TYPELIB;
    }
    const std::wstring classKey = L"CLSID\\" + Widen(served.classId);
    const std::wstring description = Widen(served.description);
    const std::wstring progId = Widen(served.progId);
    const std::wstring libId = Widen(served.typeLibId);
    const std::wstring version =
        std::to_wstring(served.typeLibMajor) + L"." + std::to_wstring(served.typeLibMinor);
    const bool ok =
        WriteKey(classKey, description) &&
        WriteKey(classKey + L"\\InprocServer32", modulePath, L"ThreadingModel", L"Apartment") &&
        WriteKey(classKey + L"\\ProgID", progId) && WriteKey(classKey + L"\\TypeLib", libId) &&
        WriteKey(progId, description) && WriteKey(progId + L"\\CLSID", Widen(served.classId)) &&
        WriteInterface(served.interfaceId, served.interfaceName, libId, version) &&
        WriteInterface(served.eventInterfaceId, served.eventInterfaceName, libId, version) &&
        (!served.visualControl || WriteControlKeys(served, classKey, modulePath, version));
    if (!ok) {
        UnregisterComServer(served);
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT UnregisterComServer(const ComponentClass& served) {
    const std::wstring libId = Widen(served.typeLibId);
    UnRegisterTypeLib(GuidFromText(served.typeLibId), served.typeLibMajor, served.typeLibMinor,
                      LANG_NEUTRAL, SYS_WIN64);
    DeleteInterface(served.interfaceId, libId);
    DeleteInterface(served.eventInterfaceId, libId);
    const std::wstring progId = Widen(served.progId);
    if (SameText(ReadDefault(progId + L"\\CLSID"), Widen(served.classId))) {
        DeleteTree(progId);
    }
    DeleteTree(L"CLSID\\" + Widen(served.classId));
    return S_OK;
}

}  // namespace arn::win32
