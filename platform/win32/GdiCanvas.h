#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <tuple>

#include "draw/Canvas.h"
#include "draw/TextMetrics.h"

namespace arn::win32 {

// Replays display lists into a GDI device context (a window's, a memory bitmap's, a metafile's
// or a printer's) and measures text with GDI's fonts at the same scale. Twips on the surface
// land at origin plus twips times the scale, in the DC's logical units.
//
// The canvas borrows the DC for its lifetime: it saves the DC's state at construction and
// restores it at destruction, and the pens, brushes, fonts and bitmaps it makes live in a
// per-canvas cache that the destructor frees, so a paint leaves no GDI object behind.
class GdiCanvas final : public Canvas, public TextMetrics {
  public:
    // pixelsPerTwipX/Y: DC units per twip (the device's logical resolution over 1440 draws
    // the design at its natural size).
    GdiCanvas(HDC dc, POINT origin, double pixelsPerTwipX, double pixelsPerTwipY);
    // At the DC's logical resolution (LOGPIXELSX and LOGPIXELSY), surface origin at origin.
    static GdiCanvas AtDeviceResolution(HDC dc, POINT origin = {0, 0});
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;
    ~GdiCanvas() override;

    void Draw(const FillRectOp& op) override;
    void Draw(const StrokeRectOp& op) override;
    void Draw(const LineOp& op) override;
    void Draw(const PolylineOp& op) override;
    void Draw(const PolygonOp& op) override;
    void Draw(const EllipseOp& op) override;
    void Draw(const RoundedRectOp& op) override;
    void Draw(const TextOp& op) override;
    void Draw(const PictureOp& op) override;
    void Draw(const PushClipOp& op) override;
    void Draw(const PopClipOp& op) override;
    void Draw(const FocusRectOp& op) override;

    int32_t TextWidth(const Font& font, std::string_view text) const override;
    int32_t TextHeight(const Font& font) const override;
    int32_t PixelTwips() const override;

    // Between surface twips and the DC's units: a rectangle covers every unit it touches.
    RECT ToPixels(const Rect& box) const;
    POINT ToPixels(Point p) const;
    Rect ToTwips(const RECT& box) const;
    Point ToTwips(POINT p) const;

    // Device pixels per inch of dc, as GDI reports them (96 when it reports none).
    static SIZE LogicalResolution(HDC dc);

  private:
    using PenKey = std::tuple<uint32_t, int32_t, int, bool>;

    HPEN PenOf(const Pen& pen);
    HBRUSH BrushOf(Color fill);
    HFONT FontOf(const Font& font) const;
    HBITMAP BitmapOf(const PictureOp& op);
    // Selects pen and brush (NoPen, NoFill: none) for a shape.
    void Use(const Pen& pen, Color fill);
    // The rectangle to pass GDI's shape calls for a shape inside box: GDI leaves the right and
    // bottom edge out of a shape drawn without a pen.
    RECT ShapeRect(const Rect& box, const Pen& pen) const;
    void FreeObjects();

    HDC m_dc;
    POINT m_origin;
    double m_scaleX;
    double m_scaleY;
    int m_savedState;
    int m_clipDepth = 0;
    std::map<PenKey, HPEN> m_pens;
    std::map<uint32_t, HBRUSH> m_brushes;
    // Fonts are made while measuring too, which a const TextMetrics may do.
    mutable std::map<std::tuple<int32_t, bool, int>, HFONT> m_fonts;
    std::map<const void*, HBITMAP> m_bitmaps;
};

}  // namespace arn::win32
