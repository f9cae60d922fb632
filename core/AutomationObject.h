#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Dispatch.h"
#include "core/Event.h"
#include "core/Variant.h"

namespace arn {

// The kind of value a member takes or returns, so that a caller from outside (a component
// runtime) can coerce an argument before the member sees it.
enum class VariantKind : uint8_t { Bool, Long, Double, String, Object };

// One member of an automation interface: its dispatch id, its name and its accessors. A
// missing accessor makes the member read-only or write-only.
struct AutomationMember {
    int32_t dispId = 0;
    std::string name;
    VariantKind kind = VariantKind::Long;
    std::function<Variant()> get;
    std::function<void(const Variant&)> put;
};

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

    // Raised with the dispatch id of each event, synchronously, when the object fires it.
    Event<int32_t> EventRaised;
};

}  // namespace arn
