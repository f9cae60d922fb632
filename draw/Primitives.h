#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/Color.h"
#include "draw/Font.h"
#include "draw/Geometry.h"
#include "draw/Pen.h"

namespace arn {

// The drawing primitives of a display list. Every position and size is in twips on the
// surface; shapes with a fill and a pen take NoFill or NoPen for the part they lack. Outlines of
// rectangles, ellipses and rounded rectangles lie inside the rectangle (a hairline outline covers
// its outermost pixels), so a shape never spills over its box; lines, polylines and polygons are
// stroked centred on their path.

struct FillRectOp {
    Rect box;
    Color color;
};

struct StrokeRectOp {
    Rect box;
    Pen pen;
};

// From a to b, both ends included.
struct LineOp {
    Point a;
    Point b;
    Pen pen;
};

struct PolylineOp {
    std::vector<Point> points;
    Pen pen;
};

// Closed. A transparent fill (NoFill) leaves the inside as it is; NoPen draws no outline.
struct PolygonOp {
    std::vector<Point> points;
    Color fill = NoFill;
    Pen pen = NoPen;
};

struct EllipseOp {
    Rect box;
    Color fill = NoFill;
    Pen pen = NoPen;
};

struct RoundedRectOp {
    Rect box;
    int32_t radius = 0;
    Color fill = NoFill;
    Pen pen = NoPen;
};

enum class HAlign : uint8_t { Left, Center, Right };
enum class VAlign : uint8_t { Top, Center, Bottom };

// One run of text laid out inside box; word wrap breaks it into lines at spaces. Text that does
// not fit is cut at the box.
struct TextOp {
    Rect box;
    std::string text;
    Font font;
    Color color;
    HAlign horizontal = HAlign::Left;
    VAlign vertical = VAlign::Center;
    bool wordWrap = false;
};

// A picture scaled into box. resourceId names the library's icon it was loaded from (0: none),
// for renderers that load icons themselves; the pixels (RGBA rows) serve the others and stay
// valid while owner lives.
struct PictureOp {
    Rect box;
    int32_t resourceId = 0;
    int32_t width = 0;
    int32_t height = 0;
    const uint8_t* rgba = nullptr;
    std::shared_ptr<const void> owner;
    // Filtered when scaled rather than repeated pixel by pixel.
    bool smooth = false;
};

// Restricts what follows to box (intersected with the clip already in force) until the
// matching PopClipOp.
struct PushClipOp {
    Rect box;
};
struct PopClipOp {};

// The keyboard focus mark: a dotted hairline along box.
struct FocusRectOp {
    Rect box;
};

}  // namespace arn
