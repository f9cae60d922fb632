#include "core/AutomationObject.h"

#include <utility>

#include "core/ErrorCatalogue.h"

namespace arn {

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

Variant AutomationObject::CallMethod(std::string_view name, const std::vector<Variant>& args) {
    const AutomationMember* member = FindMember(name);
    if (member == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!member->call) {
        if (!args.empty() || !member->get) {
            RaiseWrongArguments(name);
        }
        return member->get(*this);
    }
    if (args.size() != member->params.size()) {
        RaiseWrongArguments(name);
    }
    std::vector<Variant> coerced;
    coerced.reserve(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        coerced.push_back(CoerceVariant(args[i], member->params[i]));
    }
    return member->call(*this, coerced);
}

std::shared_ptr<AutomationObject> AutomationObject::Facet(std::string_view) {
    return nullptr;
}

std::vector<AccessibleElement> AutomationObject::AccessibleElements() {
    return {};
}

}  // namespace arn
