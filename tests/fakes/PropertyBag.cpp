#include "fakes/PropertyBag.h"
#include "core/ErrorCatalogue.h"

#include <algorithm>
#include <utility>

#include "core/Dispatch.h"

namespace arn {

namespace {

[[noreturn]] void WrongArguments(std::string_view source, std::string_view name) {
    throw MakeError(err::WrongArguments, std::string(source), name);
}

}  // namespace

const PropertyBag::Slot* PropertyBag::Find(std::string_view name) const {
    for (const auto& slot : m_slots) {
        if (NamesEqual(slot.name, name)) {
            return &slot;
        }
    }
    return nullptr;
}

PropertyBag::Slot* PropertyBag::Find(std::string_view name) {
    return const_cast<Slot*>(std::as_const(*this).Find(name));
}

void PropertyBag::Define(std::string name, Variant value) {
    Remove(name);
    m_slots.push_back(Slot{std::move(name), false, std::move(value), {}});
}

void PropertyBag::DefineIndexed(std::string name, std::vector<Variant> values) {
    Remove(name);
    m_slots.push_back(Slot{std::move(name), true, {}, std::move(values)});
}

void PropertyBag::Remove(std::string_view name) {
    std::erase_if(m_slots, [name](const Slot& s) { return NamesEqual(s.name, name); });
}

bool PropertyBag::Has(std::string_view name) const {
    return Find(name) != nullptr;
}

size_t PropertyBag::Position(std::string_view source, const Slot& slot, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= slot.values.size()) {
        throw MakeError(err::InvalidPropertyIndex, std::string(source),
                        slot.name + "(" + std::to_string(index) + ")");
    }
    return static_cast<size_t>(index);
}

bool PropertyBag::TryGet(std::string_view source, std::string_view name, Variant& out) const {
    const Slot* slot = Find(name);
    if (slot == nullptr) {
        return false;
    }
    if (slot->indexed) {
        WrongArguments(source, name);
    }
    out = slot->value;
    return true;
}

bool PropertyBag::TrySet(std::string_view source, std::string_view name, const Variant& value) {
    Slot* slot = Find(name);
    if (slot == nullptr) {
        return false;
    }
    if (slot->indexed) {
        WrongArguments(source, name);
    }
    slot->value = value;
    return true;
}

bool PropertyBag::TryGet(std::string_view source, std::string_view name, int32_t index,
                         Variant& out) const {
    const Slot* slot = Find(name);
    if (slot == nullptr) {
        return false;
    }
    if (!slot->indexed) {
        WrongArguments(source, name);
    }
    out = slot->values[Position(source, *slot, index)];
    return true;
}

bool PropertyBag::TrySet(std::string_view source, std::string_view name, int32_t index,
                         const Variant& value) {
    Slot* slot = Find(name);
    if (slot == nullptr) {
        return false;
    }
    if (!slot->indexed) {
        WrongArguments(source, name);
    }
    slot->values[Position(source, *slot, index)] = value;
    return true;
}

}  // namespace arn
