#include "core/AutomationObject.h"

#include "core/ErrorCatalogue.h"

namespace arn {

const std::vector<AutomationEvent>& AutomationObject::Events() const {
    static const std::vector<AutomationEvent> none;
    return none;
}

const AutomationMember* AutomationObject::FindMember(int32_t dispId) const {
    for (const auto& member : Members()) {
        if (member.dispId == dispId) {
            return &member;
        }
    }
    return nullptr;
}

const AutomationMember* AutomationObject::FindMember(std::string_view name) const {
    for (const auto& member : Members()) {
        if (NamesEqual(member.name, name)) {
            return &member;
        }
    }
    return nullptr;
}

Variant AutomationObject::GetProperty(std::string_view name) const {
    const AutomationMember* member = FindMember(name);
    if (member == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!member->get) {
        throw MakeError(err::WriteOnlyProperty, TypeName(), name);
    }
    return member->get();
}

void AutomationObject::SetProperty(std::string_view name, const Variant& value) {
    const AutomationMember* member = FindMember(name);
    if (member == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!member->put) {
        throw MakeError(err::ReadOnlyProperty, TypeName(), name);
    }
    member->put(value);
}

bool AutomationObject::HasProperty(std::string_view name) const {
    return FindMember(name) != nullptr;
}

}  // namespace arn
