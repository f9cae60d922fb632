#include "app/win/OleSite.h"

#include <olectl.h>

namespace arn::winhost {

namespace {

template <class T>
void ReleaseInto(T*& pointer) {
    if (pointer != nullptr) {
        pointer->Release();
        pointer = nullptr;
    }
}

}  // namespace

OleSite::OleSite(HWND window, std::wstring displayName)
    : m_window(window), m_displayName(std::move(displayName)) {}

OleSite::~OleSite() = default;

HRESULT OleSite::Embed(const wchar_t* progId) {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) {
        return hr;
    }
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                          reinterpret_cast<void**>(&m_object));
    if (FAILED(hr)) {
        return hr;
    }
    // A control that wants its site before its state gets it first; either way it starts from
    // a new, empty state.
    DWORD status = 0;
    m_object->GetMiscStatus(DVASPECT_CONTENT, &status);
    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) {
        hr = m_object->SetClientSite(this);
    }
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(hr) && SUCCEEDED(m_object->QueryInterface(IID_IPersistStreamInit,
                                                            reinterpret_cast<void**>(&persist)))) {
        hr = persist->InitNew();
        persist->Release();
    }
    if (SUCCEEDED(hr) && !siteFirst) {
        hr = m_object->SetClientSite(this);
    }
    if (SUCCEEDED(hr)) {
        m_object->SetHostNames(L"arn_win", m_displayName.c_str());
        RECT rect = ClientRect();
        hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_window, &rect);
    }
    if (SUCCEEDED(hr) && m_inPlace == nullptr) {
        m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlace));
    }
    if (FAILED(hr)) {
        Unembed();
    }
    return hr;
}

void OleSite::Unembed() {
    if (m_object == nullptr) {
        return;
    }
    if (m_inPlace != nullptr) {
        m_inPlace->InPlaceDeactivate();  // hands m_inPlace back through OnInPlaceDeactivate
    }
    ReleaseInto(m_inPlace);
    ReleaseInto(m_active);
    m_object->Close(OLECLOSE_NOSAVE);
    m_object->SetClientSite(nullptr);
    ReleaseInto(m_object);
}

void OleSite::Resize() {
    if (m_inPlace != nullptr) {
        const RECT rect = ClientRect();
        m_inPlace->SetObjectRects(&rect, &rect);
    }
}

bool OleSite::TranslateAccelerator(MSG* msg) {
    if (m_active == nullptr || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) {
        return false;
    }
    return m_active->TranslateAccelerator(msg) == S_OK;
}

HWND OleSite::ControlWindow() const {
    HWND window = nullptr;
    if (m_inPlace != nullptr) {
        m_inPlace->GetWindow(&window);
    }
    return window;
}

RECT OleSite::ClientRect() const {
    RECT rect{};
    GetClientRect(m_window, &rect);
    return rect;
}

HRESULT OleSite::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
        *ppv = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
        *ppv = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) ||
               IsEqualIID(riid, IID_IOleInPlaceFrame)) {
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    } else if (IsEqualIID(riid, IID_IDispatch)) {
        *ppv = static_cast<IDispatch*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG OleSite::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG OleSite::Release() {
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT OleSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT OleSite::GetContainer(IOleContainer** container) {
    if (container != nullptr) {
        *container = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT OleSite::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = m_window;
    return S_OK;
}

HRESULT OleSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
        info == nullptr) {
        return E_POINTER;
    }
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    *position = ClientRect();
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = m_window;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    // The control is active in place from here: keep its in-place face for sizing.
    if (m_inPlace == nullptr && m_object != nullptr) {
        m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlace));
    }
    return S_OK;
}

HRESULT OleSite::OnInPlaceDeactivate() {
    ReleaseInto(m_inPlace);
    return S_OK;
}

HRESULT OleSite::OnPosRectChange(LPCRECT position) {
    if (position == nullptr) {
        return E_POINTER;
    }
    if (m_inPlace != nullptr) {
        m_inPlace->SetObjectRects(position, position);
    }
    return S_OK;
}

HRESULT OleSite::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    if (active != nullptr) {
        active->AddRef();
    }
    ReleaseInto(m_active);
    m_active = active;
    return S_OK;
}

HRESULT OleSite::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT OleSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                        EXCEPINFO*, UINT*) {
    if ((flags & DISPATCH_PROPERTYGET) == 0 || result == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    VariantInit(result);
    switch (id) {
        case DISPID_AMBIENT_DISPLAYNAME:
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(m_displayName.c_str());
            return S_OK;
        case DISPID_AMBIENT_USERMODE:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace arn::winhost
