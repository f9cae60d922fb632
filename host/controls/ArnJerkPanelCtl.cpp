#include "host/controls/ArnJerkPanelCtl.h"

#include "toolkit/Form.h"

namespace arn {

ArnJerkPanelCtl::ArnJerkPanelCtl(std::string name, int16_t index)
    : SubPanel("ArnJerkPanelCtl", std::move(name), index, "Jerk Limit Setup...") {
    AddForm(std::make_shared<Form>("JerkLimitForm", "Jerk Limit Setup"));
}

void ArnJerkPanelCtl::RequestSetup() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    SetupRequested();
}

}  // namespace arn
