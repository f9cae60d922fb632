#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

#include "draw/Canvas.h"
#include "draw/TextMetrics.h"

class QPainter;

namespace arn {

// Replays display lists with a QPainter and measures text with Qt's font metrics, at the view's
// zoom: 1.0 draws TwipsPerPixelAt96Dpi twips to the pixel. Fonts, pen widths and offsets in
// twips scale with the zoom; hairlines stay one pixel.
class QtCanvas : public Canvas, public TextMetrics {
  public:
    // painter may be null for a canvas that only measures text.
    QtCanvas(QPainter* painter, double zoom);

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

    static QColor ColorOf(Color color);
    // Twips on the surface to this canvas's pixels and back.
    QRectF ToPixels(const Rect& box) const;
    QPointF ToPixels(Point p) const;
    Rect ToTwips(const QRectF& box) const;
    QFont FontOf(const Font& font) const;

  private:
    QPainter& Painter();
    double PenWidth(const Pen& pen) const;
    void Use(const Pen& pen, Color fill);
    // The rectangle that a pen's outline runs along so that it lies inside box.
    QRectF OutlineRect(const Rect& box, const Pen& pen) const;

    QPainter* m_painter;
    double m_scale;
};

}  // namespace arn
