#include "fakes/PropertyBag.h"

#include <algorithm>

#include "core/Dispatch.h"
#include "core/ErrorCatalogue.h"

namespace arn {

void PropertyBag::Put(std::string name, bool indexed, std::vector<Variant> values) {
    Remove(name);
    m_entries.push_back(Entry{std::move(name), indexed, std::move(values)});
}

void PropertyBag::Remove(std::string_view name) {
    std::erase_if(m_entries, [name](const Entry& e) { return NamesEqual(e.name, name); });
}

bool PropertyBag::Has(std::string_view name) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [name](const Entry& e) { return NamesEqual(e.name, name); });
}

Variant* PropertyBag::Find(std::string_view source, std::string_view name,
                           std::optional<int32_t> index) const {
    for (Entry& e : m_entries) {
        if (!NamesEqual(e.name, name)) {
            continue;
        }
        if (e.indexed != index.has_value()) {
            throw MakeError(err::WrongArguments, std::string(source), name);
        }
        const int32_t at = index.value_or(0);
        if (at < 0 || static_cast<size_t>(at) >= e.values.size()) {
            throw MakeError(err::InvalidPropertyIndex, std::string(source),
                            e.name + "(" + std::to_string(at) + ")");
        }
        return &e.values[static_cast<size_t>(at)];
    }
    return nullptr;
}

}  // namespace arn
