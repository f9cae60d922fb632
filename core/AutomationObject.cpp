#include "core/AutomationObject.h"

#include <utility>

#include "core/ErrorCatalogue.h"

namespace arn {

AutomationMember MethodMember(int32_t dispId, std::string name, VariantKind result,
                              std::vector<VariantKind> params,
                              std::function<Variant(const std::vector<Variant>&)> call) {
    AutomationMember member;
    member.dispId = dispId;
    member.name = std::move(name);
    member.kind = result;
    member.params = std::move(params);
    member.call = std::move(call);
    return member;
}

Variant CoerceVariant(const Variant& value, VariantKind kind) {
    switch (kind) {
        case VariantKind::Bool:
            return Variant(VariantToBool(value));
        case VariantKind::Long:
            return Variant(VariantToLong(value));
        case VariantKind::Double:
            return Variant(VariantToDouble(value));
        case VariantKind::String:
            return Variant(VariantToString(value));
        case VariantKind::Object:
            return Variant(VariantToObject(value));
        case VariantKind::Empty:
            return Variant{};
    }
    return value;
}

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

Variant AutomationObject::CallMethod(std::string_view name, const std::vector<Variant>& args) {
    const AutomationMember* member = FindMember(name);
    if (member == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!member->call) {
        if (!args.empty() || !member->get) {
            RaiseWrongArguments(name);
        }
        return member->get();
    }
    if (args.size() != member->params.size()) {
        RaiseWrongArguments(name);
    }
    std::vector<Variant> coerced;
    coerced.reserve(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        coerced.push_back(CoerceVariant(args[i], member->params[i]));
    }
    return member->call(coerced);
}

std::shared_ptr<AutomationObject> AutomationObject::Facet(std::string_view) {
    return nullptr;
}

std::vector<AccessibleElement> AutomationObject::AccessibleElements() {
    return {};
}

}  // namespace arn
