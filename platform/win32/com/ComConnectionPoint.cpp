#include "platform/win32/com/ComConnectionPoint.h"

#include <new>

#include "platform/win32/com/ComEnumerator.h"

namespace arn::win32 {

ComConnectionPoint::ComConnectionPoint(IConnectionPointContainer* container, const IID& eventIid)
    : m_container(container), m_eventIid(eventIid) {}

ComConnectionPoint::~ComConnectionPoint() {
    for (auto& [cookie, sink] : m_sinks) {
        sink->Release();
    }
}

void ComConnectionPoint::Fire(DISPID dispId) {
    std::vector<IDispatch*> sinks;
    for (auto& [cookie, sink] : m_sinks) {
        sink->AddRef();
        sinks.push_back(sink);
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    for (IDispatch* sink : sinks) {
        sink->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                     nullptr, nullptr);
        sink->Release();
    }
}

HRESULT ComConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG ComConnectionPoint::AddRef() {
    return m_container->AddRef();
}

ULONG ComConnectionPoint::Release() {
    return m_container->Release();
}

HRESULT ComConnectionPoint::GetConnectionInterface(IID* pIID) {
    if (pIID == nullptr) {
        return E_POINTER;
    }
    *pIID = m_eventIid;
    return S_OK;
}

HRESULT ComConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
    if (ppCPC == nullptr) {
        return E_POINTER;
    }
    m_container->AddRef();
    *ppCPC = m_container;
    return S_OK;
}

HRESULT ComConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
    if (pdwCookie == nullptr) {
        return E_POINTER;
    }
    *pdwCookie = 0;
    if (pUnkSink == nullptr) {
        return E_POINTER;
    }
    IDispatch* sink = nullptr;
    if (FAILED(pUnkSink->QueryInterface(m_eventIid, reinterpret_cast<void**>(&sink))) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink)))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    const DWORD cookie = m_nextCookie++;
    m_sinks[cookie] = sink;
    *pdwCookie = cookie;
    return S_OK;
}

HRESULT ComConnectionPoint::Unadvise(DWORD dwCookie) {
    auto found = m_sinks.find(dwCookie);
    if (found == m_sinks.end()) {
        return CONNECT_E_NOCONNECTION;
    }
    IDispatch* sink = found->second;
    m_sinks.erase(found);
    sink->Release();
    return S_OK;
}

HRESULT ComConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
    if (ppEnum == nullptr) {
        return E_POINTER;
    }
    *ppEnum = nullptr;
    std::vector<CONNECTDATA> connections;
    try {
        connections.reserve(m_sinks.size());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (const auto& [cookie, sink] : m_sinks) {
        connections.push_back(CONNECTDATA{sink, cookie});  // reserved: cannot throw
    }
    return ComConnectionEnumerator::Create(connections.data(), connections.size(), ppEnum);
}

}  // namespace arn::win32
