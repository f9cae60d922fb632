#include <windows.h>

#include "platform/SystemCalls.h"

namespace arn::detail {

LocalDateTime SystemLocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace arn::detail
