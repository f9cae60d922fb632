#pragma once

// What the clients of the component from outside share: the component's ids, its registration
// with regsvr32 in the test's Wine prefix, and late-bound calls.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>
#include <olectl.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/com/ComTypeLibraries.h"
#include "platform/win32/com/ComVariant.h"
#include "sim/win32/SimTypeLibrary.h"

namespace arn::comtest {

inline constexpr const wchar_t* kClassId = L"{97D5A33E-9989-4B43-8E04-3A593F4590A5}";
inline constexpr const wchar_t* kInterfaceId = L"{13F4AFE4-ED9A-4FFB-8E97-D121B0B7621D}";
inline constexpr const wchar_t* kEventInterfaceId = L"{64ADED80-515F-4C80-B743-46754D807E87}";
inline constexpr const wchar_t* kTypeLibId = L"{7A6994E4-8CF9-48FC-A3B9-31247647B340}";
inline constexpr const wchar_t* kProgId = L"ArnAbsPosn.ArnAbsPosnCtl";
inline constexpr DISPID kEnabled = 0x68030000;
inline constexpr DISPID kDisplayMsg = 0x68030001;
inline constexpr DISPID kUIref = 0x68030002;
inline constexpr DISPID kShow = 0x68030003;
inline constexpr DISPID kMyForms = 0x68030007;
inline constexpr DISPID kShowTeachingDlg = 5;

inline GUID Guid(const wchar_t* text) {
    GUID guid{};
    CLSIDFromString(text, &guid);
    return guid;
}

// The component beside the tests' folder: <build>/ArnAbsPosn.dll.
inline std::wstring DllPath() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe);
    path.resize(path.find_last_of(L'\\'));
    path.resize(path.find_last_of(L'\\'));
    return path + L"\\ArnAbsPosn.dll";
}

inline DWORD Regsvr32(std::wstring_view options) {
    std::wstring command = L"regsvr32.exe /s ";
    command.append(options);
    command.append(L" \"").append(DllPath()).append(L"\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return static_cast<DWORD>(-1);
    }
    // Registration takes a second or two; one that stalls is a failure, not a wait forever.
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, static_cast<UINT>(-1));
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// The value name of HKEY_CLASSES_ROOT\path ("" for the default); "<missing>" when absent.
inline std::wstring ReadText(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return buffer;
}

inline bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

inline std::vector<std::wstring> RegisteredKeys() {
    return {
        std::wstring(L"CLSID\\") + kClassId, kProgId, std::wstring(L"Interface\\") + kInterfaceId,
        std::wstring(L"Interface\\") + kEventInterfaceId, std::wstring(L"TypeLib\\") + kTypeLibId};
}

inline HRESULT PutProperty(IDispatch* object, DISPID id, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                          nullptr, nullptr);
}

inline HRESULT GetProperty(IDispatch* object, DISPID id, VARIANT* result) {
    VariantInit(result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, result,
                          nullptr, nullptr);
}

inline VARIANT Bool(bool b) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

inline DISPID IdOfName(IDispatch* object, const wchar_t* name) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))
               ? id
               : DISPID_UNKNOWN;
}

inline HRESULT ServerCanUnloadNow() {
    HMODULE module = GetModuleHandleW(L"ArnAbsPosn.dll");
    if (module == nullptr) {
        return S_OK;  // not loaded at all
    }
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return canUnload != nullptr ? canUnload() : E_FAIL;
}

// A child id of an accessible object.
inline VARIANT ChildId(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The text a BSTR-returning member gives, "<none>" when it gives none.
template <class Get>
inline std::wstring TextOf(Get get) {
    BSTR text = nullptr;
    const HRESULT hr = get(&text);
    std::wstring result = hr == S_OK && text != nullptr ? std::wstring(text) : L"<none>";
    SysFreeString(text);
    return result;
}

inline LONG LongOf(IAccessible* accessible,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG child) {
    VARIANT result;
    VariantInit(&result);
    if ((accessible->*get)(ChildId(child), &result) != S_OK || result.vt != VT_I4) {
        return -1;
    }
    return result.lVal;
}

// The first child of accessible with that name and role, 0 when there is none.
inline LONG FindChild(IAccessible* accessible, const wchar_t* name, LONG role) {
    long count = 0;
    if (accessible->get_accChildCount(&count) != S_OK) {
        return 0;
    }
    for (LONG id = 1; id <= count; ++id) {
        if (TextOf([&](BSTR* t) { return accessible->get_accName(ChildId(id), t); }) == name &&
            LongOf(accessible, &IAccessible::get_accRole, id) == role) {
            return id;
        }
    }
    return 0;
}

// The child whose description starts with the control's name in code, 0 when there is none.
inline LONG FindControl(IAccessible* accessible, const std::wstring& controlName) {
    long count = 0;
    if (accessible->get_accChildCount(&count) != S_OK) {
        return 0;
    }
    for (LONG id = 1; id <= count; ++id) {
        const std::wstring description =
            TextOf([&](BSTR* t) { return accessible->get_accDescription(ChildId(id), t); });
        if (description == controlName || description.rfind(controlName + L":", 0) == 0) {
            return id;
        }
    }
    return 0;
}

// How many children of accessible are named by a resource placeholder (":<id>:<name>"), which
// the panel resolves when it binds a node.
inline int PlaceholderNames(IAccessible* accessible) {
    long count = 0;
    accessible->get_accChildCount(&count);
    int placeholders = 0;
    for (LONG id = 1; id <= count; ++id) {
        const std::wstring name =
            TextOf([&](BSTR* t) { return accessible->get_accName(ChildId(id), t); });
        placeholders += name.size() > 1 && name[0] == L':' ? 1 : 0;
    }
    return placeholders;
}

// This program's own type library (resource 1), which describes the simulated AppEvents class.
inline void AddSimulatedDriveTypes() {
    ASSERT_TRUE(win32::AddSimulatedDriveTypes());
}

inline IDispatch* Present(std::shared_ptr<AutomationObject> face) {
    IDispatch* object = nullptr;
    EXPECT_EQ(win32::PresentObject(std::move(face), &object), S_OK);
    return object;
}

// Each test registers the component with regsvr32 and removes it again; afterwards none of
// the keys may remain.
class ComClient : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Regsvr32(L""), 0u);
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    }
    void TearDown() override {
        CoUninitialize();
        EXPECT_EQ(Regsvr32(L"/u"), 0u);
        for (const auto& key : RegisteredKeys()) {
            EXPECT_FALSE(KeyExists(key)) << std::string(key.begin(), key.end());
        }
    }

    IDispatch* Create() {
        IDispatch* object = nullptr;
        EXPECT_EQ(CoCreateInstance(Guid(kClassId), nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&object)),
                  S_OK);
        return object;
    }
};

}  // namespace arn::comtest
