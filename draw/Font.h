#pragma once

#include <cstdint>

namespace arn {

enum class FontFace : uint8_t { Proportional, Monospace };

// What a control asks of its text's font; the renderer picks the face that fits.
struct Font {
    double points = 8.25;
    bool bold = false;
    FontFace face = FontFace::Proportional;

    friend constexpr bool operator==(const Font&, const Font&) = default;
};

// The host framework's controls (editors, sub-panels) draw their own text in this size rather
// than in a font the panel chooses.
inline constexpr Font HostControlFont{8.5, false, FontFace::Proportional};

}  // namespace arn
