#pragma once

#include <cstdint>

namespace arn {

// The node's parameters as the panel, the inputs object and the simulated drive know them: the
// one place that names each number, field key and register value with a meaning.
namespace param {
inline constexpr int32_t InputRegister = 35;  // the drive's input pins
inline constexpr int32_t MeasuredPosition = 68;
inline constexpr int32_t HomingSpeed = 159;
inline constexpr int32_t HomeOffset = 161;
inline constexpr int32_t Configuration = 168;
inline constexpr int32_t MotionSetup = 171;
inline constexpr int32_t AccumulatedStatus = 180;  // latched status bits
inline constexpr int32_t Status = 181;
inline constexpr int32_t JogSpeed = 213;
inline constexpr int32_t JogAccel = 214;
inline constexpr int32_t Position1 = 247;  // Position1 + i is position i + 1
inline constexpr int32_t Position4 = 250;
inline constexpr int32_t InputStimulus = 265;  // the software overrides of the pins
inline constexpr int32_t PositionWindow = 267;
inline constexpr int32_t UnitsSelect = 268;
inline constexpr int32_t UnitsText = 271;
inline constexpr int32_t HomingCommand = 285;
inline constexpr int32_t MaxTravel = 343;
inline constexpr int32_t TeachingSetup = 436;

// The number of position parameters; the panel shows four of them at most.
inline constexpr int32_t PositionCount = 16;
constexpr bool IsPosition1To4(int32_t number) {
    return number >= Position1 && number <= Position4;
}
}  // namespace param

// Keys of the fields within those parameters.
namespace fieldkey {
// Configuration (168).
inline constexpr const char* ConfigurationSource = "Configuration Source";
// Motion setup (171).
inline constexpr const char* OperationalMode = "Operational Mode";
inline constexpr const char* HomingDirection = "Homing Direction";
inline constexpr const char* AxisType = "Axis Type";
inline constexpr const char* HomeSensorPolarity = "Home Sensor Polarity";
// Input register (35) and status (181).
inline constexpr const char* EnableReq = "Enable Req";
inline constexpr const char* InA = "InA";
inline constexpr const char* InB = "InB";
// Status (181).
inline constexpr const char* Homing = "Homing";
inline constexpr const char* PositionRecovering = "Position Recovering";
inline constexpr const char* MotionPending = "Motion Pending";
inline constexpr const char* HomingComplete = "Homing Complete";
inline constexpr const char* InMotion = "In Motion";
inline constexpr const char* AtPosition = "At Position";
// Accumulated status (180).
inline constexpr const char* TriggerDetected = "Trigger Detected";
inline constexpr const char* MoveDone = "Move Done";
inline constexpr const char* HomingDone = "Homing Done";
inline constexpr const char* EnableSeen = "Enable Seen";
// Input stimulus (265).
inline constexpr const char* EnableRequestOverride = "Enable Request OR Override";
inline constexpr const char* InputAOverride = "Input-A OR Override";
inline constexpr const char* InputBOverride = "Input-B OR Override";
// Homing command (285).
inline constexpr const char* StartHoming = "Start Homing";
inline constexpr const char* SetHardStopped = "Set Hard Stopped";
inline constexpr const char* AbortHoming = "Abort Homing";
// Teaching setup (436).
inline constexpr const char* TeachAbsolutePositions = "Teach Absolute Positions";
inline constexpr const char* HomingEx = "Homing Ex";
}  // namespace fieldkey

// The stimulus register's value while the drive follows its hardware pins.
inline constexpr double StimulusFollowsPins = 65535.0;

// Values of the field "Operational Mode" with a meaning to the panel; every other value gets
// the two-position layout.
namespace opmode {
inline constexpr int32_t FourPositions = 8;    // four positions picked by Input A and Input B
inline constexpr int32_t HomeToHardStop = 18;  // two positions, with its own homing handling
}  // namespace opmode

}  // namespace arn
