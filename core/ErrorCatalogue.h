#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/ArnError.h"

namespace arn {

// An error of the automation runtime: its number and the description it always starts with.
struct AutomationError {
    int32_t number;
    std::string_view description;
};

// The automation runtime's errors that this code raises or expects, each defined once.
namespace err {
inline constexpr AutomationError InvalidProcedureCall{5, "Invalid procedure call or argument"};
inline constexpr AutomationError Overflow{6, "Overflow"};
inline constexpr AutomationError SubscriptOutOfRange{9, "Subscript out of range"};
inline constexpr AutomationError TypeMismatch{13, "Type mismatch"};
inline constexpr AutomationError ObjectNotSet{91, "Object variable or With block variable not set"};
inline constexpr int32_t ResourceNotFound = 326;     // see ResourceNotFoundError
inline constexpr int32_t ElementDoesNotExist = 340;  // see ElementDoesNotExistError
inline constexpr AutomationError ObjectAlreadyLoaded{360, "Object already loaded"};
inline constexpr AutomationError InvalidPropertyValue{380, "Invalid property value"};
inline constexpr AutomationError InvalidPropertyIndex{381, "Invalid property array index"};
inline constexpr AutomationError ReadOnlyProperty{383, "Property is read-only"};
inline constexpr AutomationError WriteOnlyProperty{394, "Property is write-only"};
inline constexpr AutomationError ObjectRequired{424, "Object required"};
inline constexpr AutomationError NoSuchMember{438,
                                              "Object doesn't support this property or method"};
inline constexpr AutomationError WrongArguments{
    450, "Wrong number of arguments or invalid property assignment"};
inline constexpr AutomationError NotACollection{451, "Object not a collection"};
inline constexpr AutomationError NoNamedArguments{446, "Object doesn't support named arguments"};
inline constexpr AutomationError NamedArgumentNotFound{448, "Named argument not found"};
inline constexpr AutomationError KeyAlreadyExists{
    457, "This key is already associated with an element of this collection"};
inline constexpr AutomationError ElementNotFound{32811, "Element not found"};
}  // namespace err

// The error with its fixed description, or with detail after it as "<description>: <detail>".
inline ArnError MakeError(const AutomationError& error, std::string source,
                          std::string_view detail = {}) {
    std::string description(error.description);
    if (!detail.empty()) {
        description.append(": ").append(detail);
    }
    return ArnError(error.number, std::move(source), std::move(description));
}

// Error 326 "Resource with identifier '<id>' not found".
inline ArnError ResourceNotFoundError(int32_t id, std::string source) {
    return ArnError(err::ResourceNotFound, std::move(source),
                    "Resource with identifier '" + std::to_string(id) + "' not found");
}

// Error 340 "Control array element '<index>' doesn't exist".
inline ArnError ElementDoesNotExistError(int32_t index, std::string source) {
    return ArnError(err::ElementDoesNotExist, std::move(source),
                    "Control array element '" + std::to_string(index) + "' doesn't exist");
}

}  // namespace arn
