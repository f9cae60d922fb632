#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

// The object behind ref, or error 91 when ref is empty. Routines that run under an error trap
// reach outside objects through this, so an unbound member becomes a trapped error instead of
// a null dereference.
template <class T>
T& Deref(const std::shared_ptr<T>& ref) {
    if (!ref) {
        throw MakeError(err::ObjectNotSet, "");
    }
    return *ref;
}

// ref itself, or error 438 naming member when an outside object answered that it has no such
// object (returned none where the caller needs one).
template <class T>
std::shared_ptr<T> RequireObject(std::shared_ptr<T> ref, std::string_view member) {
    if (!ref) {
        throw MakeError(err::NoSuchMember, "", member);
    }
    return ref;
}

}  // namespace arn
