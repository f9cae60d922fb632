#pragma once

#include <functional>
#include <string>

#include "core/ArnError.h"

namespace arn::test {

// "<number> <source>: <description>" of the ArnError that call raises, or "none".
inline std::string RaisedError(const std::function<void()>& call) {
    try {
        call();
    } catch (const ArnError& e) {
        return std::to_string(e.number()) + " " + e.source() + ": " + e.description();
    }
    return "none";
}

}  // namespace arn::test
