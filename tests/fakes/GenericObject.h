#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Dispatch.h"
#include "fakes/PropertyBag.h"

namespace arn {

// An object of any type name with whatever properties its maker defines: the elements of a
// control's collections (a toolbar's buttons, a tab strip's tabs) and other objects that
// tests hand to the form utilities. Undefined names raise 438 like any other object.
class GenericObject : public Dispatch {
  public:
    static std::shared_ptr<GenericObject> Create(std::string typeName) {
        return std::shared_ptr<GenericObject>(new GenericObject(std::move(typeName)));
    }

    std::string TypeName() const override { return m_typeName; }

    GenericObject& Define(std::string name, Variant value) {
        m_bag.Define(std::move(name), std::move(value));
        return *this;
    }
    GenericObject& DefineIndexed(std::string name, std::vector<Variant> values) {
        m_bag.DefineIndexed(std::move(name), std::move(values));
        return *this;
    }

    Variant GetProperty(std::string_view name) const override { return At(name, {}); }
    void SetProperty(std::string_view name, const Variant& value) override { At(name, {}) = value; }
    Variant GetProperty(std::string_view name, int32_t index) const override {
        return At(name, index);
    }
    void SetProperty(std::string_view name, int32_t index, const Variant& value) override {
        At(name, index) = value;
    }
    bool HasProperty(std::string_view name) const override { return m_bag.Has(name); }

  private:
    explicit GenericObject(std::string typeName) : m_typeName(std::move(typeName)) {}
    Variant& At(std::string_view name, std::optional<int32_t> index) const {
        Variant* value = m_bag.Find(m_typeName, name, index);
        if (value == nullptr) {
            RaiseNoSuchProperty(name);
        }
        return *value;
    }

    std::string m_typeName;
    PropertyBag m_bag;
};

}  // namespace arn
