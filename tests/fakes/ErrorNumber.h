#pragma once

#include <functional>

#include "core/ArnError.h"

namespace arn::test {

// The number of the ArnError that call raises, or 0 when it raises none.
inline int ErrorNumber(const std::function<void()>& call) {
    try {
        call();
    } catch (const ArnError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace arn::test
