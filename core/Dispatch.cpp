#include "core/Dispatch.h"
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names are ASCII; folding without the locale keeps by-name lookups, made for every
// property a binding touches, free of a library call per character.
constexpr char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

int16_t VariantToInteger(const Variant& v) {
    int32_t value = VariantToLong(v);
    if (value < INT16_MIN || value > INT16_MAX) {
        throw MakeError(err::Overflow, "Variant");
    }
    return static_cast<int16_t>(value);
}

PropertyTable::PropertyTable(std::initializer_list<PropertyEntry> entries) {
    for (const auto& e : entries) {
        Put(e);
    }
}

PropertyTable::PropertyTable(const PropertyTable& base,
                             std::initializer_list<PropertyEntry> entries)
    : m_entries(base.m_entries) {
    for (const auto& e : entries) {
        Put(e);
    }
}

void PropertyTable::Put(PropertyEntry entry) {
    for (auto& existing : m_entries) {
        if (NamesEqual(existing.name, entry.name)) {
            existing = std::move(entry);
            return;
        }
    }
    m_entries.push_back(std::move(entry));
}

const PropertyEntry* PropertyTable::Find(std::string_view name) const {
    for (const auto& e : m_entries) {
        if (NamesEqual(e.name, name)) {
            return &e;
        }
    }
    return nullptr;
}

std::vector<std::string> PropertyTable::Names() const {
    std::vector<std::string> names;
    names.reserve(m_entries.size());
    for (const auto& e : m_entries) {
        names.push_back(e.name);
    }
    return names;
}

PropertyTable PropertyTable::Without(std::initializer_list<std::string_view> names) const {
    PropertyTable copy;
    for (const auto& e : m_entries) {
        bool dropped = std::any_of(names.begin(), names.end(),
                                   [&](std::string_view n) { return NamesEqual(n, e.name); });
        if (!dropped) {
            copy.m_entries.push_back(e);
        }
    }
    return copy;
}

const PropertyTable& Dispatch::Properties() const {
    static const PropertyTable empty;
    return empty;
}

void Dispatch::RaiseNoSuchProperty(std::string_view name) const {
    throw MakeError(err::NoSuchMember, TypeName(), name);
}

void Dispatch::RaiseWrongArguments(std::string_view name) const {
    throw MakeError(err::WrongArguments, TypeName(), name);
}

Variant Dispatch::GetProperty(std::string_view name) const {
    const PropertyEntry* e = Properties().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->get) {
        if (e->getIndexed) {
            RaiseWrongArguments(name);
        }
        throw MakeError(err::WriteOnlyProperty, TypeName(), name);
    }
    return e->get(*this);
}

void Dispatch::SetProperty(std::string_view name, const Variant& value) {
    const PropertyEntry* e = Properties().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->set) {
        if (e->setIndexed) {
            RaiseWrongArguments(name);
        }
        throw MakeError(err::ReadOnlyProperty, TypeName(), name);
    }
    e->set(*this, value);
}

Variant Dispatch::GetProperty(std::string_view name, int32_t index) const {
    const PropertyEntry* e = Properties().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->getIndexed) {
        RaiseWrongArguments(name);
    }
    return e->getIndexed(*this, index);
}

void Dispatch::SetProperty(std::string_view name, int32_t index, const Variant& value) {
    const PropertyEntry* e = Properties().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->setIndexed) {
        RaiseWrongArguments(name);
    }
    e->setIndexed(*this, index, value);
}

bool Dispatch::HasProperty(std::string_view name) const {
    return Properties().Find(name) != nullptr;
}

std::vector<std::shared_ptr<Dispatch>> Dispatch::Elements() const {
    throw MakeError(err::NotACollection, TypeName());
}

}  // namespace arn
