#include <windows.h>

#include "platform/SystemCalls.h"

namespace arn::detail {

bool SystemPerformanceFrequency(int64_t& frequency) {
    LARGE_INTEGER value{};
    // A frequency of 0 means no counter, as a failed call does.
    if (::QueryPerformanceFrequency(&value) == 0 || value.QuadPart <= 0) {
        return false;
    }
    frequency = value.QuadPart;
    return true;
}

bool SystemPerformanceCounter(int64_t& count) {
    LARGE_INTEGER value{};
    if (::QueryPerformanceCounter(&value) == 0) {
        return false;
    }
    count = value.QuadPart;
    return true;
}

}  // namespace arn::detail
