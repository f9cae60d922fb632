#include "core/Dispatch.h"
#include "core/ErrorCatalogue.h"

namespace arn {

int16_t VariantToInteger(const Variant& v) {
    int32_t value = VariantToLong(v);
    if (value < INT16_MIN || value > INT16_MAX) {
        throw MakeError(err::Overflow, "Variant");
    }
    return static_cast<int16_t>(value);
}

const MemberTable& Dispatch::Members() const {
    static const MemberTable none;
    return none;
}

void Dispatch::RaiseNoSuchProperty(std::string_view name) const {
    throw MakeError(err::NoSuchMember, TypeName(), name);
}

void Dispatch::RaiseWrongArguments(std::string_view name) const {
    throw MakeError(err::WrongArguments, TypeName(), name);
}

Variant Dispatch::GetProperty(std::string_view name) const {
    const AutomationMember* e = Members().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->get) {
        if (e->getIndexed) {
            RaiseWrongArguments(name);
        }
        throw MakeError(err::WriteOnlyProperty, TypeName(), name);
    }
    return e->get(*this);
}

void Dispatch::SetProperty(std::string_view name, const Variant& value) {
    const AutomationMember* e = Members().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->put) {
        if (e->putIndexed) {
            RaiseWrongArguments(name);
        }
        throw MakeError(err::ReadOnlyProperty, TypeName(), name);
    }
    e->put(*this, value);
}

Variant Dispatch::GetProperty(std::string_view name, int32_t index) const {
    const AutomationMember* e = Members().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->getIndexed) {
        RaiseWrongArguments(name);
    }
    return e->getIndexed(*this, index);
}

void Dispatch::SetProperty(std::string_view name, int32_t index, const Variant& value) {
    const AutomationMember* e = Members().Find(name);
    if (e == nullptr) {
        RaiseNoSuchProperty(name);
    }
    if (!e->putIndexed) {
        RaiseWrongArguments(name);
    }
    e->putIndexed(*this, index, value);
}

bool Dispatch::HasProperty(std::string_view name) const {
    return Members().Find(name) != nullptr;
}

std::vector<std::shared_ptr<Dispatch>> Dispatch::Elements() const {
    throw MakeError(err::NotACollection, TypeName());
}

}  // namespace arn
