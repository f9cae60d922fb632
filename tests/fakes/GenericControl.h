#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/PropertyBag.h"
#include "toolkit/Control.h"

namespace arn {

// A control of any type name ("SSTab", "Toolbar", "nTextBox", ...) with whatever plain,
// indexed and collection properties its maker defines on top of the common ones. Defined
// properties take precedence over the common ones; Withhold makes a common one unknown, for
// a kind that lacks it. Writes through SetProperty raise PropertyChanged like any control.
class GenericControl : public Control {
  public:
    static std::shared_ptr<GenericControl> Create(std::string typeName, std::string name,
                                                  int16_t index = -1);

    GenericControl& Define(std::string name, Variant value);
    GenericControl& DefineIndexed(std::string name, std::vector<Variant> values);
    GenericControl& Withhold(std::string name);

    Variant GetProperty(std::string_view name) const override;
    void SetProperty(std::string_view name, const Variant& value) override;
    Variant GetProperty(std::string_view name, int32_t index) const override;
    void SetProperty(std::string_view name, int32_t index, const Variant& value) override;
    bool HasProperty(std::string_view name) const override;

  private:
    GenericControl(std::string typeName, std::string name, int16_t index)
        : Control(std::move(typeName), std::move(name), index) {}
    bool Withheld(std::string_view name) const;
    // The defined property's value; nullptr for a common one. A withheld name raises 438.
    Variant* Find(std::string_view name, std::optional<int32_t> index) const;
    // Stores into a defined property, raising PropertyChanged on a difference; false for a
    // common one.
    bool Store(std::string_view name, std::optional<int32_t> index, const Variant& value);

    PropertyBag m_bag;
    std::vector<std::string> m_withheld;
};

}  // namespace arn
