#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Variant.h"

namespace arn {

// Properties defined at run time rather than declared per kind: plain ones holding one value
// and indexed ones holding a row of values (0-based). Names match without regard to case.
// Lets tests build objects of any type with any properties.
class PropertyBag {
  public:
    // Defines or redefines a property.
    void Define(std::string name, Variant value);
    void DefineIndexed(std::string name, std::vector<Variant> values);
    void Remove(std::string_view name);
    bool Has(std::string_view name) const;

    // false when the name is not defined here. Using a plain property with an index, or the
    // reverse, raises 450; an index outside the row raises 381. source names the owner.
    bool TryGet(std::string_view source, std::string_view name, Variant& out) const;
    bool TrySet(std::string_view source, std::string_view name, const Variant& value);
    bool TryGet(std::string_view source, std::string_view name, int32_t index, Variant& out) const;
    bool TrySet(std::string_view source, std::string_view name, int32_t index,
                const Variant& value);

  private:
    struct Slot {
        std::string name;
        bool indexed = false;
        Variant value;
        std::vector<Variant> values;
    };
    const Slot* Find(std::string_view name) const;
    Slot* Find(std::string_view name);
    static size_t Position(std::string_view source, const Slot& slot, int32_t index);

    std::vector<Slot> m_slots;
};

}  // namespace arn
