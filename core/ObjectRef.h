#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/ArnError.h"

namespace arn {

// Error 91 of the automation runtime: a call through an object reference that holds none.
inline constexpr int32_t ErrObjectNotSet = 91;

// The object behind ref, or error 91 when ref is empty. Routines that run under an error trap
// reach outside objects through this, so an unbound member becomes a trapped error instead of
// a null dereference.
template <class T>
T& Deref(const std::shared_ptr<T>& ref) {
    if (!ref) {
        throw ArnError(ErrObjectNotSet, "", "Object variable or With block variable not set");
    }
    return *ref;
}

// Error 438 of the automation runtime: the object lacks the member that was asked for.
inline constexpr int32_t ErrNoSuchMember = 438;

// ref itself, or error 438 naming member when an outside object answered that it has no such
// object (returned none where the caller needs one).
template <class T>
std::shared_ptr<T> RequireObject(std::shared_ptr<T> ref, std::string_view member) {
    if (!ref) {
        throw ArnError(ErrNoSuchMember, "",
                       "Object doesn't support this property or method: " + std::string(member));
    }
    return ref;
}

}  // namespace arn
