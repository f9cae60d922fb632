// The class this library serves as an in-process component: the platform's component runtime
// registers, creates and presents it from this description.
#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelAutomation.h"
#include "panel/PanelIds.h"
#include "platform/ComponentClass.h"

namespace arn {

namespace {

std::shared_ptr<AutomationObject> CreatePanelObject() {
    return PanelAutomation::Create(ArnAbsPosnCtl::Create());
}

}  // namespace

const ComponentClass& ServedComponentClass() {
    static const ComponentClass served{CLSID_ArnAbsPosnCtl,
                                       ProgID_ArnAbsPosnCtl,
                                       ArnAbsPosnCtlDescription,
                                       IID__ArnAbsPosnCtl,
                                       "_ArnAbsPosnCtl",
                                       DIID___ArnAbsPosnCtl,
                                       "__ArnAbsPosnCtl",
                                       LIBID_ArnAbsPosn,
                                       1,
                                       0,
                                       &CreatePanelObject};
    return served;
}

}  // namespace arn
