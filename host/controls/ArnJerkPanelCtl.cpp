#include "host/controls/ArnJerkPanelCtl.h"

#include "toolkit/Form.h"

namespace arn {

ArnJerkPanelCtl::ArnJerkPanelCtl(std::string name, int16_t index)
    : SetupSubPanel("ArnJerkPanelCtl", std::move(name), index, "Jerk Limit Setup...") {
    AddForm(std::make_shared<Form>("JerkLimitForm", "Jerk Limit Setup"));
}

}  // namespace arn
