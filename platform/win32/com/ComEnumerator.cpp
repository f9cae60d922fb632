#include "platform/win32/com/ComEnumerator.h"

#include <algorithm>
#include <new>
#include <utility>

namespace arn::win32 {

namespace {

// What each kind of item is, for the enumerator's references and its QueryInterface.
void HoldItem(IConnectionPoint* point) {
    point->AddRef();
}
void HoldItem(const CONNECTDATA& connection) {
    connection.pUnk->AddRef();
}
void DropItem(IConnectionPoint* point) {
    point->Release();
}
void DropItem(const CONNECTDATA& connection) {
    connection.pUnk->Release();
}
const IID& InterfaceIdOf(IEnumConnectionPoints*) {
    return IID_IEnumConnectionPoints;
}
const IID& InterfaceIdOf(IEnumConnections*) {
    return IID_IEnumConnections;
}

}  // namespace

template <class Interface, class Item>
ComEnumerator<Interface, Item>::Snapshot::Snapshot(const Item* first, size_t count)
    : items(first, first + count) {
    for (const Item& item : items) {
        HoldItem(item);
    }
}

template <class Interface, class Item>
ComEnumerator<Interface, Item>::Snapshot::~Snapshot() {
    for (const Item& item : items) {
        DropItem(item);
    }
}

template <class Interface, class Item>
HRESULT ComEnumerator<Interface, Item>::Create(const Item* items, size_t count, Interface** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    try {
        *out = new ComEnumerator(std::make_shared<const Snapshot>(items, count), 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

template <class Interface, class Item>
ComEnumerator<Interface, Item>::ComEnumerator(std::shared_ptr<const Snapshot> snapshot,
                                              size_t position)
    : ComCounted<Interface>(InterfaceIdOf(static_cast<Interface*>(nullptr))),
      m_snapshot(std::move(snapshot)),
      m_position(position) {}

template <class Interface, class Item>
HRESULT ComEnumerator<Interface, Item>::Next(ULONG celt, Item* rgelt, ULONG* pceltFetched) {
    if (pceltFetched != nullptr) {
        *pceltFetched = 0;
    }
    if (rgelt == nullptr || (pceltFetched == nullptr && celt != 1)) {
        return E_POINTER;
    }
    const std::vector<Item>& items = m_snapshot->items;
    const size_t count = std::min<size_t>(celt, items.size() - m_position);
    for (size_t i = 0; i < count; ++i) {
        rgelt[i] = items[m_position + i];
        HoldItem(rgelt[i]);  // the caller's reference
    }
    m_position += count;
    if (pceltFetched != nullptr) {
        *pceltFetched = static_cast<ULONG>(count);
    }
    return count == celt ? S_OK : S_FALSE;
}

template <class Interface, class Item>
HRESULT ComEnumerator<Interface, Item>::Skip(ULONG celt) {
    const size_t left = m_snapshot->items.size() - m_position;
    const size_t count = std::min<size_t>(celt, left);
    m_position += count;
    return count == celt ? S_OK : S_FALSE;
}

template <class Interface, class Item>
HRESULT ComEnumerator<Interface, Item>::Reset() {
    m_position = 0;
    return S_OK;
}

template <class Interface, class Item>
HRESULT ComEnumerator<Interface, Item>::Clone(Interface** ppEnum) {
    if (ppEnum == nullptr) {
        return E_POINTER;
    }
    *ppEnum = nullptr;
    try {
        *ppEnum = new ComEnumerator(m_snapshot, m_position);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

template class ComEnumerator<IEnumConnectionPoints, IConnectionPoint*>;
template class ComEnumerator<IEnumConnections, CONNECTDATA>;

}  // namespace arn::win32
