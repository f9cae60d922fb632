#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/Event.h"

namespace arn {

enum class SimPin { Enable = 0, InputA = 1, InputB = 2 };

// Where a homing stands: not running, running toward its sensor or stop, or holding at the hard
// stop until "Set Hard Stopped" takes it as home.
enum class SimHoming { Idle, Running, AtHardStop };

// The simulated drive's state and behaviour, without any value objects: parameters as numbers,
// three hardware input pins, the software input states of the stimulus register, homing, and
// motion toward the position that the effective inputs select. Bit layouts come from the table
// in SimLayout. Time advances only through Step().
//
// The drive behaves as a commissioning engineer expects one to; each rule is stated where it is
// implemented:
// - jog and a commanded homing need the drive enabled (MoveVelocity, CommandHoming);
// - a released jog holds where it stopped until a new move (NodeStop, holdingStill);
// - disabling stops any motion and aborts a homing (enableChanged);
// - in four-position mode homing runs to a hard stop and waits there for "Set Hard Stopped"
//   (Step);
// - Teach stores the position the drive holds and refuses while it moves (Teach).
// Every decision a user would want to hear of (a refusal, homing started, waiting at the hard
// stop, homed at X, aborted, taught) is raised as one sentence on Reported.
class SimDrive {
  public:
    // Steps a homing takes to reach its sensor, or in four-position mode the hard stop.
    static constexpr int kHomingTicks = 20;
    static constexpr double kMoveStep = 25.0;         // position units per step toward a target
    static constexpr double kHomingStep = 10.0;       // position units per step while homing
    static constexpr double kJogStepsPerUnit = 10.0;  // a jog moves velocity / 10 per step

    SimDrive();

    // One plain sentence per decision of the drive, raised inside the call that made it.
    Event<const std::string&> Reported;

    bool Has(int32_t number) const;
    // The content of a parameter; registers computed from the drive state are built here.
    double Read(int32_t number) const;
    // A host's write: read-only parameters and bad contents raise ArnError, nothing changes.
    void Write(int32_t number, double content);
    // Commits the one-shot bits of a command register (parameter 285) and clears them.
    void Apply(int32_t number);
    // The drive changing a parameter itself (a test acting as the drive): no read-only rule.
    // Input register 35 sets the pins, 68 the measured position; 181 and 271 are computed and
    // throw std::logic_error.
    void Force(int32_t number, double content);
    std::string UnitsText(int32_t number) const;

    // One period of the drive: homing progress, motion, the end of a trigger pulse.
    void Step();

    void SetPin(SimPin pin, bool on);
    bool Pin(SimPin pin) const { return m_pins[index(pin)]; }
    bool FollowsPins() const { return m_followPins; }
    bool SoftwareState(SimPin pin) const { return m_software[index(pin)]; }
    // The pin under hardware control, the software state otherwise.
    bool Effective(SimPin pin) const;
    bool Enabled() const { return Effective(SimPin::Enable); }

    int32_t OperationalMode() const;
    int SelectedIndex() const;  // 0..3: position 1..4
    double SelectedTarget() const;
    double PositionWindow() const;
    double MeasuredPosition() const { return m_measured; }
    // "Motion Pending": the drive is disabled, not homing, and enabling it by either path would
    // move it at once. The two paths are the hardware pins and, while the drive is under
    // software control, the software states: pending is set only when the position that the
    // pins select and (under software control) the position that the software states select
    // both lie outside the in-position window of the measured position. So under software
    // control one path alone off its position leaves pending clear, and the panel's own
    // comparison then names that path ("via HW input" or "via Override input"); both paths off
    // set pending, the general caution.
    bool MotionPending() const;
    // Whether the position that the pins (false) or the software states (true) select lies
    // within the in-position window of the measured position.
    bool PathAtPosition(bool software) const;
    bool InMotion() const;
    bool AtPosition() const;
    bool QueryState() const { return Enabled() || m_homing; }

    // The drive starting a homing of its own accord (a test or a script acting as the drive):
    // no enable check, as Force has no read-only rule. Raises "Homing started".
    void StartHoming();
    // A host's homing command (the "Start Homing" bit of parameter 285, the dock's button):
    // refused with a report while the drive is disabled. True when homing started.
    bool CommandHoming();
    bool Homing() const { return m_homing; }
    SimHoming HomingState() const;
    // Whether the last homing ended aborted rather than homed (false before any homing).
    bool HomingAborted() const { return m_homingAborted; }
    // Whether the drive is enabled and jogging or moving toward its target (homing excluded).
    bool Moving() const;
    bool Homed() const { return m_homed; }
    void SetHomed(bool homed) { m_homed = homed; }
    void SetPositionRecovering(bool on) { m_positionRecovering = on; }
    bool PositionRecovering() const { return m_positionRecovering; }
    bool TeachingEnabled() const;
    // Teach-in: with "Teach Absolute Positions" on and the drive still, stores the position it
    // holds into the position parameter that the effective inputs select and returns its
    // number; returns 0 and changes nothing while teaching is off, homing runs or the drive
    // moves. Reports what it wrote or why it refused.
    int32_t Teach();
    // Raises "Trigger Detected" of the accumulated status until the next step.
    void PulseTrigger();

    double AccelLimit() const { return m_accelLimit; }
    void SetAccelLimit(double v);
    double DecelLimit() const { return m_decelLimit; }
    void SetDecelLimit(double v);
    // A jog: refused with a report (no error, nothing moves) while the drive is disabled or
    // homing.
    void MoveVelocity(double velocity);
    // Ends a jog; the drive then holds where it stopped.
    void NodeStop(int32_t code);
    bool Jogging() const { return m_jogging; }
    bool Holding() const { return holdingStill(); }
    double JogVelocity() const { return m_jogVelocity; }
    int32_t LastStopCode() const { return m_lastStopCode; }
    int64_t Steps() const { return m_steps; }

  private:
    // The position (0..3) that input A and B select in the current operational mode.
    int IndexOf(bool inputA, bool inputB) const;
    static int index(SimPin pin) { return static_cast<int>(pin); }
    double stored(int32_t number) const;
    uint32_t statusWord() const;
    void latch(const char* key);
    void finishHoming();
    void abortHoming(const std::string& why);
    // Called after every change that may switch the drive's Enable (pins, stimulus register).
    void enableChanged(bool wasEnabled);
    bool holdingStill() const;
    void report(const std::string& sentence) { Reported(sentence); }

    std::map<int32_t, double> m_stored;
    bool m_pins[3] = {false, false, false};
    bool m_followPins = true;
    bool m_software[3] = {false, false, false};
    double m_measured = 0.0;
    bool m_homing = false;
    bool m_homed = false;
    bool m_hardStopPending = false;
    bool m_atHardStop = false;
    bool m_homingAborted = false;
    int m_homingSteps = 0;
    // Where a released jog left the drive: the selection and its target at that moment.
    bool m_holding = false;
    int m_holdIndex = 0;
    double m_holdTarget = 0.0;
    bool m_positionRecovering = false;
    bool m_triggerPulse = false;
    double m_accelLimit = 4.0;
    double m_decelLimit = 4.0;
    bool m_jogging = false;
    double m_jogVelocity = 0.0;
    int32_t m_lastStopCode = 0;
    int64_t m_steps = 0;
};

}  // namespace arn
