#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/Dispatch.h"

namespace arn {

// A collection of objects as automation exposes one: "Count", "Item"(i) counted from 1, and
// For Each over Elements(). A toolbar's "Buttons" or a tab strip's "Tabs" are such objects.
class DispatchCollection : public Dispatch {
  public:
    static std::shared_ptr<DispatchCollection> Create(
        std::vector<std::shared_ptr<Dispatch>> items = {});

    std::string TypeName() const override { return "Collection"; }

    int32_t get_Count() const { return static_cast<int32_t>(m_items.size()); }
    // 1-based; outside 1..Count raises 9 "Subscript out of range".
    std::shared_ptr<Dispatch> Item(int32_t position) const;

    std::vector<std::shared_ptr<Dispatch>> Elements() const override { return m_items; }

  protected:
    const MemberTable& Members() const override;

  private:
    explicit DispatchCollection(std::vector<std::shared_ptr<Dispatch>> items)
        : m_items(std::move(items)) {}

    std::vector<std::shared_ptr<Dispatch>> m_items;
};

}  // namespace arn
