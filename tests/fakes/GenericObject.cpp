#include "fakes/GenericObject.h"

namespace arn {

std::shared_ptr<GenericObject> GenericObject::Create(std::string typeName) {
    return std::shared_ptr<GenericObject>(new GenericObject(std::move(typeName)));
}

GenericObject& GenericObject::Define(std::string name, Variant value) {
    m_bag.Define(std::move(name), std::move(value));
    return *this;
}

GenericObject& GenericObject::DefineIndexed(std::string name, std::vector<Variant> values) {
    m_bag.DefineIndexed(std::move(name), std::move(values));
    return *this;
}

Variant GenericObject::GetProperty(std::string_view name) const {
    Variant out;
    if (!m_bag.TryGet(m_typeName, name, out)) {
        RaiseNoSuchProperty(name);
    }
    return out;
}

void GenericObject::SetProperty(std::string_view name, const Variant& value) {
    if (!m_bag.TrySet(m_typeName, name, value)) {
        RaiseNoSuchProperty(name);
    }
}

Variant GenericObject::GetProperty(std::string_view name, int32_t index) const {
    Variant out;
    if (!m_bag.TryGet(m_typeName, name, index, out)) {
        RaiseNoSuchProperty(name);
    }
    return out;
}

void GenericObject::SetProperty(std::string_view name, int32_t index, const Variant& value) {
    if (!m_bag.TrySet(m_typeName, name, index, value)) {
        RaiseNoSuchProperty(name);
    }
}

bool GenericObject::HasProperty(std::string_view name) const {
    return m_bag.Has(name);
}

}  // namespace arn
