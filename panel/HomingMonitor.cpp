// The periodic monitor of homing and motion.
#include "panel/HomingMonitor.h"

#include <cmath>

#include "core/NumberConversion.h"
#include "core/ObjectRef.h"
#include "host/values/Number.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/NodeBinding.h"
#include "panel/PanelStrings.h"
#include "support/ControlUtils.h"
#include "support/DebuggingFlags.h"
#include "support/Format.h"

namespace arn {

HomingMonitor::HomingMonitor(ArnAbsPosnCtl& panel, PanelControls& ctl,
                             const std::unique_ptr<NodeBinding>& binding)
    : m_panel(panel), m_ctl(ctl), m_binding(binding) {}

void HomingMonitor::UpdateHomingState() {
    if (!m_binding->m_homingFld) {
        ShowStopWarning(false);
        m_ctl.hardStopCmd->put_Visible(false);
        m_ctl.hardStopCmd->put_FontBold(false);
        m_ctl.HSwarnBox->put_Visible(false);
        return;
    }
    m_wasHomingActive = m_homingActive;
    // The new state is worked out whole before it is taken, so that a failing read leaves the
    // state of the last tick for the next one to compare with.
    bool active = m_binding->m_homingFld->get_Value() == 1;
    if (Deref(m_binding->m_opModeFld.get()).get_Value() == opmode::FourPositions &&
        m_binding->m_homingExFld) {
        // A node without "Position Recovering" is never recovering.
        const bool recovering =
            m_binding->m_posnRecoveringFld && m_binding->m_posnRecoveringFld->get_Value() == 1;
        active = active && m_binding->m_homingExFld->get_Value() == 0 && !recovering;
    }
    m_homingActive = active;
    // The work a change asks for stays due until it has run, even if this tick fails first.
    if (m_homingActive != m_wasHomingActive) {
        m_focusDue = true;
    }
    if (m_homingActive && !m_wasHomingActive) {
        m_startDue = true;
    } else if (!m_homingActive) {
        m_startDue = false;
    }

    if (m_binding->m_opModeFld->get_Value() == opmode::HomeToHardStop) {
        jogAndSwInputs& io = Deref(m_panel.m_io.get());
        if (m_startDue && !io.get_ExternalInputs()) {
            // Homing has just started while the overrides drive the inputs: the Input B
            // override takes the home sensor polarity; the box follows through UpdateView.
            m_panel.m_busy = false;
            const int16_t level =
                Deref(m_binding->m_homeSensorPolarityFld).get_Value() != 0 ? 1 : 0;
            m_panel.inCheck_Click(2, level);
            m_panel.m_busy = true;
        }
        m_startDue = false;
        m_ctl.hardStopCmd->put_Visible(false);
        m_ctl.hardStopCmd->put_FontBold(false);
        m_ctl.HSwarnBox->put_Visible(false);
        ShowStopWarning(!io.get_ExternalInputs() && m_homingActive);
    } else {
        m_startDue = false;
        m_ctl.hardStopCmd->put_Visible(true);
        m_ctl.hardStopCmd->put_FontBold(m_homingActive);
        m_ctl.hardStopCmd->put_Enabled(m_panel.m_enabled && m_homingActive);
        m_ctl.HSwarnBox->put_Visible(m_homingActive);
        ShowStopWarning(false);
    }
}

void HomingMonitor::MotionCheck() {
    bool hwBad = false;
    bool swBad = false;
    int16_t window = 0;
    auto indicate = [this](bool visible, int32_t tipId) {
        m_ctl.motionTriangle->put_ToolTipText(visible ? ResString(tipId) : std::string());
        m_ctl.motionTriangle->put_Visible(visible);
    };

    if (Deref(m_binding->m_node).QueryState() || m_panel.m_positions.BadPosn()) {
        indicate(false, 0);
    } else if (Deref(m_binding->m_motionPendingFld.get()).get_Value() == 1) {
        indicate(true, 8017);
    } else {
        bool windowKnown = true;
        try {
            window = ToInteger(
                Deref(Deref(m_binding->m_posnWindowValue).get_NumberValue()).GetDouble() / 80.0,
                "");
        } catch (const std::exception&) {
            windowKnown = false;
        }
        if (!windowKnown) {
            indicate(true, 8017);
        } else {
            const int32_t mode = Deref(m_binding->m_opModeFld.get()).get_Value();
            const int32_t bWeight = mode == opmode::FourPositions ? 2 : 0;
            const int32_t hwIndex = Deref(m_binding->m_inAFld.get()).get_Value() +
                                    bWeight * Deref(m_binding->m_inBFld.get()).get_Value();
            const int32_t swIndex = Deref(m_binding->m_inAOrFld.get()).get_Value() +
                                    bWeight * Deref(m_binding->m_inBOrFld.get()).get_Value();
            auto measured = [this] {
                return Deref(Deref(m_binding->m_posnMeas.get()).get_NumberValue()).GetDouble();
            };
            const double meas = measured();
            hwBad = std::fabs(m_panel.m_positions.PositionOf(hwIndex) - meas) > window;
            // The software selection counts only while the overrides drive the inputs.
            const double measAgain = measured();
            swBad = (std::fabs(m_panel.m_positions.PositionOf(swIndex) - measAgain) > window) &
                    !Deref(m_panel.m_io.get()).get_ExternalInputs();
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

    // The pending field is read again for the line whether or not it is emitted, so the tick
    // makes the same calls at every trace level; only building the text waits for the level.
    const int32_t pending = Deref(m_binding->m_motionPendingFld.get()).get_Value();
    if (TraceLevelOn(TraceLevelVerbose)) {
        DebugTrace(m_panel,
                   ".tmr(motion pend) hw=" + CStr(hwBad) + ", sw=" + CStr(swBad) +
                       ", dx=" + CStr(static_cast<int64_t>(window)) +
                       ", tip=" + m_ctl.motionTriangle->get_ToolTipText() +
                       ", pend=" + CStr(static_cast<int64_t>(pending)) +
                       ", badPosn=" + CStr(m_panel.m_positions.BadPosn()) +
                       ", vis=" + CStr(m_ctl.motionTriangle->get_Visible()),
                   TraceLevelVerbose, false);
    }
}

void HomingMonitor::ShowStopWarning(bool visible) {
    for (const auto& line : m_ctl.warnLine) {
        line->put_Visible(visible);
    }
    m_ctl.warnBox->put_Visible(visible);
    m_ctl.warnLbl->put_Visible(visible);
}

}  // namespace arn
