#pragma once

#include "draw/Geometry.h"
#include "draw/TextMetrics.h"

namespace arn {

// Where and how one control draws itself, handed to Control::Draw by the surface painter.
struct DrawContext {
    // The control's rectangle on the surface, in twips.
    Rect box;
    // Its container's top left corner on the surface; a line's end points are measured from it.
    Point origin;
    // The user holds the mouse down on it (buttons draw pressed in).
    bool pressed = false;
    // The renderer's text sizes, for layouts that follow their text.
    const TextMetrics& metrics;
    // One device pixel in twips (metrics.PixelTwips()), for the hairline borders.
    int32_t pixel = TwipsPerPixelAt96Dpi;
};

}  // namespace arn
