#pragma once

#include <memory>

namespace arn {

class ArnAbsPosnCtl;
class PanelControls;
struct NodeBinding;

// The panel's periodic monitor of homing and motion: it follows the node's homing state (and
// with it the hard-stop command and the stop warning) on every tick, and checks whether
// enabling would move the motor when that check is due. It owns the homing state of the last
// two ticks and the flag that asks for the next motion check; everything else it reads
// belongs to the panel.
class HomingMonitor {
  public:
    HomingMonitor(ArnAbsPosnCtl& panel, PanelControls& ctl,
                  const std::unique_ptr<NodeBinding>& binding);
    HomingMonitor(const HomingMonitor&) = delete;
    HomingMonitor& operator=(const HomingMonitor&) = delete;

    // Reads the homing state; in the hard-stop homing mode a homing that has just started
    // while the overrides drive the inputs sets the Input B override to the home sensor
    // polarity.
    void UpdateHomingState();
    // Shows or hides the motion indicator with its caution text; runs once per due check.
    void MotionCheck();
    void ShowStopWarning(bool visible);

    void FlagMotionCheck() { m_motionCheckDue = true; }
    bool MotionCheckDue() const { return m_motionCheckDue; }
    void ClearMotionCheck() { m_motionCheckDue = false; }

    bool HomingActive() const { return m_homingActive; }
    bool HomingChanged() const { return m_wasHomingActive != m_homingActive; }
    // A change of the homing state whose controls UpdateFocus has not yet locked or freed: a
    // tick that fails after reading the new state keeps it for the next tick.
    bool FocusDue() const { return m_focusDue; }
    void ClearFocusDue() { m_focusDue = false; }
    // The homing state found when the node is bound, as if it had held since the last tick.
    void ResetHoming(bool active) {
        m_homingActive = active;
        m_wasHomingActive = active;
        m_startDue = false;
    }

  private:
    ArnAbsPosnCtl& m_panel;
    PanelControls& m_ctl;
    const std::unique_ptr<NodeBinding>& m_binding;

    bool m_homingActive = false;
    bool m_wasHomingActive = false;
    bool m_motionCheckDue = false;
    bool m_focusDue = false;
    // A homing start in the hard-stop mode whose Input B override is still to be written.
    bool m_startDue = false;
};

}  // namespace arn
