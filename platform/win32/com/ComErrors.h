#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <string_view>

#include "core/ArnError.h"

namespace arn::win32 {

// The result that carries an automation error number across the component runtime: the
// runtime's own errors (small numbers) as FACILITY_CONTROL results, object-defined ones
// (vbObjectError + n) as they are, since those are results already.
HRESULT ErrorResult(int32_t number);

// The reverse of ErrorResult for a failed IDispatch::Invoke of member on an object: the
// object's own error (DISP_E_EXCEPTION, from excepInfo, which this call clears) keeps its number,
// source and description; the runtime's refusals become the automation errors a late-bound
// caller sees (438 for an unknown member, 450 for a wrong argument count, 446 and 448 for named
// arguments the member does not take, 13 for a type mismatch, 6 for an overflow); any other result
// becomes an error numbered by the result.
ArnError ErrorFromInvoke(HRESULT hr, EXCEPINFO& excepInfo, std::string_view member);

}  // namespace arn::win32
