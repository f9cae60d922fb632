#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/AccessibleElement.h"
#include "core/Dispatch.h"
#include "core/Event.h"
#include "core/Variant.h"

namespace arn {

// The kind of value a member takes or returns, so that a caller from outside (a component
// runtime) can coerce an argument before the member sees it. Empty is the result of a method
// that returns nothing.
enum class VariantKind : uint8_t { Bool, Long, Double, String, Object, Empty };

// One member of an automation interface: its dispatch id, its name and its accessors. A
// missing accessor makes a property read-only or write-only. A method has call instead, and
// the kinds of its parameters in order; its kind is that of its result (a method without one
// returns empty).
struct AutomationMember {
    AutomationMember() = default;
    // A property.
    AutomationMember(int32_t dispId_, std::string name_, VariantKind kind_,
                     std::function<Variant()> get_, std::function<void(const Variant&)> put_ = {})
        : dispId(dispId_),
          name(std::move(name_)),
          kind(kind_),
          get(std::move(get_)),
          put(std::move(put_)) {}

    int32_t dispId = 0;
    std::string name;
    VariantKind kind = VariantKind::Long;
    std::function<Variant()> get;
    std::function<void(const Variant&)> put;
    std::vector<VariantKind> params;
    std::function<Variant(const std::vector<Variant>&)> call;
};

// A method member; arguments reach call already coerced to params by the caller's runtime.
AutomationMember MethodMember(int32_t dispId, std::string name, VariantKind result,
                              std::vector<VariantKind> params,
                              std::function<Variant(const std::vector<Variant>&)> call);

// value as kind, by the automation conversions (13 when it cannot be one).
Variant CoerceVariant(const Variant& value, VariantKind kind);

// One event of an object's event interface.
struct AutomationEvent {
    int32_t dispId = 0;
    std::string name;
};

// An object that describes its automation interface in platform-neutral terms: a member table
// in declaration order, and the events it raises. A component runtime presents it to outside
// clients (on Windows as IDispatch with a connection point); by-name access from our own code
// goes through the same table.
class AutomationObject : public Dispatch {
  public:
    // The members, in the interface's declaration order.
    virtual const std::vector<AutomationMember>& Members() const = 0;
    // The events of the event interface, in declaration order; none by default.
    virtual const std::vector<AutomationEvent>& Events() const;

    // nullptr when the object has no such member; names match without regard to case.
    const AutomationMember* FindMember(int32_t dispId) const;
    const AutomationMember* FindMember(std::string_view name) const;

    // By-name access through the member table: an unknown name raises 438, a put to a
    // read-only member 383, a get of a write-only one 394.
    Variant GetProperty(std::string_view name) const override;
    void SetProperty(std::string_view name, const Variant& value) override;
    bool HasProperty(std::string_view name) const override;
    using Dispatch::GetProperty;
    using Dispatch::SetProperty;

    // Calls a method by name with its arguments as given (each coerced here to its parameter's
    // kind); a property without arguments is read. An unknown name raises 438, a wrong argument
    // count 450, an argument that its kind cannot take 13.
    Variant CallMethod(std::string_view name, const std::vector<Variant>& args);

    // The same object under another interface that it implements (a host framework's,
    // identified by its interface id in registry form), or nullptr when it has no such one.
    // A component runtime hands it out where a client asks for that interface.
    virtual std::shared_ptr<AutomationObject> Facet(std::string_view interfaceId);

    // The class id (registry form) of the class this object is an instance of, where a type
    // library describes that class, its interface and its events; empty by default. A
    // component runtime presents an object with a described class with that description.
    virtual std::string_view ClassId() const { return {}; }

    // The elements of the object's user interface, in its control order, as a snapshot taken
    // at the call; none by default (an object without a user interface).
    virtual std::vector<AccessibleElement> AccessibleElements();

    // Raised with the dispatch id of each event, synchronously, when the object fires it.
    Event<int32_t> EventRaised;
};

}  // namespace arn
