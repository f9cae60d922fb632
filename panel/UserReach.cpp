#include "panel/UserReach.h"

#include <algorithm>
#include <exception>

#include "host/NodeParams.h"
#include "inputs/jogAndSwInputs.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/FocusPlan.h"

namespace arn {

namespace {

// The inputs object's answers; a node that does not answer gives no reason of its own.
bool Ask(const ArnAbsPosnCtl& panel, bool (jogAndSwInputs::*question)()) {
    try {
        const auto& io = panel.InputsObject();
        return io && ((*io).*question)();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

std::string WhyOutOfReach(const ArnAbsPosnCtl& panel, const Control& control) {
    if (!panel.IsAttached()) {
        return "the panel is released";
    }
    if (!panel.get_Enabled()) {
        return "the panel is disabled";
    }
    if (!control.IsShown()) {
        return "it is hidden";
    }
    // Classified the way the panel enables its controls (a plan of its own: this is a query).
    FocusPlan plan;
    const auto& entries = plan.Of(panel, panel.NamedControls());
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const FocusPlan::Entry& e) {
        return e.control.get() == &control;
    });
    const auto role = entry == entries.end() ? FocusPlan::Role::Plain : entry->role;
    const auto& named = panel.NamedControls();
    switch (role) {
        case FocusPlan::Role::InCheck:
            if (Ask(panel, &jogAndSwInputs::get_ExternalInputs)) {
                return "it acts only while \"" + named.inputOptChk->UserCaption() + "\" is checked";
            }
            break;
        case FocusPlan::Role::HardStop:
            if (!panel.IsHomingActive()) {
                return "it acts only while homing runs";
            }
            break;
        case FocusPlan::Role::InputOption:
            if (Ask(panel, &jogAndSwInputs::get_EnableReqPin)) {
                return "the drive's hardware Enable is asserted; the inputs go to software only "
                       "while it is off";
            }
            break;
        case FocusPlan::Role::TeachingCheck:
            return "this drive has no teaching setting";
        case FocusPlan::Role::Editor:
            if (panel.IsHomingActive() &&
                param::IsPosition1To4(control.EditedParameter().value_or(0))) {
                return "homing is running; the positions are locked until it ends";
            }
            break;
        case FocusPlan::Role::Passive:
        case FocusPlan::Role::Plain:
        case FocusPlan::Role::Input:
            break;
    }
    return "the panel keeps it disabled in this state";
}

}  // namespace arn
