#pragma once

#include <cstdint>
#include <optional>
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
    void Define(std::string name, Variant value) {
        Put(std::move(name), false, {std::move(value)});
    }
    void DefineIndexed(std::string name, std::vector<Variant> values) {
        Put(std::move(name), true, std::move(values));
    }
    void Remove(std::string_view name);
    bool Has(std::string_view name) const;

    // The stored value of `name`, at `index` for an indexed one; nullptr when the name is not
    // defined here. Using a plain property with an index, or the reverse, raises 450; an index
    // outside the row raises 381. source names the owner.
    Variant* Find(std::string_view source, std::string_view name,
                  std::optional<int32_t> index) const;

  private:
    struct Entry {
        std::string name;
        bool indexed = false;
        std::vector<Variant> values;  // one for a plain property
    };
    void Put(std::string name, bool indexed, std::vector<Variant> values);

    // Find hands out writable values to owners whose getters are const.
    mutable std::vector<Entry> m_entries;
};

}  // namespace arn
