#include "sim/SimLayout.h"

#include <stdexcept>
#include <string>

namespace arn {

namespace sp = param;

const std::vector<SimParamDef>& SimParamTable() {
    // number, name, initial content, read-only, positional, fields {key, bit, count, text}
    static const std::vector<SimParamDef> table = {
        {sp::InputRegister,
         "Input Register",
         0,
         true,
         false,
         {{fieldkey::EnableReq, 0, 1, "Enable input pin", {}},
          {fieldkey::InA, 1, 1, "Input A pin", {}},
          {fieldkey::InB, 2, 1, "Input B pin", {}}}},
        {sp::MeasuredPosition, "Measured Position", 0, true, true, {}},
        {sp::HomingSpeed, "Homing Speed", 50, false, false, {}},
        {sp::HomeOffset, "Home Offset", 0, false, true, {}},
        {sp::Configuration,
         "Configuration",
         1,
         false,
         false,
         {{fieldkey::ConfigurationSource, 0, 2, "Where the configuration came from", {}}}},
        // Mode 8, homing toward negative positions, linear axis.
        {sp::MotionSetup,
         "Motion Setup",
         8 + 256,
         false,
         false,
         {{fieldkey::OperationalMode, 0, 8, "Operational mode", {}},
          {fieldkey::HomingDirection, 8, 1, "Homing direction (1 = negative)", {}},
          {fieldkey::AxisType, 9, 1, "Axis type (1 = infinite rotation)", {}},
          {fieldkey::HomeSensorPolarity, 10, 1, "Home sensor polarity", {}}}},
        {sp::AccumulatedStatus,
         "Accumulated Status",
         0,
         false,
         false,
         {{fieldkey::TriggerDetected,
           0,
           1,
           "Trigger input pulse seen",
           {{0, "No Trigger", true}, {1, "Trigger", true}}},
          {fieldkey::MoveDone, 1, 1, "A move reached its target", {}},
          {fieldkey::HomingDone, 2, 1, "A homing completed", {}},
          {fieldkey::EnableSeen, 3, 1, "The drive was enabled", {}}}},
        {sp::Status,
         "Status",
         0,
         true,
         false,
         {{fieldkey::EnableReq, 0, 1, "Enable request (effective)", {}},
          {fieldkey::InA, 1, 1, "Input A (effective)", {}},
          {fieldkey::InB, 2, 1, "Input B (effective)", {}},
          {fieldkey::Homing, 3, 1, "Homing in progress", {}},
          {fieldkey::PositionRecovering, 4, 1, "Position being recovered", {}},
          {fieldkey::MotionPending, 5, 1, "Enabling would move", {}},
          {fieldkey::HomingComplete, 6, 1, "Homed", {}},
          {fieldkey::InMotion, 7, 1, "Moving", {}},
          {fieldkey::AtPosition, 8, 1, "At the selected position", {}}}},
        {sp::JogSpeed, "Jog Speed", 100, false, false, {}},
        {sp::JogAccel, "Jog Accel", 4, false, false, {}},
        {sp::Position1 + 0, "Position 1", 0, false, true, {}},
        {sp::Position1 + 1, "Position 2", 1000, false, true, {}},
        {sp::Position1 + 2, "Position 3", 2000, false, true, {}},
        {sp::Position1 + 3, "Position 4", 3000, false, true, {}},
        {sp::InputStimulus,
         "Input Stimulus",
         StimulusFollowsPins,
         false,
         false,
         {{fieldkey::EnableRequestOverride, 16, 1, "Software Enable", {}},
          {fieldkey::InputAOverride, 17, 1, "Software Input A", {}},
          {fieldkey::InputBOverride, 18, 1, "Software Input B", {}}}},
        {sp::PositionWindow, "Position Window", 400, false, false, {}},
        {sp::UnitsSelect, "Position Units", 0, false, false, {}},
        {sp::UnitsText, "Position Units Text", 0, true, true, {}},
        {sp::HomingCommand,
         "Homing Command",
         0,
         false,
         false,
         {{fieldkey::StartHoming, 0, 1, "Start homing", {}},
          {fieldkey::SetHardStopped, 1, 1, "Take the hard stop as home", {}},
          {fieldkey::AbortHoming, 2, 1, "Abort homing", {}}}},
        {sp::MaxTravel, "Maximum Travel", 5000, false, true, {}},
        {sp::TeachingSetup,
         "Teaching Setup",
         0,
         false,
         false,
         {{fieldkey::TeachAbsolutePositions, 0, 1, "Teaching enabled", {}},
          {fieldkey::HomingEx, 1, 1, "Extended homing", {}}}},
    };
    return table;
}

const SimParamDef* FindSimParam(int32_t number) {
    for (const auto& def : SimParamTable()) {
        if (def.number == number) {
            return &def;
        }
    }
    return nullptr;
}

const SimFieldDef& SimField(int32_t number, std::string_view key) {
    if (const auto* def = FindSimParam(number)) {
        for (const auto& field : def->fields) {
            if (key == field.key) {
                return field;
            }
        }
    }
    throw std::logic_error("simulated drive has no field '" + std::string(key) + "' in parameter " +
                           std::to_string(number));
}

namespace {
uint32_t maskOf(const SimFieldDef& field) {
    return field.count >= 32 ? 0xFFFFFFFFu : ((1u << field.count) - 1u);
}
}  // namespace

uint32_t SimFieldGet(const SimFieldDef& field, uint32_t word) {
    return (word >> field.bit) & maskOf(field);
}

uint32_t SimFieldSet(const SimFieldDef& field, uint32_t word, uint32_t bits) {
    const uint32_t placed = maskOf(field) << field.bit;
    return (word & ~placed) | ((bits & maskOf(field)) << field.bit);
}

uint32_t SimFieldGet(int32_t number, std::string_view key, uint32_t word) {
    return SimFieldGet(SimField(number, key), word);
}

uint32_t SimFieldSet(int32_t number, std::string_view key, uint32_t word, uint32_t bits) {
    return SimFieldSet(SimField(number, key), word, bits);
}

const char* SimUnitsName(int32_t selection) {
    static const char* const names[kSimUnitsCount] = {"counts", "revs", "mm"};
    return selection >= 0 && selection < kSimUnitsCount ? names[selection] : "";
}

}  // namespace arn
