#include "fakes/GenericControl.h"

#include <algorithm>

namespace arn {

std::shared_ptr<GenericControl> GenericControl::Create(std::string typeName, std::string name,
                                                       int16_t index) {
    return std::shared_ptr<GenericControl>(
        new GenericControl(std::move(typeName), std::move(name), index));
}

GenericControl& GenericControl::Define(std::string name, Variant value) {
    std::erase_if(m_withheld, [&](const std::string& w) { return NamesEqual(w, name); });
    m_bag.Define(std::move(name), std::move(value));
    return *this;
}

GenericControl& GenericControl::DefineIndexed(std::string name, std::vector<Variant> values) {
    std::erase_if(m_withheld, [&](const std::string& w) { return NamesEqual(w, name); });
    m_bag.DefineIndexed(std::move(name), std::move(values));
    return *this;
}

GenericControl& GenericControl::Withhold(std::string name) {
    m_bag.Remove(name);
    m_withheld.push_back(std::move(name));
    return *this;
}

bool GenericControl::Withheld(std::string_view name) const {
    return std::any_of(m_withheld.begin(), m_withheld.end(),
                       [name](const std::string& w) { return NamesEqual(w, name); });
}

Variant* GenericControl::Find(std::string_view name, std::optional<int32_t> index) const {
    if (Withheld(name)) {
        RaiseNoSuchProperty(name);
    }
    return m_bag.Find(TypeName(), name, index);
}

bool GenericControl::Store(std::string_view name, std::optional<int32_t> index,
                           const Variant& value) {
    Variant* stored = Find(name, index);
    if (stored == nullptr) {
        return false;
    }
    if (*stored != value) {
        *stored = value;
        Changed(name);
    }
    return true;
}

Variant GenericControl::GetProperty(std::string_view name) const {
    const Variant* stored = Find(name, {});
    return stored != nullptr ? *stored : Control::GetProperty(name);
}

void GenericControl::SetProperty(std::string_view name, const Variant& value) {
    if (!Store(name, {}, value)) {
        Control::SetProperty(name, value);
    }
}

Variant GenericControl::GetProperty(std::string_view name, int32_t index) const {
    const Variant* stored = Find(name, index);
    return stored != nullptr ? *stored : Control::GetProperty(name, index);
}

void GenericControl::SetProperty(std::string_view name, int32_t index, const Variant& value) {
    if (!Store(name, index, value)) {
        Control::SetProperty(name, index, value);
    }
}

bool GenericControl::HasProperty(std::string_view name) const {
    return !Withheld(name) && (m_bag.Has(name) || Control::HasProperty(name));
}

}  // namespace arn
