#include "sim/SimDrive.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "host/values/Value.h"
#include "sim/SimLayout.h"

namespace arn {

namespace sp = param;

namespace {

constexpr const char* kPinKeys[3] = {fieldkey::EnableReq, fieldkey::InA, fieldkey::InB};
constexpr const char* kOverrideKeys[3] = {fieldkey::EnableRequestOverride, fieldkey::InputAOverride,
                                          fieldkey::InputBOverride};

// The fields the drive composes on every read of its computed registers, looked up in the
// table once instead of by key on each read.
struct DriveFields {
    const SimFieldDef* statusPins[3];
    const SimFieldDef* inputPins[3];
    const SimFieldDef* overrides[3];
    const SimFieldDef* homing;
    const SimFieldDef* recovering;
    const SimFieldDef* pending;
    const SimFieldDef* complete;
    const SimFieldDef* inMotion;
    const SimFieldDef* atPosition;
    const SimFieldDef* opMode;
};

const DriveFields& Fields() {
    static const DriveFields fields = [] {
        DriveFields f{};
        for (int i = 0; i < 3; ++i) {
            f.statusPins[i] = &SimField(sp::Status, kPinKeys[i]);
            f.inputPins[i] = &SimField(sp::InputRegister, kPinKeys[i]);
            f.overrides[i] = &SimField(sp::InputStimulus, kOverrideKeys[i]);
        }
        f.homing = &SimField(sp::Status, fieldkey::Homing);
        f.recovering = &SimField(sp::Status, fieldkey::PositionRecovering);
        f.pending = &SimField(sp::Status, fieldkey::MotionPending);
        f.complete = &SimField(sp::Status, fieldkey::HomingComplete);
        f.inMotion = &SimField(sp::Status, fieldkey::InMotion);
        f.atPosition = &SimField(sp::Status, fieldkey::AtPosition);
        f.opMode = &SimField(sp::MotionSetup, fieldkey::OperationalMode);
        return f;
    }();
    return fields;
}

// A position as a report shows it: whole numbers without a fraction or an exponent.
std::string PositionText(double v) {
    std::ostringstream text;
    if (v == std::floor(v) && std::fabs(v) < 1e15) {
        text << static_cast<int64_t>(v);
    } else {
        text.precision(12);
        text << v;
    }
    return text.str();
}

[[noreturn]] void invalid(int32_t number, const std::string& why) {
    throw MakeError(err::InvalidPropertyValue, "SimNode",
                    "parameter " + std::to_string(number) + " " + why);
}

}  // namespace

SimDrive::SimDrive() {
    for (const auto& def : SimParamTable()) {
        m_stored[def.number] = def.initial;
    }
}

bool SimDrive::Has(int32_t number) const {
    return FindSimParam(number) != nullptr;
}

double SimDrive::stored(int32_t number) const {
    auto it = m_stored.find(number);
    return it == m_stored.end() ? 0.0 : it->second;
}

bool SimDrive::Effective(SimPin pin) const {
    return m_followPins ? m_pins[index(pin)] : m_software[index(pin)];
}

int32_t SimDrive::OperationalMode() const {
    return static_cast<int32_t>(
        SimFieldGet(*Fields().opMode, Value::WordOf(stored(sp::MotionSetup))));
}

int SimDrive::IndexOf(bool inputA, bool inputB) const {
    const int a = inputA ? 1 : 0;
    const int b = inputB ? 1 : 0;
    return OperationalMode() == opmode::FourPositions ? a + 2 * b : a;
}

int SimDrive::SelectedIndex() const {
    return IndexOf(Effective(SimPin::InputA), Effective(SimPin::InputB));
}

double SimDrive::SelectedTarget() const {
    return stored(sp::Position1 + SelectedIndex());
}

double SimDrive::PositionWindow() const {
    return std::fabs(stored(sp::PositionWindow)) / 80.0;
}

bool SimDrive::AtPosition() const {
    return std::fabs(SelectedTarget() - m_measured) <= PositionWindow();
}

bool SimDrive::PathAtPosition(bool software) const {
    const bool* states = software ? m_software : m_pins;
    const int selected = IndexOf(states[index(SimPin::InputA)], states[index(SimPin::InputB)]);
    return std::fabs(stored(sp::Position1 + selected) - m_measured) <= PositionWindow();
}

bool SimDrive::MotionPending() const {
    if (Enabled() || m_homing || PathAtPosition(false)) {
        return false;
    }
    return m_followPins || !PathAtPosition(true);
}

bool SimDrive::TeachingEnabled() const {
    return SimFieldGet(sp::TeachingSetup, fieldkey::TeachAbsolutePositions,
                       Value::WordOf(stored(sp::TeachingSetup))) != 0;
}

int32_t SimDrive::Teach() {
    // Only a drive standing still holds a position worth storing: one passing through would
    // store wherever the click happened to catch it.
    const char* refusal = !TeachingEnabled() ? "\"Teach Absolute Positions\" is off"
                          : m_homing         ? "homing runs"
                          : Moving()         ? "the drive is moving; teach once it stands still"
                                             : nullptr;
    if (refusal) {
        report(std::string("Teach refused: ") + refusal);
        return 0;
    }
    const int32_t number = sp::Position1 + SelectedIndex();
    m_stored[number] = m_measured;
    report("Taught position " + std::to_string(number - sp::Position1 + 1) + " (parameter " +
           std::to_string(number) + "): " + PositionText(m_measured));
    return number;
}

bool SimDrive::holdingStill() const {
    // Any new move ends the hold: another position selected, or the held one's target changed.
    return m_holding && SelectedIndex() == m_holdIndex && SelectedTarget() == m_holdTarget;
}

bool SimDrive::Moving() const {
    return Enabled() && (m_jogging || (!holdingStill() && SelectedTarget() != m_measured));
}

bool SimDrive::InMotion() const {
    return m_homing || Moving();
}

SimHoming SimDrive::HomingState() const {
    return !m_homing ? SimHoming::Idle : m_atHardStop ? SimHoming::AtHardStop : SimHoming::Running;
}

uint32_t SimDrive::statusWord() const {
    const DriveFields& f = Fields();
    uint32_t word = 0;
    for (int i = 0; i < 3; ++i) {
        word = SimFieldSet(*f.statusPins[i], word, Effective(static_cast<SimPin>(i)));
    }
    word = SimFieldSet(*f.homing, word, m_homing);
    word = SimFieldSet(*f.recovering, word, m_positionRecovering);
    word = SimFieldSet(*f.pending, word, MotionPending());
    word = SimFieldSet(*f.complete, word, m_homed);
    word = SimFieldSet(*f.inMotion, word, InMotion());
    word = SimFieldSet(*f.atPosition, word, AtPosition());
    return word;
}

double SimDrive::Read(int32_t number) const {
    switch (number) {
        case sp::InputRegister: {
            uint32_t word = 0;
            for (int i = 0; i < 3; ++i) {
                word = SimFieldSet(*Fields().inputPins[i], word, m_pins[i]);
            }
            return word;
        }
        case sp::MeasuredPosition:
            return m_measured;
        case sp::Status:
            return statusWord();
        case sp::InputStimulus: {
            if (m_followPins) {
                return StimulusFollowsPins;
            }
            uint32_t word = 0;
            for (int i = 0; i < 3; ++i) {
                word = SimFieldSet(*Fields().overrides[i], word, m_software[i]);
            }
            return word;
        }
        case sp::UnitsText:
            return stored(sp::UnitsSelect);
        default:
            return stored(number);
    }
}

void SimDrive::Write(int32_t number, double content) {
    const auto* def = FindSimParam(number);
    if (!def) {
        throw ArnError(err::SubscriptOutOfRange.number, "SimNode",
                       "Parameter " + std::to_string(number) + " does not exist");
    }
    if (def->readOnly) {
        throw ArnError(err::ReadOnlyProperty.number, "SimNode",
                       "Parameter " + std::to_string(number) + " (" + def->name + ") is read-only");
    }
    if (!std::isfinite(content)) {
        invalid(number, "needs a finite number");
    }
    if (number == sp::UnitsSelect &&
        (content != std::floor(content) || content < 0 || content >= kSimUnitsCount)) {
        invalid(number, "selects units 0 to " + std::to_string(kSimUnitsCount - 1));
    }
    Force(number, content);
}

void SimDrive::Force(int32_t number, double content) {
    const bool wasEnabled = Enabled();
    switch (number) {
        case sp::InputRegister: {
            const uint32_t word = Value::WordOf(content);
            for (int i = 0; i < 3; ++i) {
                m_pins[i] = SimFieldGet(sp::InputRegister, kPinKeys[i], word) != 0;
            }
            enableChanged(wasEnabled);
            return;
        }
        case sp::MeasuredPosition:
            m_measured = content;
            return;
        case sp::InputStimulus: {
            // Exactly 65535 hands the inputs back to the pins; anything else is software
            // control with the states in the override bits, every other bit dropped.
            m_followPins = content == StimulusFollowsPins;
            if (!m_followPins) {
                const uint32_t word = Value::WordOf(content);
                for (int i = 0; i < 3; ++i) {
                    m_software[i] = SimFieldGet(sp::InputStimulus, kOverrideKeys[i], word) != 0;
                }
            }
            enableChanged(wasEnabled);
            return;
        }
        case sp::Status:
        case sp::UnitsText:
            throw std::logic_error("parameter " + std::to_string(number) +
                                   " is computed by the simulated drive");
        default:
            m_stored[number] = content;
    }
}

void SimDrive::Apply(int32_t number) {
    if (number != sp::HomingCommand) {
        return;
    }
    const uint32_t word = Value::WordOf(stored(number));
    m_stored[number] = 0;
    if (SimFieldGet(number, fieldkey::AbortHoming, word) != 0) {
        if (m_homing) {
            abortHoming("\"Abort Homing\" was written");
        }
        return;
    }
    if (SimFieldGet(number, fieldkey::StartHoming, word) != 0) {
        CommandHoming();
    }
    // The hard stop is taken as home at the drive's next step, not inside the caller's call.
    if (SimFieldGet(number, fieldkey::SetHardStopped, word) != 0) {
        if (m_homing) {
            m_hardStopPending = true;
        } else {
            report("\"Set Hard Stopped\" ignored: no homing runs");
        }
    }
}

std::string SimDrive::UnitsText(int32_t number) const {
    const auto* def = FindSimParam(number);
    if (!def || !def->positional) {
        return {};
    }
    return SimUnitsName(static_cast<int32_t>(stored(sp::UnitsSelect)));
}

void SimDrive::SetPin(SimPin pin, bool on) {
    const bool wasEnabled = Enabled();
    m_pins[index(pin)] = on;
    enableChanged(wasEnabled);
}

void SimDrive::enableChanged(bool wasEnabled) {
    if (!wasEnabled || Enabled()) {
        return;
    }
    // Disabling drops the motor's power: a jog ends, a homing cannot finish, and the hold ends,
    // so that enabling again moves to the selected position (what "Motion Pending" warns of).
    m_holding = false;
    if (m_jogging) {
        m_jogging = false;
        m_jogVelocity = 0.0;
        report("Jog stopped at " + PositionText(m_measured) + ": the drive was disabled");
    }
    if (m_homing) {
        abortHoming("the drive was disabled");
    }
}

void SimDrive::StartHoming() {
    m_homing = true;
    m_homed = false;
    m_homingAborted = false;
    m_hardStopPending = false;
    m_atHardStop = false;
    m_homingSteps = 0;
    m_jogging = false;
    m_holding = false;
    report(OperationalMode() == opmode::FourPositions
               ? "Homing started: the drive runs to the hard stop"
               : "Homing started");
}

bool SimDrive::CommandHoming() {
    if (!Enabled()) {
        report("Homing refused: the drive is not enabled");
        return false;
    }
    StartHoming();
    return true;
}

void SimDrive::abortHoming(const std::string& why) {
    m_homing = false;
    m_hardStopPending = false;
    m_atHardStop = false;
    m_homingAborted = true;
    report("Homing aborted at " + PositionText(m_measured) + ": " + why + "; not homed");
}

void SimDrive::PulseTrigger() {
    latch(fieldkey::TriggerDetected);
    m_triggerPulse = true;
}

void SimDrive::latch(const char* key) {
    const uint32_t word = Value::WordOf(stored(sp::AccumulatedStatus));
    m_stored[sp::AccumulatedStatus] = SimFieldSet(sp::AccumulatedStatus, key, word, 1);
}

void SimDrive::finishHoming() {
    m_homing = false;
    m_hardStopPending = false;
    m_atHardStop = false;
    m_homed = true;
    m_measured = stored(sp::HomeOffset);
    latch(fieldkey::HomingDone);
    report("Homed at " + PositionText(m_measured));
}

void SimDrive::Step() {
    ++m_steps;
    if (m_triggerPulse) {
        const uint32_t word = Value::WordOf(stored(sp::AccumulatedStatus));
        m_stored[sp::AccumulatedStatus] =
            SimFieldSet(sp::AccumulatedStatus, fieldkey::TriggerDetected, word, 0);
        m_triggerPulse = false;
    }
    if (Enabled()) {
        latch(fieldkey::EnableSeen);
    }
    if (m_homing) {
        if (m_hardStopPending) {
            finishHoming();
        } else if (m_atHardStop) {
            // Against the stop the drive waits for "Set Hard Stopped" however long it takes.
        } else if (++m_homingSteps >= kHomingTicks) {
            // In four-position mode the drive homes against a hard stop, which only the user
            // can confirm; other modes home on their sensor and finish by themselves.
            if (OperationalMode() == opmode::FourPositions) {
                m_atHardStop = true;
                report("Homing waits at the hard stop (" + PositionText(m_measured) +
                       "): \"Set Home Posn\" takes it as home");
            } else {
                finishHoming();
            }
        } else {
            const bool negative = SimFieldGet(sp::MotionSetup, fieldkey::HomingDirection,
                                              Value::WordOf(stored(sp::MotionSetup)));
            m_measured += negative ? -kHomingStep : kHomingStep;
        }
        return;
    }
    if (!Enabled()) {
        return;
    }
    if (m_jogging) {
        m_measured += m_jogVelocity / kJogStepsPerUnit;
        return;
    }
    if (holdingStill()) {
        return;
    }
    m_holding = false;
    const double distance = SelectedTarget() - m_measured;
    if (distance == 0.0) {
        return;
    }
    m_measured += std::clamp(distance, -kMoveStep, kMoveStep);
    if (std::fabs(distance) <= kMoveStep) {
        m_measured = SelectedTarget();
        latch(fieldkey::MoveDone);
        PulseTrigger();
    }
}

void SimDrive::SetAccelLimit(double v) {
    if (!std::isfinite(v) || v <= 0) {
        throw MakeError(err::InvalidPropertyValue, "SimNode", "AccelLimit must be above 0");
    }
    m_accelLimit = v;
}

void SimDrive::SetDecelLimit(double v) {
    if (!std::isfinite(v) || v <= 0) {
        throw MakeError(err::InvalidPropertyValue, "SimNode", "DecelLimit must be above 0");
    }
    m_decelLimit = v;
}

void SimDrive::MoveVelocity(double velocity) {
    if (!std::isfinite(velocity)) {
        throw MakeError(err::InvalidPropertyValue, "SimNode", "velocity must be finite");
    }
    // A drive without power cannot jog; it says so instead of pretending to move.
    if (!Enabled() || m_homing) {
        report(m_homing ? "Jog refused: homing runs" : "Jog refused: the drive is not enabled");
        return;
    }
    m_jogging = true;
    m_jogVelocity = velocity;
    m_holding = false;
}

void SimDrive::NodeStop(int32_t code) {
    m_lastStopCode = code;
    if (!m_jogging) {
        return;
    }
    // A released jog stops and holds where it stopped; it does not run back to the target
    // that the inputs selected before the jog.
    m_jogging = false;
    m_jogVelocity = 0.0;
    m_holding = true;
    m_holdIndex = SelectedIndex();
    m_holdTarget = SelectedTarget();
    report("Jog stopped at " + PositionText(m_measured) +
           "; the drive holds there until a new move");
}

}  // namespace arn
