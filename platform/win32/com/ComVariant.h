#pragma once

#include <windows.h>

#include <oleauto.h>

#include <functional>
#include <memory>

#include "core/AutomationObject.h"
#include "core/Variant.h"

namespace arn::win32 {

// A client's argument as the member's kind: DISP_E_TYPEMISMATCH (or DISP_E_OVERFLOW) when the
// system's coercion refuses it; out is left as it was then.
HRESULT FromComVariant(const VARIANT& in, VariantKind kind, Variant& out);

// Presents an object result to the client as IDispatch (AddRef'ed, or nullptr for none).
using ObjectPresenter = std::function<HRESULT(const std::shared_ptr<Dispatch>&, IDispatch**)>;

// A member's result for the client; *out must be initialised (VariantInit).
HRESULT ToComVariant(const Variant& in, const ObjectPresenter& present, VARIANT* out);

}  // namespace arn::win32
