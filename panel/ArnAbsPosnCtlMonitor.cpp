// The periodic monitor: the timer tick and the handlers that flag its work.
#include <cmath>

#include "host/values/Number.h"
#include "core/ErrorCatalogue.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/NodeBinding.h"
#include "core/ObjectRef.h"
#include "support/ControlUtils.h"
#include "support/DebuggingFlags.h"
#include "support/Format.h"

namespace arn {

namespace {

// The conversion to a 16-bit integer: round half to even, error 6 outside its range.
int16_t ToInteger(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -32768.0 && r <= 32767.0)) {
        throw MakeError(err::Overflow, "");
    }
    return static_cast<int16_t>(r);
}

}  // namespace

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
    UpdateHomingState();
    if (m_posnChecksDue) {
        UpdatePositionWarnings();
        m_posnChecksDue = false;
    }
    if (m_motionCheckDue) {
        MotionCheck();
        m_motionCheckDue = false;
    }
    if (m_wasHomingActive != m_homingActive) {
        // Controls locked during homing are locked or freed.
        UpdateFocus(m_enabled);
    }
}

void ArnAbsPosnCtl::UpdateHomingState() {
    if (!m_binding->m_homingFld) {
        ShowStopWarning(false);
        m_ctl.hardStopCmd->put_Visible(false);
        m_ctl.hardStopCmd->put_FontBold(false);
        m_ctl.HSwarnBox->put_Visible(false);
        return;
    }
    m_wasHomingActive = m_homingActive;
    m_homingActive = m_binding->m_homingFld->get_Value() == 1;
    if (Deref(m_binding->m_opModeFld.get()).get_Value() == opmode::FourPositions && m_binding->m_homingExFld) {
        // A node without "Position Recovering" is never recovering.
        const bool recovering = m_binding->m_posnRecoveringFld && m_binding->m_posnRecoveringFld->get_Value() == 1;
        m_homingActive = m_homingActive && m_binding->m_homingExFld->get_Value() == 0 && !recovering;
    }

    if (m_binding->m_opModeFld->get_Value() == opmode::HomeToHardStop) {
        jogAndSwInputs& io = Deref(m_io.get());
        if (m_homingActive && !m_wasHomingActive && !io.get_ExternalInputs()) {
            // Homing has just started while the overrides drive the inputs: the Input B
            // override takes the home sensor polarity; the box follows through UpdateView.
            m_busy = false;
            const int16_t level = Deref(m_binding->m_homeSensorPolarityFld).get_Value() != 0 ? 1 : 0;
            inCheck_Click(2, level);
            m_busy = true;
        }
        m_ctl.hardStopCmd->put_Visible(false);
        m_ctl.hardStopCmd->put_FontBold(false);
        m_ctl.HSwarnBox->put_Visible(false);
        ShowStopWarning(!io.get_ExternalInputs() && m_homingActive);
    } else {
        m_ctl.hardStopCmd->put_Visible(true);
        m_ctl.hardStopCmd->put_FontBold(m_homingActive);
        m_ctl.hardStopCmd->put_Enabled(m_enabled && m_homingActive);
        m_ctl.HSwarnBox->put_Visible(m_homingActive);
        ShowStopWarning(false);
    }
}

void ArnAbsPosnCtl::MotionCheck() {
    bool hwBad = false;
    bool swBad = false;
    int16_t window = 0;
    auto indicate = [this](bool visible, int32_t tipId) {
        m_ctl.motionTriangle->put_ToolTipText(visible ? ResString(tipId) : std::string());
        m_ctl.motionTriangle->put_Visible(visible);
    };

    if (Deref(m_binding->m_node).QueryState() || m_badPosn) {
        indicate(false, 0);
    } else if (Deref(m_binding->m_motionPendingFld.get()).get_Value() == 1) {
        indicate(true, 8017);
    } else {
        bool windowKnown = true;
        try {
            window =
                ToInteger(Deref(Deref(m_binding->m_posnWindowValue).get_NumberValue()).GetDouble() / 80.0);
        } catch (const std::exception&) {
            windowKnown = false;
        }
        if (!windowKnown) {
            indicate(true, 8017);
        } else {
            const int32_t mode = Deref(m_binding->m_opModeFld.get()).get_Value();
            const int32_t bWeight = mode == opmode::FourPositions ? 2 : 0;
            const int32_t hwIndex =
                Deref(m_binding->m_inAFld.get()).get_Value() + bWeight * Deref(m_binding->m_inBFld.get()).get_Value();
            const int32_t swIndex =
                Deref(m_binding->m_inAOrFld.get()).get_Value() + bWeight * Deref(m_binding->m_inBOrFld.get()).get_Value();
            auto measured = [this] {
                return Deref(Deref(m_binding->m_posnMeas.get()).get_NumberValue()).GetDouble();
            };
            const double meas = measured();
            hwBad = std::fabs(PositionOf(hwIndex) - meas) > window;
            // The software selection counts only while the overrides drive the inputs.
            const double measAgain = measured();
            swBad = (std::fabs(PositionOf(swIndex) - measAgain) > window) &
                    !Deref(m_io.get()).get_ExternalInputs();
            if (hwBad && swBad) {
                indicate(true, 8017);
            } else if (hwBad) {
                indicate(true, 8018);
            } else if (swBad) {
                indicate(true, 8019);
            } else {
                indicate(false, 0);
            }
        }
    }

    DebugTrace(*this,
               ".tmr(motion pend) hw=" + CStr(hwBad) + ", sw=" + CStr(swBad) +
                   ", dx=" + CStr(static_cast<int64_t>(window)) +
                   ", tip=" + m_ctl.motionTriangle->get_ToolTipText() + ", pend=" +
                   CStr(static_cast<int64_t>(Deref(m_binding->m_motionPendingFld.get()).get_Value())) +
                   ", badPosn=" + CStr(m_badPosn) + ", vis=" + CStr(m_ctl.motionTriangle->get_Visible()),
               TraceLevelVerbose, false);
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
    m_motionCheckDue = true;
}

void ArnAbsPosnCtl::m_fldEnableReqStatus_UpdateView(const std::shared_ptr<Field>&) {
    // The drive re-reads its position targets whenever the enable request changes.
    for (int32_t n = param::Position1; n <= param::Position4; ++n) {
        Deref(Deref(m_binding->m_node).Param(n)).Refresh();
    }
}

void ArnAbsPosnCtl::FlagPosnAndMotionChecks() {
    m_posnChecksDue = true;
    m_motionCheckDue = true;
}

}  // namespace arn
