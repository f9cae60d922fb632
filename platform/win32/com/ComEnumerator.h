#pragma once

#include <windows.h>

#include <ocidl.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/win32/com/ComCounted.h"

namespace arn::win32 {

// An enumerator over a snapshot of items taken at creation: a container's connection points
// or a connection point's connections. The snapshot holds a reference to each item (the
// connection point, or the sink of a connection) until the last of the enumerator and its
// clones is released, so what it lists stays valid even after an Unadvise. Each item that Next
// hands out carries a reference of its own for the caller to release (the IConnectionPoint, or
// CONNECTDATA's pUnk).
//
// Created with one reference; counts in ComModule from creation to the last Release, since a
// client may hold it. Lives in the creating apartment.
//
// Next(celt, items, fetched) copies up to celt items from the position and moves past them:
// S_OK when it copied celt, S_FALSE when the end came first (*fetched tells how many); fetched
// may be nullptr only when celt is 1 (E_POINTER otherwise). Skip moves on by celt (S_FALSE when
// fewer were left), Reset goes back to the start, Clone makes an enumerator of the same
// snapshot at the same position.
template <class Interface, class Item>
class ComEnumerator final : public ComCounted<Interface> {
  public:
    // An enumerator of the count items from items, in their order, into *out; E_POINTER for no
    // out, E_OUTOFMEMORY when it cannot be made (*out is nullptr then). Never throws, so that
    // an interface method can return what it returns.
    static HRESULT Create(const Item* items, size_t count, Interface** out);

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, Item* rgelt, ULONG* pceltFetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(Interface** ppEnum) override;

  private:
    // The items with the references the enumerators hold, released with the last of them.
    struct Snapshot {
        Snapshot(const Item* first, size_t count);
        ~Snapshot();
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;
        std::vector<Item> items;
    };

    ComEnumerator(std::shared_ptr<const Snapshot> snapshot, size_t position);
    ~ComEnumerator() override = default;

    std::shared_ptr<const Snapshot> m_snapshot;
    size_t m_position;
};

// A container's connection points.
using ComConnectionPointEnumerator = ComEnumerator<IEnumConnectionPoints, IConnectionPoint*>;
// A connection point's connections: each sink with its cookie.
using ComConnectionEnumerator = ComEnumerator<IEnumConnections, CONNECTDATA>;

extern template class ComEnumerator<IEnumConnectionPoints, IConnectionPoint*>;
extern template class ComEnumerator<IEnumConnections, CONNECTDATA>;

}  // namespace arn::win32
