// The timer tick and the change handlers that flag its work.
#include "core/ErrorCatalogue.h"
#include "core/ObjectRef.h"
#include "host/values/Number.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/NodeBinding.h"
#include "support/ControlUtils.h"
#include "support/DebuggingFlags.h"
#include "support/Format.h"

namespace arn {

void ArnAbsPosnCtl::m_zkAppEvts_TimerTick() {
    if (!m_attached) {
        return;
    }
    // A handler reached from here may make the host drop the panel.
    const auto keepAlive = weak_from_this().lock();
    BusyScope busy(m_busy);
    try {
        TimerTickBody();
    } catch (const std::exception& e) {
        // Flags whose work did not run stay set and are served on the next tick.
        DebugTrace(*this, ".ZK Timer Tick err=" + ErrDescription(e), TraceLevelAlways, false);
    }
}

void ArnAbsPosnCtl::TimerTickBody() {
    if (m_rebindDue) {
        AttachNodeProc();
        m_rebindDue = false;
    }
    m_monitor.UpdateHomingState();
    if (m_positions.PosnChecksDue()) {
        m_positions.UpdatePositionWarnings();
        m_positions.ClearPosnChecks();
    }
    if (m_monitor.MotionCheckDue()) {
        m_monitor.MotionCheck();
        m_monitor.ClearMotionCheck();
    }
    if (m_monitor.FocusDue()) {
        // Controls locked during homing are locked or freed; a change that a failed tick
        // found is still due here.
        UpdateFocus(m_enabled);
        m_monitor.ClearFocusDue();
    }
}

// --- change handlers ---

void ArnAbsPosnCtl::m_cfgSrcFld_UpdateView(const std::shared_ptr<Field>& obj) {
    if (Deref(obj).get_Value() != 0) {
        ShowMessageLabel(*m_ctl.DisplayMsgLbl, "");
    }
}

void ArnAbsPosnCtl::OverrideUpdateView(const char* trace, int16_t index,
                                       const std::shared_ptr<Field>& fld) {
    DebugTrace(*this, trace, TraceLevelAlways, false);
    // If the box reports this as a click, the click handler writes the same value back.
    m_ctl.inCheck(index).put_CheckValue(Deref(fld).get_Value() != 0);
    Deref(m_io.get()).UpdateCheckbox(m_ctl.inCheck(index));
    m_monitor.FlagMotionCheck();
}

void ArnAbsPosnCtl::m_fldEnableReqStatus_UpdateView(const std::shared_ptr<Field>&) {
    // The drive re-reads its position targets whenever the enable request changes.
    for (int32_t n = param::Position1; n <= param::Position4; ++n) {
        Deref(Deref(m_binding->m_node).Param(n)).Refresh();
    }
}

void ArnAbsPosnCtl::FlagPosnAndMotionChecks() {
    m_positions.FlagPosnChecks();
    m_monitor.FlagMotionCheck();
}

}  // namespace arn
