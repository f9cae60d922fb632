#pragma once

#include <cstdint>

#include "draw/Color.h"

namespace arn {

// None draws no line at all.
enum class LineStyle : uint8_t { Solid, Dash, Dot, None };

// How an outline or line is stroked.
struct Pen {
    Color color;
    // In twips, drawn at least one device pixel wide. 0 is a hairline: exactly one device pixel
    // at any zoom, the width of the 3D borders.
    int32_t width = 0;
    LineStyle style = LineStyle::Solid;
    // Round caps and joins instead of square ones.
    bool round = false;

    friend constexpr bool operator==(const Pen&, const Pen&) = default;
    constexpr bool IsHairline() const { return width == 0; }
    constexpr bool IsNone() const { return style == LineStyle::None; }
};

inline constexpr Pen NoPen{Color{}, 0, LineStyle::None, false};

}  // namespace arn
