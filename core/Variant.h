#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace arn {

class Dispatch;

// An automation value as by-name property access passes it: empty, Boolean, Long, Double,
// String or an object reference.
using Variant =
    std::variant<std::monostate, bool, int32_t, double, std::string, std::shared_ptr<Dispatch>>;

// Conversions with the automation rules: True is -1 as a number, numbers print in their
// shortest decimal form, numeric strings convert to numbers, empty converts to 0 / "" / False.
// A value that cannot be converted raises ArnError 13 "Type mismatch".
bool VariantToBool(const Variant& v);
int32_t VariantToLong(const Variant& v);
double VariantToDouble(const Variant& v);
std::string VariantToString(const Variant& v);
// An object reference; empty gives nullptr, anything else but an object is a type mismatch.
std::shared_ptr<Dispatch> VariantToObject(const Variant& v);

inline bool IsEmpty(const Variant& v) {
    return std::holds_alternative<std::monostate>(v);
}

}  // namespace arn
