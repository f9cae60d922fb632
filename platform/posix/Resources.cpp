#include "platform/Resources.h"

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

constexpr Rgba kClear{0, 0, 0, 0};

// The look of one box state: a framed square, with a tick when checked. Disabled boxes are
// drawn in greys so that they read as unavailable next to enabled ones.
struct BoxStyle {
    Rgba frame;
    Rgba fill;
    Rgba tick;
};

constexpr BoxStyle kEnabledStyle{
    {0x33, 0x33, 0x33, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF}, {0x10, 0x70, 0x20, 0xFF}};
constexpr BoxStyle kDisabledStyle{
    {0xA0, 0xA0, 0xA0, 0xFF}, {0xE4, 0xE4, 0xE4, 0xFF}, {0x90, 0x90, 0x90, 0xFF}};

class Canvas {
  public:
    explicit Canvas(int32_t size)
        : m_size(size), m_pixels(static_cast<size_t>(size) * static_cast<size_t>(size), kClear) {}

    void Set(int32_t x, int32_t y, Rgba c) {
        if (x >= 0 && y >= 0 && x < m_size && y < m_size) {
            m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_size) +
                     static_cast<size_t>(x)] = c;
        }
    }

    void FillRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgba c) {
        for (int32_t y = y0; y <= y1; ++y) {
            for (int32_t x = x0; x <= x1; ++x) {
                Set(x, y, c);
            }
        }
    }

    // A stroke of the given half width along the segment (ax, ay)-(bx, by), in pixel centres.
    void Stroke(double ax, double ay, double bx, double by, double halfWidth, Rgba c) {
        const double dx = bx - ax;
        const double dy = by - ay;
        const double len2 = dx * dx + dy * dy;
        for (int32_t y = 0; y < m_size; ++y) {
            for (int32_t x = 0; x < m_size; ++x) {
                double t = ((x - ax) * dx + (y - ay) * dy) / len2;
                t = t < 0 ? 0 : (t > 1 ? 1 : t);
                const double ex = ax + t * dx - x;
                const double ey = ay + t * dy - y;
                if (std::sqrt(ex * ex + ey * ey) <= halfWidth) {
                    Set(x, y, c);
                }
            }
        }
    }

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> bytes;
        bytes.reserve(m_pixels.size() * 4);
        for (const Rgba& p : m_pixels) {
            bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
        }
        return bytes;
    }

  private:
    int32_t m_size;
    std::vector<Rgba> m_pixels;
};

ResIcon DrawCheckBox(int32_t id, bool enabled, bool checked) {
    const BoxStyle& style = enabled ? kEnabledStyle : kDisabledStyle;
    const int32_t n = ResIconSize;
    Canvas canvas(n);
    // A 16-pixel box centred in the picture, framed one pixel wide.
    const int32_t lo = 2;
    const int32_t hi = n - 3;
    canvas.FillRect(lo, lo, hi, hi, style.frame);
    canvas.FillRect(lo + 1, lo + 1, hi - 1, hi - 1, style.fill);
    if (checked) {
        // A tick: a short stroke down to the lower left, a long one up to the upper right.
        canvas.Stroke(5.5, 10.0, 8.5, 13.5, 1.1, style.tick);
        canvas.Stroke(8.5, 13.5, 14.5, 5.5, 1.1, style.tick);
    }
    return ResIcon{id, n, n, canvas.Bytes()};
}

const std::map<int32_t, ResIcon>& Icons() {
    static const std::map<int32_t, ResIcon> icons = {
        {ResIconCheckEnabledUnchecked, DrawCheckBox(ResIconCheckEnabledUnchecked, true, false)},
        {ResIconCheckEnabledChecked, DrawCheckBox(ResIconCheckEnabledChecked, true, true)},
        {ResIconCheckDisabledUnchecked, DrawCheckBox(ResIconCheckDisabledUnchecked, false, false)},
        {ResIconCheckDisabledChecked, DrawCheckBox(ResIconCheckDisabledChecked, false, true)},
    };
    return icons;
}

}  // namespace

const ResIcon& LoadResIcon(int32_t id) {
    const auto& icons = Icons();
    const auto it = icons.find(id);
    if (it == icons.end()) {
        throw ResourceNotFoundError(id, "ArnAbsPosn");
    }
    return it->second;
}

}  // namespace arn
