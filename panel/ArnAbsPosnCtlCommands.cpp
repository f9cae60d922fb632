// The panel's commands: teaching switch, host window requests, hard stop, input overrides.
#include "core/ObjectRef.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/NodeBinding.h"
#include "panel/PanelStrings.h"
#include "support/DebuggingFlags.h"
#include "support/Format.h"

namespace arn {

void ArnAbsPosnCtl::m_teachingEnabledFld_UpdateView(const std::shared_ptr<Field>& obj) {
    // Setting the box fires its click, which writes the same value back: a harmless echo.
    m_ctl.teachingCheck->put_Value(static_cast<int16_t>(Deref(obj).get_Value()));
}

void ArnAbsPosnCtl::teachingCheck_Click() {
    if (m_binding->m_teachingEnabledFld) {
        m_binding->m_teachingEnabledFld->put_Value(m_ctl.teachingCheck->get_Value());
    }
    UpdateTeachingWarning();
}

void ArnAbsPosnCtl::m_wasHomed_UpdateView(const std::shared_ptr<Field>&) {
    UpdateTeachingWarning();
}

void ArnAbsPosnCtl::UpdateTeachingWarning() {
    if (!m_binding->m_teachingEnabledFld || !m_binding->m_wasHomed) {
        return;
    }
    // Teaching is never blocked: the icon is the only guard against teaching unhomed.
    const int32_t teaching = m_binding->m_teachingEnabledFld->get_Value();
    const int32_t homed = m_binding->m_wasHomed->get_Value();
    m_ctl.warnTriangle(14).put_Visible((teaching & ~homed) != 0);
}

void ArnAbsPosnCtl::teachingCmd_Click() {
    ShowTeachingDlg();
}

void ArnAbsPosnCtl::hardStopCmd_Click() {
    if (m_busy || !m_binding->m_node) {
        return;
    }
    try {
        Deref(Deref(m_binding->m_node->Param(param::HomingCommand)).Field(fieldkey::SetHardStopped))
            .put_Value(1);
        Deref(Deref(m_binding->m_node->Param(param::HomingCommand)).Field(fieldkey::SetHardStopped))
            .Apply();
    } catch (const std::exception&) {
        // The command is fire-and-forget: no message, no retry.
    }
}

void ArnAbsPosnCtl::inCheck_Click(int16_t Index, int16_t Value) {
    // The tooltip follows the box even for the panel's own changes.
    if (Index == 0) {
        m_ctl.inCheck(0).put_ToolTipText(Value != 0 ? std::string() : ResString(18018));
    }
    if (m_busy) {
        return;
    }
    switch (Index) {
        case 0:
            Deref(m_binding->m_enableOrFld.get()).put_Value(Value);
            break;
        case 1:
            Deref(m_binding->m_inAOrFld.get()).put_Value(Value);
            break;
        case 2:
            Deref(m_binding->m_inBOrFld.get()).put_Value(Value);
            break;
        default:
            break;
    }
}

void ArnAbsPosnCtl::inputOptChk_Click() {
    if (m_busy) {
        return;
    }
    const bool enableOverridden = Deref(m_binding->m_enableOrFld.get()).get_Value() == 1;
    jogAndSwInputs& io = Deref(m_io.get());
    // Unchecked hands the inputs back to the drive's pins; checked lets the override boxes act.
    const bool external = m_ctl.inputOptChk->get_Value() == 0;
    io.put_ExternalInputs(external);
    if (external && enableOverridden) {
        m_overrideCleared = true;
    }
    io.put_ExternalInputs(m_ctl.inputOptChk->get_Value() == 0);
    UpdateInputControls(Deref(m_io.get()).get_ExternalInputs());
    DebugTrace(*this, "Break Here", TraceLevelAlways, false);
}

void ArnAbsPosnCtl::m_io_EnableReqChanged(bool newState) {
    DebugTrace(*this, "m_io_EnableReqChanged=" + CStr(newState), TraceLevelAlways, false);
    BusyScope busy(m_busy);
    if (newState) {
        m_ctl.inputOptChk->put_Value(0);  // the click this fires is ignored while busy
    }
    m_overrideCleared = false;
    UpdateInputControls(Deref(m_io.get()).get_ExternalInputs());
}

void ArnAbsPosnCtl::m_io_IOchanged(bool inExternalMode) {
    jogAndSwInputs& io = Deref(m_io.get());
    io.put_ExternalInputs(inExternalMode);
    UpdateInputControls(io.get_ExternalInputs());
}

}  // namespace arn
