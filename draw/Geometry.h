#pragma once

#include <algorithm>
#include <cstdint>

namespace arn {

// Twips (1/1440 inch) are the unit of every position and size on the panel surface; the
// renderers scale them to device pixels. At the usual 96 pixels per inch a pixel is 15 twips.
inline constexpr int32_t TwipsPerInch = 1440;
inline constexpr int32_t TwipsPerPixelAt96Dpi = 15;

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    friend constexpr bool operator==(const Point&, const Point&) = default;
    constexpr Point Translated(int32_t dx, int32_t dy) const { return {x + dx, y + dy}; }
};

// A rectangle in twips: left and top inclusive, right and bottom exclusive, so rectangles that
// share an edge do not overlap. A rectangle with no width or no height is empty.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;

    friend constexpr bool operator==(const Rect&, const Rect&) = default;

    constexpr int32_t Right() const { return left + width; }
    constexpr int32_t Bottom() const { return top + height; }
    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr Point TopLeft() const { return {left, top}; }

    constexpr bool Contains(Point p) const {
        return !IsEmpty() && p.x >= left && p.x < Right() && p.y >= top && p.y < Bottom();
    }
    constexpr Rect Translated(int32_t dx, int32_t dy) const {
        return {left + dx, top + dy, width, height};
    }
    // Grown by dx on the left and right and dy on the top and bottom (shrunk when negative).
    constexpr Rect Adjusted(int32_t dx, int32_t dy) const {
        return {left - dx, top - dy, width + 2 * dx, height + 2 * dy};
    }
    constexpr bool Intersects(const Rect& o) const {
        return !IsEmpty() && !o.IsEmpty() && left < o.Right() && o.left < Right() &&
               top < o.Bottom() && o.top < Bottom();
    }
    // The common part; empty (all zero) when the two do not meet.
    constexpr Rect Intersected(const Rect& o) const {
        if (!Intersects(o)) {
            return {};
        }
        const int32_t l = std::max(left, o.left);
        const int32_t t = std::max(top, o.top);
        return {l, t, std::min(Right(), o.Right()) - l, std::min(Bottom(), o.Bottom()) - t};
    }
    // The smallest rectangle holding both; an empty side is ignored.
    constexpr Rect United(const Rect& o) const {
        if (IsEmpty()) {
            return o;
        }
        if (o.IsEmpty()) {
            return *this;
        }
        const int32_t l = std::min(left, o.left);
        const int32_t t = std::min(top, o.top);
        return {l, t, std::max(Right(), o.Right()) - l, std::max(Bottom(), o.Bottom()) - t};
    }
};

}  // namespace arn
