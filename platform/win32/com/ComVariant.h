#pragma once

#include <windows.h>

#include <oleauto.h>

#include <functional>
#include <memory>

#include "core/AutomationObject.h"
#include "core/Variant.h"

namespace arn::win32 {

// A value from the component runtime in its own type: empty or null as empty, Booleans, whole
// numbers as Long, other numbers as Double, text, and objects. An object of ours (one that a
// ComDispatchObject presents) comes back as that object; someone else's as a ClientObject over
// a ComAutomationClient. By-reference values are read through. DISP_E_TYPEMISMATCH for arrays
// and other types; out is left as it was then.
HRESULT FromComVariant(const VARIANT& in, Variant& out);

// A client's argument as the member's kind: DISP_E_TYPEMISMATCH (or DISP_E_OVERFLOW) when the
// system's coercion refuses it; out is left as it was then. An object kind takes an object,
// Nothing or empty.
HRESULT FromComVariant(const VARIANT& in, VariantKind kind, Variant& out);

// Presents one of our objects to the runtime (AddRef'ed into *out, nullptr for none): a
// ClientObject over a ComAutomationClient hands back the client's own object, an
// AutomationObject a new ComDispatchObject; other objects are a type mismatch.
HRESULT PresentObject(const std::shared_ptr<Dispatch>& object, IDispatch** out);

// Presents an object result to the client as IDispatch (AddRef'ed, or nullptr for none).
using ObjectPresenter = std::function<HRESULT(const std::shared_ptr<Dispatch>&, IDispatch**)>;

// A member's result for the client; *out must be initialised (VariantInit).
HRESULT ToComVariant(const Variant& in, const ObjectPresenter& present, VARIANT* out);

}  // namespace arn::win32
