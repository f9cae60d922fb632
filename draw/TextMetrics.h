#pragma once

#include <cstdint>
#include <string_view>

#include "draw/Font.h"

namespace arn {

// How large a renderer sets text, for controls whose layout follows their text (a frame's
// border breaks for its caption). Answers are in twips at the renderer's own resolution.
class TextMetrics {
  public:
    virtual ~TextMetrics() = default;

    // The advance of text on one line.
    virtual int32_t TextWidth(const Font& font, std::string_view text) const = 0;
    // The height of one line.
    virtual int32_t TextHeight(const Font& font) const = 0;
    // One device pixel in twips. The hairline borders of the 3D look stay one pixel wide and one
    // pixel apart at any zoom, so the look places them by this rather than by 96-dpi pixels.
    virtual int32_t PixelTwips() const = 0;
};

}  // namespace arn
