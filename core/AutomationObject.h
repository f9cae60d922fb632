#pragma once

#include <cstdint>
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
    // The members (Members(), the kind's static table, in the interface's declaration order)
    // by dispatch id and by name; nullptr when the object has no such member. Names match
    // without regard to case. By-name access (GetProperty, SetProperty) goes through the same
    // table: an unknown name raises 438, a put to a read-only member 383, a get of a write-only
    // one 394.
    const AutomationMember* FindMember(int32_t dispId) const { return Members().Find(dispId); }
    const AutomationMember* FindMember(std::string_view name) const { return Members().Find(name); }
    // The events of the event interface, in declaration order; none by default.
    virtual const std::vector<AutomationEvent>& Events() const;

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
