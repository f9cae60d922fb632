#pragma once

// What the clients of the component from outside share: its ids, its registration with regsvr32
// in the test's Wine prefix, late-bound calls, pictures and the accessibility tree.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>
#include <olectl.h>
#include <process.h>
#include <wrl/client.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "component/win32/ComUIuserControl.h"
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
    *wcsrchr(exe, L'\\') = 0;
    *wcsrchr(exe, L'\\') = 0;
    return std::wstring(exe) + L"\\ArnAbsPosn.dll";
}

// regsvr32's exit code for the component with option opt ("" to register, "/u" to remove).
inline intptr_t Regsvr32(const wchar_t* opt) {
    const std::wstring dll = L"\"" + DllPath() + L"\"";
    return _wspawnlp(_P_WAIT, L"regsvr32.exe", L"regsvr32.exe", L"/s", opt, dll.c_str(), nullptr);
}

inline bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) == 0 &&
           RegCloseKey(key) == 0;
}

inline HRESULT PutProperty(IDispatch* object, DISPID id, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                      &params, nullptr, nullptr, nullptr);
    VariantClear(&value);
    return hr;
}

inline HRESULT GetProperty(IDispatch* object, DISPID id, VARIANT* result) {
    VariantInit(result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, result,
                          nullptr, nullptr);
}

// VARIANTs of one kind (ChildId: any VT_I4); the callee of PutProperty clears them.
inline VARIANT Text(const wchar_t* text) {
    VARIANT v{};
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}
inline VARIANT ChildId(LONG id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}
inline VARIANT Bool(bool b) {
    VARIANT v{};
    v.vt = VT_BOOL;
    v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

// Whether a and b are one object: COM's identity is the IUnknown each answers.
inline bool SameObject(IUnknown* a, IUnknown* b) {
    Microsoft::WRL::ComPtr<IUnknown> x, y;
    return a->QueryInterface(IID_PPV_ARGS(&x)) == S_OK &&
           b->QueryInterface(IID_PPV_ARGS(&y)) == S_OK && x == y;
}

// Connects sink to the panel's events; point receives the connection point, for Unadvise.
inline DWORD Advise(IUnknown* panel, IDispatch* sink, IConnectionPoint** point) {
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(panel->QueryInterface(IID_PPV_ARGS(&container)), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(Guid(kEventInterfaceId), point), S_OK);
    DWORD cookie = 0;
    EXPECT_EQ((*point)->Advise(sink, &cookie), S_OK);
    return cookie;
}

inline DISPID IdOfName(IDispatch* object, const wchar_t* name) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return SUCCEEDED(hr) ? id : DISPID_UNKNOWN;
}

// The component's DllCanUnloadNow; S_OK when it is not loaded at all.
inline HRESULT ServerCanUnloadNow() {
    HMODULE module = GetModuleHandleW(L"ArnAbsPosn.dll");
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return module == nullptr ? S_OK : canUnload != nullptr ? canUnload() : E_FAIL;
}

// The panel's UIuserControl side, which UIref returns; the caller releases it.
inline win32::UIuserControlInterface* FrameworkOf(IDispatch* panel) {
    VARIANT ref;
    void* framework = nullptr;
    EXPECT_EQ(GetProperty(panel, kUIref, &ref), S_OK);
    EXPECT_EQ(ref.pdispVal->QueryInterface(win32::UIuserControlIid(), &framework), S_OK);
    VariantClear(&ref);
    return static_cast<win32::UIuserControlInterface*>(framework);
}

// Attaches the panel to a host's net and node (either may be none) through UIref.
inline HRESULT Attach(IDispatch* panel, IDispatch* net, IDispatch* node) {
    win32::UIuserControlInterface* framework = FrameworkOf(panel);
    BSTR name = SysAllocString(L"ArnAbsPosn"), section = SysAllocString(L"Node0");
    const HRESULT hr = framework->AttachControl(net, node, nullptr, name, section);
    SysFreeString(name);
    SysFreeString(section);
    framework->Release();
    return hr;
}

inline IDispatch* Present(std::shared_ptr<AutomationObject> face) {
    IDispatch* object = nullptr;
    EXPECT_EQ(win32::PresentObject(std::move(face), &object), S_OK);
    return object;
}

// A 32-bit picture with no window: what is drawn into Dc(), or a window's client area as it
// shows (its first kWindowSide pixels a side). Pixels read back as colours (&HBBGGRR).
class Pixels {
  public:
    Pixels(int width, int height) : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;  // the bitmap's memory, freed with it
        m_old = SelectObject(m_dc, CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, 0, 0));
    }
    static constexpr int kWindowSide = 1024;
    explicit Pixels(HWND window) : Pixels(kWindowSide, kWindowSide) {
        HDC dc = GetDC(window);
        EXPECT_TRUE(BitBlt(m_dc, 0, 0, kWindowSide, kWindowSide, dc, 0, 0, SRCCOPY));
        ReleaseDC(window, dc);
    }
    ~Pixels() {
        DeleteObject(SelectObject(m_dc, m_old));
        DeleteDC(m_dc);
    }
    Pixels(const Pixels&) = delete;
    HDC Dc() const { return m_dc; }
    COLORREF Bgr(POINT p) const { return GetPixel(m_dc, p.x, p.y); }
    // The share of the rectangle's pixels that show exactly bgr.
    double Share(const RECT& r, COLORREF bgr) const {
        int hits = 0;
        for (LONG y = r.top; y < r.bottom; ++y) {
            for (LONG x = r.left; x < r.right; ++x) {
                hits += Bgr({x, y}) == bgr ? 1 : 0;
            }
        }
        return hits / std::max(1.0, static_cast<double>((r.right - r.left) * (r.bottom - r.top)));
    }

  private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// A text (name, description, default action) of an accessible child, "<none>" when it has none.
inline std::wstring AccText(IAccessible* accessible,
                            HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                            LONG child) {
    BSTR text = nullptr;
    const HRESULT hr = (accessible->*get)(ChildId(child), &text);
    std::wstring result = hr == S_OK && text != nullptr ? std::wstring(text) : L"<none>";
    SysFreeString(text);
    return result;
}

// The child whose description starts with the control's name in code, 0 when there is none.
inline LONG FindControl(IAccessible* accessible, const std::wstring& controlName) {
    long count = 0;
    accessible->get_accChildCount(&count);
    for (LONG id = 1; id <= count; ++id) {
        const std::wstring description = AccText(accessible, &IAccessible::get_accDescription, id);
        if (description == controlName || description.rfind(controlName + L":", 0) == 0) {
            return id;
        }
    }
    return 0;
}

// Each test registers the component with regsvr32 and removes it again, leaving none of its keys.
class ComClient : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Regsvr32(L""), 0);
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    }
    void TearDown() override {
        CoUninitialize();
        EXPECT_EQ(Regsvr32(L"/u"), 0);
        for (const std::wstring& key : {L"CLSID\\" + std::wstring(kClassId), std::wstring(kProgId),
                                        L"Interface\\" + std::wstring(kInterfaceId),
                                        L"Interface\\" + std::wstring(kEventInterfaceId),
                                        L"TypeLib\\" + std::wstring(kTypeLibId)}) {
            EXPECT_FALSE(KeyExists(key)) << key;
        }
    }

    IDispatch* Create() {
        IDispatch* object = nullptr;
        EXPECT_EQ(
            CoCreateInstance(Guid(kClassId), nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)),
            S_OK);
        return object;
    }
};

}  // namespace arn::comtest
