#include "panel/FocusPlan.h"

#include "host/controls/ParamEditor.h"
#include "panel/PanelControls.h"
#include "support/ControlUtils.h"
#include "toolkit/SSCheck.h"
#include "toolkit/UserControl.h"

namespace arn {

namespace {

FocusPlan::Role Classify(const Control& ctl, const PanelControls& named) {
    using Role = FocusPlan::Role;
    if (!IsUserInputControl(&ctl)) {
        return IsPassiveControl(&ctl) ? Role::Passive : Role::Plain;
    }
    if (ctl.get_Name() == "inCheck" && dynamic_cast<const SSCheck*>(&ctl) != nullptr) {
        return Role::InCheck;
    }
    if (&ctl == named.hardStopCmd.get()) {
        return Role::HardStop;
    }
    if (&ctl == named.inputOptChk.get()) {
        return Role::InputOption;
    }
    if (&ctl == named.teachingCheck.get()) {
        return Role::TeachingCheck;
    }
    if (dynamic_cast<const ParamEditor*>(&ctl) != nullptr) {
        return Role::Editor;
    }
    return Role::Input;
}

}  // namespace

const std::vector<FocusPlan::Entry>& FocusPlan::Of(const UserControl& surface,
                                                   const PanelControls& named) {
    if (surface.ControlCount() != m_classified) {
        m_entries.clear();
        for (auto& control : surface.Controls()) {
            const Role role = Classify(*control, named);
            m_entries.push_back(Entry{std::move(control), role});
        }
        m_classified = surface.ControlCount();
    }
    return m_entries;
}

}  // namespace arn
