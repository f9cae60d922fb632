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
    static std::shared_ptr<GenericObject> Create(std::string typeName);

    std::string TypeName() const override { return m_typeName; }

    GenericObject& Define(std::string name, Variant value);
    GenericObject& DefineIndexed(std::string name, std::vector<Variant> values);

    Variant GetProperty(std::string_view name) const override;
    void SetProperty(std::string_view name, const Variant& value) override;
    Variant GetProperty(std::string_view name, int32_t index) const override;
    void SetProperty(std::string_view name, int32_t index, const Variant& value) override;
    bool HasProperty(std::string_view name) const override;

  private:
    explicit GenericObject(std::string typeName) : m_typeName(std::move(typeName)) {}

    std::string m_typeName;
    PropertyBag m_bag;
};

}  // namespace arn
