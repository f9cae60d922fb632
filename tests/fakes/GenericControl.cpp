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

void GenericControl::CheckNotWithheld(std::string_view name) const {
    if (std::any_of(m_withheld.begin(), m_withheld.end(),
                    [name](const std::string& w) { return NamesEqual(w, name); })) {
        RaiseNoSuchProperty(name);
    }
}

Variant GenericControl::GetProperty(std::string_view name) const {
    CheckNotWithheld(name);
    Variant out;
    if (m_bag.TryGet(TypeName(), name, out)) {
        return out;
    }
    return Control::GetProperty(name);
}

void GenericControl::SetProperty(std::string_view name, const Variant& value) {
    CheckNotWithheld(name);
    Variant old;
    if (m_bag.TryGet(TypeName(), name, old)) {
        m_bag.TrySet(TypeName(), name, value);
        if (old != value) {
            Changed(name);
        }
        return;
    }
    Control::SetProperty(name, value);
}

Variant GenericControl::GetProperty(std::string_view name, int32_t index) const {
    CheckNotWithheld(name);
    Variant out;
    if (m_bag.TryGet(TypeName(), name, index, out)) {
        return out;
    }
    return Control::GetProperty(name, index);
}

void GenericControl::SetProperty(std::string_view name, int32_t index, const Variant& value) {
    CheckNotWithheld(name);
    Variant old;
    if (m_bag.TryGet(TypeName(), name, index, old)) {
        m_bag.TrySet(TypeName(), name, index, value);
        if (old != value) {
            Changed(name);
        }
        return;
    }
    Control::SetProperty(name, index, value);
}

bool GenericControl::HasProperty(std::string_view name) const {
    if (std::any_of(m_withheld.begin(), m_withheld.end(),
                    [name](const std::string& w) { return NamesEqual(w, name); })) {
        return false;
    }
    return m_bag.Has(name) || Control::HasProperty(name);
}

}  // namespace arn
