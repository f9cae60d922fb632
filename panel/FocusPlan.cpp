#include "panel/FocusPlan.h"

#include "panel/PanelControls.h"
#include "support/ControlUtils.h"
#include "toolkit/ControlGroup.h"
#include "toolkit/UserControl.h"

namespace arn {

namespace {

template <class T>
bool IsElementOf(const Control& ctl, const ControlGroup<T>& group) {
    return group.Exists(ctl.get_Index()) && group.Item(ctl.get_Index()).get() == &ctl;
}

FocusPlan::Role Classify(const Control& ctl, const PanelControls& named) {
    using Role = FocusPlan::Role;
    if (!IsUserInputControl(&ctl)) {
        return IsPassiveControl(&ctl) ? Role::Passive : Role::Plain;
    }
    if (IsElementOf(ctl, named.inCheck)) {
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
    if (ctl.EditedParameter()) {
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
