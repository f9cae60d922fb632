#pragma once

#include "platform/ComponentClass.h"

namespace arn {

// The class this library serves as an in-process component on every platform: the panel's
// automation object (PanelAutomation over a new ArnAbsPosnCtl), with the control's ids and
// names. The server's entry points hand it to the platform's component runtime.
const ComponentClass& ArnAbsPosnComponentClass();

}  // namespace arn
