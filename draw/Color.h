#pragma once

#include <cstdint>

namespace arn {

// Colour words as the system stores them: &HBBGGRR.
inline constexpr int32_t ColorButtonFace = 0xF0F0F0;
inline constexpr int32_t ColorWindowText = 0x000000;
inline constexpr int32_t ColorWhite = 0xFFFFFF;

// A colour with its opacity (255 opaque). Controls hold &HBBGGRR words; the drawing layer turns
// them into colours once, where a control draws.
struct Color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    friend constexpr bool operator==(const Color&, const Color&) = default;

    static constexpr Color FromBgr(int32_t word) {
        const auto w = static_cast<uint32_t>(word);
        return {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>((w >> 8) & 0xFF),
                static_cast<uint8_t>((w >> 16) & 0xFF), 255};
    }
    static constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        return {r, g, b, a};
    }
    constexpr bool IsTransparent() const { return alpha == 0; }
    constexpr int32_t Bgr() const {
        return static_cast<int32_t>(red | (green << 8) | (blue << 16));
    }
};

// A fill that draws nothing.
inline constexpr Color NoFill{0, 0, 0, 0};

// The toolkit's 3D look, shared by every renderer so that the panel looks the same everywhere.
namespace style {
inline constexpr Color Face = Color::FromBgr(ColorButtonFace);
inline constexpr Color Highlight = Color::Rgb(0xFF, 0xFF, 0xFF);
inline constexpr Color LightShadow = Color::Rgb(0xE3, 0xE3, 0xE3);
inline constexpr Color Shadow = Color::Rgb(0xA0, 0xA0, 0xA0);
inline constexpr Color DarkShadow = Color::Rgb(0x69, 0x69, 0x69);
inline constexpr Color GrayText = Color::Rgb(0x8D, 0x8D, 0x8D);
inline constexpr Color DisabledFill = Color::Rgb(0xE8, 0xE8, 0xE8);
inline constexpr Color Focus = Color::Rgb(0x33, 0x66, 0xCC);
inline constexpr Color WindowText = Color::FromBgr(ColorWindowText);
}  // namespace style

}  // namespace arn
