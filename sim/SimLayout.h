#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace arn {

// Parameter numbers of the simulated drive.
namespace simparam {
inline constexpr int32_t InputRegister = 35;
inline constexpr int32_t MeasuredPosition = 68;
inline constexpr int32_t HomingSpeed = 159;
inline constexpr int32_t HomeOffset = 161;
inline constexpr int32_t Configuration = 168;
inline constexpr int32_t MotionSetup = 171;
inline constexpr int32_t AccumulatedStatus = 180;
inline constexpr int32_t Status = 181;
inline constexpr int32_t JogSpeed = 213;
inline constexpr int32_t JogAccel = 214;
inline constexpr int32_t Position1 = 247;  // 247..250: positions 1..4
inline constexpr int32_t InputStimulus = 265;
inline constexpr int32_t PositionWindow = 267;
inline constexpr int32_t UnitsSelect = 268;
inline constexpr int32_t UnitsText = 271;
inline constexpr int32_t HomingCommand = 285;
inline constexpr int32_t MaxTravel = 343;
inline constexpr int32_t TeachingSetup = 436;
}  // namespace simparam

// The stimulus register's value while the drive follows its hardware pins.
inline constexpr double kStimulusFollowsPins = 65535.0;

struct SimCaptionDef {
    int32_t value;
    const char* text;
    bool active;
};

struct SimFieldDef {
    const char* key;
    int32_t bit;
    int32_t count;
    const char* description;
    std::vector<SimCaptionDef> captions;
};

struct SimParamDef {
    int32_t number;
    const char* name;
    double initial;
    bool readOnly;    // written by the drive only
    bool positional;  // shown in the position units selected by parameter 268
    std::vector<SimFieldDef> fields;
};

// The drive's parameters and the bit layout of their fields: the one place that says where each
// field lives. The drive itself reads and writes fields by key through this table.
const std::vector<SimParamDef>& SimParamTable();
// nullptr when the drive has no such parameter.
const SimParamDef* FindSimParam(int32_t number);
// The field of the table; throws std::logic_error for a key the table lacks.
const SimFieldDef& SimField(int32_t number, std::string_view key);
// A field's bits in a register word, and the word with a field replaced.
uint32_t SimFieldGet(int32_t number, std::string_view key, uint32_t word);
uint32_t SimFieldSet(int32_t number, std::string_view key, uint32_t word, uint32_t bits);
// The units name of a units selection (parameter 268): 0 "counts", 1 "revs", 2 "mm".
const char* SimUnitsName(int32_t selection);
inline constexpr int32_t kSimUnitsCount = 3;

}  // namespace arn
