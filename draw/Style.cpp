#include "draw/Style.h"

#include <algorithm>
#include <cmath>

#include "draw/DisplayList.h"

namespace arn::style {

namespace {

// Border and mark colours of the symbols.
constexpr Color WarningOutline = Color::Rgb(0x50, 0x3C, 0x00);
constexpr Color LedOutline = Color::Rgb(0x30, 0x30, 0x30);
constexpr Color Black = Color::Rgb(0, 0, 0);
// The check mark's stroke, a little heavier than a pixel so it reads at small sizes.
constexpr int32_t MarkWidth = Px * 18 / 10;

int32_t Part(int32_t length, double fraction) {
    return static_cast<int32_t>(std::lround(length * fraction));
}

Point At(const Rect& r, double fx, double fy) {
    return {r.left + Part(r.width, fx), r.top + Part(r.height, fy)};
}

// Hairline edges of r: top and left in one colour, bottom and right in the other.
void Edges(DisplayList& out, const Rect& r, Color topLeft, Color bottomRight, int32_t pixel) {
    const int32_t right = r.Right() - pixel;
    const int32_t bottom = r.Bottom() - pixel;
    out.Line({r.left, r.top}, {right, r.top}, Pen{topLeft});
    out.Line({r.left, r.top}, {r.left, bottom}, Pen{topLeft});
    out.Line({r.left, bottom}, {right, bottom}, Pen{bottomRight});
    out.Line({right, r.top}, {right, bottom}, Pen{bottomRight});
}

}  // namespace

Rect CentredSquare(const Rect& box) {
    const int32_t side = std::min(box.width, box.height);
    return {box.left + (box.width - side) / 2, box.top + (box.height - side) / 2, side, side};
}

void Bevel(DisplayList& out, const Rect& box, bool raised, Color face, int32_t pixel) {
    out.Fill(box, face);
    Edges(out, box, raised ? Highlight : DarkShadow, raised ? DarkShadow : Highlight, pixel);
    Edges(out, box.Adjusted(-pixel, -pixel), raised ? LightShadow : Shadow,
          raised ? Shadow : LightShadow, pixel);
}

void SunkenEdge(DisplayList& out, const Rect& box, Color fill, int32_t pixel) {
    out.Fill(box, fill);
    Edges(out, box, Shadow, Highlight, pixel);
}

void CheckMark(DisplayList& out, const Rect& square, Color color) {
    out.Add(PolylineOp{{At(square, 0.25, 0.52), At(square, 0.43, 0.72), At(square, 0.77, 0.28)},
                       Pen{color, MarkWidth, LineStyle::Solid, true}});
}

void WarningTriangle(DisplayList& out, const Rect& box, Color fill) {
    const Rect r = CentredSquare(box);
    const int32_t side = r.width;
    out.Add(PolygonOp{{At(r, 0.5, 0.06), At(r, 0.97, 0.94), At(r, 0.03, 0.94)},
                      fill,
                      Pen{WarningOutline, std::max(1, side / 14), LineStyle::Solid, true}});
    // The exclamation mark: a tapered bar and a dot.
    out.Add(
        PolygonOp{{At(r, 0.43, 0.33), At(r, 0.57, 0.33), At(r, 0.535, 0.66), At(r, 0.465, 0.66)},
                  Black,
                  NoPen});
    const int32_t dot = Part(side, 0.055);
    const Point centre = At(r, 0.5, 0.77);
    out.Add(EllipseOp{{centre.x - dot, centre.y - dot, 2 * dot, 2 * dot}, Black, NoPen});
}

void Led(DisplayList& out, const Rect& box, Color color, bool lit) {
    const Rect r = CentredSquare(box);
    out.Add(EllipseOp{r, color, Pen{LedOutline, Px}});
    if (!lit) {
        return;
    }
    // The glint: a white spot above left of the centre that fades outwards, as stacked
    // translucent discs, so that every renderer draws it without gradients.
    const Point centre = At(r, 0.32, 0.32);
    constexpr struct {
        double radius;
        uint8_t alpha;
    } discs[] = {{0.24, 60}, {0.16, 60}, {0.08, 100}};
    for (const auto& disc : discs) {
        const int32_t radius = Part(r.width, disc.radius);
        out.Add(EllipseOp{{centre.x - radius, centre.y - radius, 2 * radius, 2 * radius},
                          Color::Rgb(0xFF, 0xFF, 0xFF, disc.alpha),
                          NoPen});
    }
}

}  // namespace arn::style
