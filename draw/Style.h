#pragma once

#include "draw/Color.h"
#include "draw/Geometry.h"

namespace arn {

class DisplayList;

// The pieces of the toolkit's look that several kinds share, appended as primitives. Sizes and
// gaps are pixels at 96 dots per inch (Px), so the look scales with the renderer's zoom; the 3D
// borders are hairlines one device pixel (pixel, in twips) apart, so they stay crisp.
namespace style {

inline constexpr int32_t Px = TwipsPerPixelAt96Dpi;

// A button face: box filled with face inside a two-pixel 3D border, raised or pressed in.
void Bevel(DisplayList& out, const Rect& box, bool raised, Color face, int32_t pixel);
// An edit or check field: box filled with fill inside a one-pixel sunken border.
void SunkenEdge(DisplayList& out, const Rect& box, Color fill, int32_t pixel);
// A tick across a check box's square.
void CheckMark(DisplayList& out, const Rect& square, Color color);
// A triangle filled with fill around an exclamation mark, in the largest square centred in box.
void WarningTriangle(DisplayList& out, const Rect& box, Color fill);
// A round LED in the largest square centred in box; a lit one has a glint so that it reads as
// lit even in a dim colour.
void Led(DisplayList& out, const Rect& box, Color color, bool lit);

// The largest square centred in box.
Rect CentredSquare(const Rect& box);

}  // namespace style

}  // namespace arn
