#pragma once

// What the clients of the component from outside share: the component's ids, its registration
// with regsvr32 in the test's Wine prefix, and late-bound calls.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>
#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "component/win32/ComUIuserControl.h"
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

inline VARIANT Text(const wchar_t* text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}

// Whether a and b are one object: COM's identity is the IUnknown each answers.
inline bool SameObject(IUnknown* a, IUnknown* b) {
    IUnknown* x = nullptr;
    IUnknown* y = nullptr;
    a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&x));
    b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&y));
    const bool same = x != nullptr && x == y;
    for (IUnknown* held : {x, y}) {
        if (held != nullptr) {
            held->Release();
        }
    }
    return same;
}

// Connects sink to the panel's events; point receives the connection point, for Unadvise.
inline DWORD Advise(IUnknown* panel, IDispatch* sink, IConnectionPoint** point) {
    IConnectionPointContainer* container = nullptr;
    EXPECT_EQ(
        panel->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)),
        S_OK);
    EXPECT_EQ(container->FindConnectionPoint(Guid(kEventInterfaceId), point), S_OK);
    container->Release();
    DWORD cookie = 0;
    EXPECT_EQ((*point)->Advise(sink, &cookie), S_OK);
    return cookie;
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

// The panel's UIuserControl side, which UIref returns; the caller releases it.
inline win32::UIuserControlInterface* FrameworkOf(IDispatch* panel) {
    VARIANT ref;
    EXPECT_EQ(GetProperty(panel, kUIref, &ref), S_OK);
    EXPECT_EQ(ref.vt, VT_DISPATCH);
    win32::UIuserControlInterface* framework = nullptr;
    EXPECT_EQ(ref.pdispVal->QueryInterface(win32::UIuserControlIid(),
                                           reinterpret_cast<void**>(&framework)),
              S_OK);
    VariantClear(&ref);
    return framework;
}

// Attaches the panel to a host's net and node (either may be none) through UIref.
inline HRESULT Attach(IDispatch* panel, IDispatch* net, IDispatch* node,
                      const wchar_t* regName = L"", const wchar_t* regSect = L"") {
    win32::UIuserControlInterface* framework = FrameworkOf(panel);
    BSTR name = SysAllocString(regName);
    BSTR section = SysAllocString(regSect);
    const HRESULT hr = framework->AttachControl(net, node, nullptr, name, section);
    SysFreeString(name);
    SysFreeString(section);
    framework->Release();
    return hr;
}

// A 32-bit picture with no window: what is drawn into Dc(), or a window's client area as it
// shows. Pixels read back as 0xRRGGBB, or as the panel writes colours (&HBBGGRR).
class Pixels {
  public:
    Pixels(int width, int height)
        : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    explicit Pixels(HWND window) : Pixels(ClientSize(window).right, ClientSize(window).bottom) {
        HDC dc = GetDC(window);
        EXPECT_TRUE(BitBlt(m_dc, 0, 0, m_width, m_height, dc, 0, 0, SRCCOPY));
        ReleaseDC(window, dc);
    }
    ~Pixels() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    HDC Dc() const { return m_dc; }
    uint32_t Rgb(LONG x, LONG y) const {
        GdiFlush();
        return static_cast<const uint32_t*>(m_bits)[y * m_width + x] & 0xFFFFFF;
    }
    uint32_t Rgb(POINT p) const { return Rgb(p.x, p.y); }
    int32_t Bgr(LONG x, LONG y) const { return static_cast<int32_t>(Swap(Rgb(x, y))); }
    // The share of the rectangle's pixels (within the picture) that show exactly rgb.
    double Share(const RECT& r, uint32_t rgb) const {
        int hits = 0;
        int all = 0;
        for (LONG y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, m_height); ++y) {
            for (LONG x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, m_width); ++x) {
                hits += Rgb(x, y) == rgb ? 1 : 0;
                ++all;
            }
        }
        return all == 0 ? 0.0 : static_cast<double>(hits) / all;
    }
    // 0xRRGGBB from &HBBGGRR and back.
    static uint32_t Swap(uint32_t c) {
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }

  private:
    static RECT ClientSize(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return client;
    }

    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
};

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
        for (const std::wstring& key : {std::wstring(L"CLSID\\") + kClassId, std::wstring(kProgId),
                                        std::wstring(L"Interface\\") + kInterfaceId,
                                        std::wstring(L"Interface\\") + kEventInterfaceId,
                                        std::wstring(L"TypeLib\\") + kTypeLibId}) {
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
