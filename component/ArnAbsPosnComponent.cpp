#include "component/ArnAbsPosnComponent.h"

#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelAutomation.h"
#include "panel/PanelIds.h"

namespace arn {

namespace {

std::shared_ptr<AutomationObject> CreatePanelObject() {
    return PanelAutomation::Create(ArnAbsPosnCtl::Create());
}

}  // namespace

const ComponentClass& ArnAbsPosnComponentClass() {
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
