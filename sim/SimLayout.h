#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "host/NodeParams.h"

namespace arn {

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
// The same for a field already looked up, for callers that resolve their fields once.
uint32_t SimFieldGet(const SimFieldDef& field, uint32_t word);
uint32_t SimFieldSet(const SimFieldDef& field, uint32_t word, uint32_t bits);
// The units name of a units selection (parameter 268): 0 "counts", 1 "revs", 2 "mm".
const char* SimUnitsName(int32_t selection);
inline constexpr int32_t kSimUnitsCount = 3;

}  // namespace arn
