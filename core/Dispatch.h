#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "core/MemberTable.h"
#include "core/Variant.h"

namespace arn {

class Dispatch;

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

// The member kind of a property type.
template <class T>
constexpr VariantKind KindOf() {
    if constexpr (std::is_same_v<T, bool>) {
        return VariantKind::Bool;
    } else if constexpr (std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t>) {
        return VariantKind::Long;
    } else if constexpr (std::is_same_v<T, double>) {
        return VariantKind::Double;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return VariantKind::String;
    } else {
        return VariantKind::Object;
    }
}

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

// Declares a read-write property of kind T from its getter and setter, for by-name access.
template <class T, class G, class S>
AutomationMember Prop(std::string_view name, G (T::*getter)() const, void (T::*setter)(S)) {
    using Value = std::decay_t<S>;
    AutomationMember member;
    member.name = std::string(name);
    member.kind = KindOf<std::decay_t<G>>();
    member.get = [getter](const Dispatch& d) {
        return ToVariant((static_cast<const T&>(d).*getter)());
    };
    member.put = [setter](Dispatch& d, const Variant& v) {
        (static_cast<T&>(d).*setter)(FromVariant<Value>(v));
    };
    return member;
}

// Declares a read-only property.
template <class T, class G>
AutomationMember ReadOnlyProp(std::string_view name, G (T::*getter)() const) {
    AutomationMember member;
    member.name = std::string(name);
    member.kind = KindOf<std::decay_t<G>>();
    member.get = [getter](const Dispatch& d) {
        return ToVariant((static_cast<const T&>(d).*getter)());
    };
    return member;
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
    // The names of the by-name members, in declaration order, for type browsers and
    // property dumps.
    std::vector<std::string> PropertyNames() const { return Members().Names(); }

    // The kind's member table, through which every by-name access goes; empty for a kind
    // without declared members.
    virtual const MemberTable& Members() const;

    // The elements of a collection object, for For Each; other objects raise 451.
    virtual std::vector<std::shared_ptr<Dispatch>> Elements() const;

  protected:
    [[noreturn]] void RaiseNoSuchProperty(std::string_view name) const;
    [[noreturn]] void RaiseWrongArguments(std::string_view name) const;
};

}  // namespace arn
