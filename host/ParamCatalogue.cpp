#include "host/ParamCatalogue.h"

#include <array>

#include "host/NodeParams.h"

namespace arn {

namespace {

// Speeds are whole counts per period; a million is beyond any drive this panel sets up.
constexpr double MostSpeed = 1'000'000.0;

constexpr std::array<ParamInfo, 10> Catalogue = {{
    {param::MeasuredPosition, "Measured Position", NumberKind::Position, Int32Least, Int32Most},
    {param::HomingSpeed, "Homing Speed", NumberKind::Whole, 1.0, MostSpeed},
    {param::HomeOffset, "Home Offset", NumberKind::Position, Int32Least, Int32Most},
    {param::Position1 + 0, "Position 1", NumberKind::Position, Int32Least, Int32Most},
    {param::Position1 + 1, "Position 2", NumberKind::Position, Int32Least, Int32Most},
    {param::Position1 + 2, "Position 3", NumberKind::Position, Int32Least, Int32Most},
    {param::Position1 + 3, "Position 4", NumberKind::Position, Int32Least, Int32Most},
    {param::PositionWindow, "Position Window", NumberKind::Whole, 0.0, Int32Most},
    {param::UnitsSelect, "Position Units", NumberKind::Whole, 0.0, 2.0},
    {param::MaxTravel, "Maximum Travel", NumberKind::Position, 0.0, Int32Most},
}};

}  // namespace

const ParamInfo* FindParamInfo(int32_t number) {
    for (const ParamInfo& info : Catalogue) {
        if (info.number == number) {
            return &info;
        }
    }
    return nullptr;
}

}  // namespace arn
