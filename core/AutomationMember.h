#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/Variant.h"

namespace arn {

class Dispatch;

// The kind of value a member takes or returns, so that a caller from outside (a component
// runtime) can coerce an argument before the member sees it. Empty is the result of a method
// that returns nothing.
enum class VariantKind : uint8_t { Bool, Long, Double, String, Object, Empty };

// One by-name member of a kind of object, declared once per kind in its static member table:
// its name and its accessors, each taking the object it acts on. A missing accessor makes a
// property read-only or write-only; an indexed property has the indexed pair instead; a method
// has call, with the kinds of its parameters in order, and its kind is that of its result.
// Members of an automation interface carry the interface's dispatch id and kinds; a kind that is
// only reached by name from our own code leaves the id 0.
struct AutomationMember {
    int32_t dispId = 0;
    std::string name;
    VariantKind kind = VariantKind::Long;
    std::function<Variant(const Dispatch&)> get;
    std::function<void(Dispatch&, const Variant&)> put;
    std::function<Variant(const Dispatch&, int32_t)> getIndexed;
    std::function<void(Dispatch&, int32_t, const Variant&)> putIndexed;
    std::vector<VariantKind> params;
    std::function<Variant(Dispatch&, const std::vector<Variant>&)> call;
};

// A property of an automation interface on kind T: get reads it from the object, put (none
// for a read-only property) writes the value, which the caller's runtime has coerced to kind.
template <class T>
AutomationMember PropertyMember(int32_t dispId, std::string name, VariantKind kind,
                                Variant (*get)(const T&),
                                void (*put)(T&, const Variant&) = nullptr) {
    AutomationMember member;
    member.dispId = dispId;
    member.name = std::move(name);
    member.kind = kind;
    if (get != nullptr) {
        member.get = [get](const Dispatch& d) { return get(static_cast<const T&>(d)); };
    }
    if (put != nullptr) {
        member.put = [put](Dispatch& d, const Variant& v) { put(static_cast<T&>(d), v); };
    }
    return member;
}

// A method of an automation interface on kind T; arguments reach call already coerced to
// params.
template <class T>
AutomationMember MethodMember(int32_t dispId, std::string name, VariantKind result,
                              std::vector<VariantKind> params,
                              Variant (*call)(T&, const std::vector<Variant>&)) {
    AutomationMember member;
    member.dispId = dispId;
    member.name = std::move(name);
    member.kind = result;
    member.params = std::move(params);
    member.call = [call](Dispatch& d, const std::vector<Variant>& args) {
        return call(static_cast<T&>(d), args);
    };
    return member;
}

}  // namespace arn
