#include "app/win/PanelEvents.h"

namespace arn::winhost {

HRESULT PanelEvents::Advise(IUnknown* control, REFIID events) {
    Unadvise();
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = control->QueryInterface(IID_IConnectionPointContainer,
                                         reinterpret_cast<void**>(&container));
    if (FAILED(hr)) {
        return hr;
    }
    hr = container->FindConnectionPoint(events, &m_point);
    container->Release();
    if (SUCCEEDED(hr)) {
        hr = m_point->Advise(this, &m_cookie);
    }
    if (FAILED(hr) && m_point != nullptr) {
        m_point->Release();
        m_point = nullptr;
    }
    return hr;
}

void PanelEvents::Unadvise() {
    if (m_point != nullptr) {
        m_point->Unadvise(m_cookie);
        m_point->Release();
        m_point = nullptr;
    }
}

HRESULT PanelEvents::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *ppv = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT PanelEvents::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT PanelEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                            UINT*) {
    m_handler(id);
    return S_OK;
}

}  // namespace arn::winhost
