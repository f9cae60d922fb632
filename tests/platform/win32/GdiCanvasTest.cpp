// The GDI canvas's pixels in a memory bitmap.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "draw/DisplayList.h"
#include "platform/win32/GdiCanvas.h"

namespace arn::win32 {
namespace {

constexpr int Side = 120;
// 1 twip to 1/15 pixel: the design at 96 pixels per inch.
constexpr double Scale = 1.0 / 15;
// Colours as the system reads them back (&HBBGGRR).
constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Red = 0x0000FF;
constexpr COLORREF Blue = 0xFF0000;

// A 32-bit top-down DIB section selected into a memory DC, cleared to white.
class Bitmap {
  public:
    Bitmap() : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), Side, -Side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_old =
            SelectObject(m_dc, CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        const RECT all{0, 0, Side, Side};
        FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Bitmap() {
        DeleteObject(SelectObject(m_dc, m_old));
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    int Count(COLORREF bgr, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                n += At(x, y) == bgr ? 1 : 0;
            }
        }
        return n;
    }

  private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// Twips of pixel x (the canvas draws 15 twips to the pixel).
constexpr int32_t T(int px) {
    return px * 15;
}

TEST(GdiCanvas, DrawsEachPrimitiveWhereTheDisplayListSaysAndNowhereElse) {
    const Color red = Color::Rgb(0xFF, 0, 0);
    const Color blue = Color::Rgb(0, 0, 0xFF);
    const std::vector<uint8_t> redPixels = {255, 0, 0, 255, 255, 0, 0, 255,
                                            255, 0, 0, 255, 255, 0, 0, 255};
    const std::vector<uint8_t> clearPixels(16, 0);
    // What is drawn, a pixel inside it with its colour, and one just outside that stays white.
    struct Row {
        std::vector<DrawOp> ops;
        POINT inside;
        COLORREF insideRgb;
        POINT outside;
    };
    const Rect r10{T(10), T(10), T(20), T(20)};
    const Rect r30{T(10), T(10), T(40), T(40)};
    const Rect box{T(20), T(20), T(20), T(20)};
    const Rect all{T(0), T(0), T(100), T(100)};
    const std::vector<Point> triangle{{T(10), T(10)}, {T(50), T(10)}, {T(10), T(50)}};
    const std::vector<Point> corner{{T(10), T(60)}, {T(50), T(60)}, {T(50), T(90)}};
    const PictureOp opaque{box, 0, 2, 2, redPixels.data(), {}, false};
    const PictureOp clear{box, 0, 2, 2, clearPixels.data(), {}, false};
    const LineOp line{{T(5), T(50)}, {T(40), T(50)}, Pen{blue}};
    // A clip keeps a fill inside it, and pops.
    const std::vector<DrawOp> clipped{PushClipOp{{T(0), T(0), T(30), T(30)}}, FillRectOp{all, red},
                                      PopClipOp{}, FillRectOp{{T(60), T(60), T(10), T(10)}, blue}};
    const std::vector<Row> rows = {
        {{FillRectOp{r10, red}}, {29, 29}, Red, {30, 30}},  // right and bottom edges exclusive
        {{StrokeRectOp{r10, Pen{blue}}}, {29, 15}, Blue, {20, 20}},  // a hairline
        {{line}, {40, 50}, Blue, {41, 50}},                          // both ends
        {{EllipseOp{r30, red, NoPen}}, {30, 30}, Red, {11, 11}},
        {{RoundedRectOp{r30, T(10), blue, NoPen}}, {30, 12}, Blue, {10, 10}},
        {{PolygonOp{triangle, blue, NoPen}}, {15, 15}, Blue, {45, 45}},
        {{PolylineOp{corner, Pen{red}}}, {50, 75}, Red, {30, 75}},
        {clipped, {65, 65}, Blue, {40, 40}},
        {{opaque}, {39, 39}, Red, {40, 40}},  // scaled into its box
        {{clear}, {30, 30}, White, {0, 0}},   // leaves the background
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows.data());
        Bitmap bitmap;
        {
            GdiCanvas canvas(bitmap.Dc(), POINT{0, 0}, Scale, Scale);
            for (const DrawOp& op : row.ops) {
                std::visit([&](const auto& one) { canvas.Draw(one); }, op);
            }
        }
        EXPECT_EQ(bitmap.At(row.inside.x, row.inside.y), row.insideRgb);
        EXPECT_EQ(bitmap.At(row.outside.x, row.outside.y), White);
    }

    // A picture that carries only its id is the library's own icon (the enabled, checked box).
    Bitmap icon;
    GdiCanvas(icon.Dc(), POINT{0, 0}, Scale, Scale)
        .Draw(PictureOp{box, 501, 0, 0, nullptr, {}, false});
    EXPECT_LT(icon.Count(White, RECT{20, 20, 40, 40}), 400);
}

TEST(GdiCanvas, TextAlignsAndWrapsInsideItsBoxAndMeasuresInTwips) {
    const Color black = style::WindowText;
    Bitmap bitmap;
    {
        GdiCanvas canvas(bitmap.Dc(), POINT{0, 0}, Scale, Scale);
        // Right-aligned: ink in the right half of the box only, none outside it.
        canvas.Draw(TextOp{{T(0), T(0), T(100), T(20)}, "Wide", Font{}, black, HAlign::Right});
        // Word wrap breaks a long run into lines within its box.
        const Rect narrow{T(0), T(40), T(40), T(60)};
        canvas.Draw(
            TextOp{narrow, "one two three four", Font{}, black, HAlign::Left, VAlign::Top, true});
        // Measured in twips: the same at twice the scale, within rounding.
        GdiCanvas doubled(bitmap.Dc(), POINT{0, 0}, 2 * Scale, 2 * Scale);
        const int32_t width = canvas.TextWidth(Font{}, "Position");
        EXPECT_GT(width, 0);
        EXPECT_NEAR(doubled.TextWidth(Font{}, "Position"), width, width / 8);
        EXPECT_GT(canvas.TextHeight(Font{10, true}), canvas.TextHeight(Font{}));
        EXPECT_EQ(canvas.PixelTwips(), 15);
    }
    EXPECT_EQ(bitmap.Count(0x000000, RECT{0, 0, 50, 20}), 0);
    EXPECT_GT(bitmap.Count(0x000000, RECT{50, 0, 100, 20}), 0);
    EXPECT_EQ(bitmap.Count(0x000000, RECT{100, 0, Side, 40}), 0);
    EXPECT_GT(bitmap.Count(0x000000, RECT{0, 55, 40, 100}), 0) << "a second line";
    EXPECT_EQ(bitmap.Count(0x000000, RECT{40, 40, Side, 100}), 0);
}

}  // namespace
}  // namespace arn::win32
