#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "core/Variant.h"

namespace arn {

class Dispatch;

// One by-name property, its name and accessors side by side. A missing plain accessor makes
// the property read-only or write-only; an indexed property has the indexed pair instead.
struct PropertyEntry {
    std::string name;
    std::function<Variant(const Dispatch&)> get;
    std::function<void(Dispatch&, const Variant&)> set;
    std::function<Variant(const Dispatch&, int32_t)> getIndexed;
    std::function<void(Dispatch&, int32_t, const Variant&)> setIndexed;
};

// The by-name properties of one kind of object, declared once per kind. Names are matched
// without regard to case, as automation clients do.
class PropertyTable {
  public:
    PropertyTable() = default;
    PropertyTable(std::initializer_list<PropertyEntry> entries);
    // The base kind's properties followed by entries of this kind; an entry of the same name
    // replaces the base one.
    PropertyTable(const PropertyTable& base, std::initializer_list<PropertyEntry> entries);

    const PropertyEntry* Find(std::string_view name) const;
    std::vector<std::string> Names() const;
    // A copy without the named properties, for kinds that lack some of their base's.
    PropertyTable Without(std::initializer_list<std::string_view> names) const;

  private:
    void Put(PropertyEntry entry);
    std::vector<PropertyEntry> m_entries;
};

bool NamesEqual(std::string_view a, std::string_view b);

// Conversions between C++ property types and Variant used by the declarations below.
template <class T>
Variant ToVariant(const T& value) {
    if constexpr (std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t>) {
        return Variant(static_cast<int32_t>(value));
    } else if constexpr (std::is_convertible_v<T, std::shared_ptr<Dispatch>>) {
        return Variant(std::shared_ptr<Dispatch>(value));
    } else {
        return Variant(value);
    }
}

int16_t VariantToInteger(const Variant& v);  // 16-bit; out of range raises Overflow

template <class T>
T FromVariant(const Variant& v) {
    if constexpr (std::is_same_v<T, bool>) {
        return VariantToBool(v);
    } else if constexpr (std::is_same_v<T, int16_t>) {
        return VariantToInteger(v);
    } else if constexpr (std::is_same_v<T, int32_t>) {
        return VariantToLong(v);
    } else if constexpr (std::is_same_v<T, double>) {
        return VariantToDouble(v);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return VariantToString(v);
    } else {
        auto obj = VariantToObject(v);
        auto typed = std::dynamic_pointer_cast<typename T::element_type>(obj);
        if (obj && !typed) {
            throw MakeError(err::TypeMismatch, "Variant");
        }
        return typed;
    }
}

// Declares a read-write property from a getter and a setter of kind T.
template <class T, class G, class S>
PropertyEntry Prop(std::string_view name, G (T::*getter)() const, void (T::*setter)(S)) {
    using Value = std::decay_t<S>;
    return PropertyEntry{
        std::string(name),
        [getter](const Dispatch& d) { return ToVariant((static_cast<const T&>(d).*getter)()); },
        [setter](Dispatch& d, const Variant& v) {
            (static_cast<T&>(d).*setter)(FromVariant<Value>(v));
        },
        {},
        {}};
}

// Declares a read-only property.
template <class T, class G>
PropertyEntry ReadOnlyProp(std::string_view name, G (T::*getter)() const) {
    return PropertyEntry{
        std::string(name),
        [getter](const Dispatch& d) { return ToVariant((static_cast<const T&>(d).*getter)()); },
        {},
        {},
        {}};
}

// Base of every object reachable by name: controls, forms, pictures, collections.
class Dispatch {
  public:
    virtual ~Dispatch() = default;

    // The run-time type name that the form utilities compare ("Label", "SSCheck", ...).
    virtual std::string TypeName() const = 0;

    // Unknown names raise ArnError 438 whose description carries the name; writing a
    // read-only property raises 383, reading an indexed one without an index 450.
    virtual Variant GetProperty(std::string_view name) const;
    virtual void SetProperty(std::string_view name, const Variant& value);
    virtual Variant GetProperty(std::string_view name, int32_t index) const;
    virtual void SetProperty(std::string_view name, int32_t index, const Variant& value);
    virtual bool HasProperty(std::string_view name) const;
    // The names of the by-name properties, in declaration order, for type browsers and
    // property dumps.
    std::vector<std::string> PropertyNames() const { return Properties().Names(); }

    // The elements of a collection object, for For Each; other objects raise 451.
    virtual std::vector<std::shared_ptr<Dispatch>> Elements() const;

  protected:
    // The kind's property table; empty for a kind without declared properties.
    virtual const PropertyTable& Properties() const;

    [[noreturn]] void RaiseNoSuchProperty(std::string_view name) const;
    [[noreturn]] void RaiseWrongArguments(std::string_view name) const;
};

}  // namespace arn
