#include "app/qt/QtCanvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace arn {

namespace {

// The design's captions were laid out for a narrow sans face; common faces run wider, so text
// is drawn a little smaller than its point size to stay inside its box.
constexpr double FontScale = 0.88;
constexpr double TwipsPerPoint = 20.0;

Qt::PenStyle StyleOf(LineStyle style) {
    switch (style) {
        case LineStyle::Dash:
            return Qt::DashLine;
        case LineStyle::Dot:
            return Qt::DotLine;
        case LineStyle::None:
            return Qt::NoPen;
        default:
            return Qt::SolidLine;
    }
}

int FlagsOf(const TextOp& op) {
    int flags = op.wordWrap ? Qt::TextWordWrap : 0;
    switch (op.horizontal) {
        case HAlign::Center:
            flags |= Qt::AlignHCenter;
            break;
        case HAlign::Right:
            flags |= Qt::AlignRight;
            break;
        default:
            flags |= Qt::AlignLeft;
            break;
    }
    switch (op.vertical) {
        case VAlign::Top:
            flags |= Qt::AlignTop;
            break;
        case VAlign::Bottom:
            flags |= Qt::AlignBottom;
            break;
        default:
            flags |= Qt::AlignVCenter;
            break;
    }
    return flags;
}

}  // namespace

QtCanvas::QtCanvas(QPainter* painter, double zoom)
    : m_painter(painter), m_scale(zoom / TwipsPerPixelAt96Dpi) {}

QColor QtCanvas::ColorOf(Color color) {
    return {color.red, color.green, color.blue, color.alpha};
}

QRectF QtCanvas::ToPixels(const Rect& box) const {
    return {box.left * m_scale, box.top * m_scale, box.width * m_scale, box.height * m_scale};
}

QPointF QtCanvas::ToPixels(Point p) const {
    return {p.x * m_scale, p.y * m_scale};
}

Rect QtCanvas::ToTwips(const QRectF& box) const {
    const auto left = static_cast<int32_t>(std::floor(box.left() / m_scale));
    const auto top = static_cast<int32_t>(std::floor(box.top() / m_scale));
    const auto right = static_cast<int32_t>(std::ceil(box.right() / m_scale));
    const auto bottom = static_cast<int32_t>(std::ceil(box.bottom() / m_scale));
    return {left, top, right - left, bottom - top};
}

QFont QtCanvas::FontOf(const Font& font) const {
    QFont q;
    if (font.face == FontFace::Monospace) {
        q.setFamily(QStringLiteral("monospace"));
        q.setStyleHint(QFont::TypeWriter);
    }
    q.setPixelSize(std::max(
        1, static_cast<int>(std::lround(font.points * TwipsPerPoint * m_scale * FontScale))));
    q.setBold(font.bold);
    return q;
}

int32_t QtCanvas::TextWidth(const Font& font, std::string_view text) const {
    const QFontMetricsF metrics(FontOf(font));
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return static_cast<int32_t>(std::lround(metrics.horizontalAdvance(s) / m_scale));
}

int32_t QtCanvas::TextHeight(const Font& font) const {
    return static_cast<int32_t>(std::lround(QFontMetricsF(FontOf(font)).height() / m_scale));
}

int32_t QtCanvas::PixelTwips() const {
    return std::max(1, static_cast<int32_t>(std::lround(1.0 / m_scale)));
}

QPainter& QtCanvas::Painter() {
    return *m_painter;
}

double QtCanvas::PenWidth(const Pen& pen) const {
    return pen.IsHairline() ? 1.0 : std::max(1.0, pen.width * m_scale);
}

void QtCanvas::Use(const Pen& pen, Color fill) {
    QPainter& p = Painter();
    if (pen.IsNone()) {
        p.setPen(Qt::NoPen);
    } else {
        p.setPen(QPen(ColorOf(pen.color), PenWidth(pen), StyleOf(pen.style),
                      pen.round ? Qt::RoundCap : Qt::SquareCap,
                      pen.round ? Qt::RoundJoin : Qt::BevelJoin));
    }
    p.setBrush(fill.IsTransparent() ? QBrush(Qt::NoBrush) : QBrush(ColorOf(fill)));
    // Hairlines are the crisp 3D borders; everything wider or round is smoothed.
    p.setRenderHint(QPainter::Antialiasing, pen.IsNone() || !pen.IsHairline());
}

QRectF QtCanvas::OutlineRect(const Rect& box, const Pen& pen) const {
    const QRectF r = ToPixels(box);
    if (pen.IsNone()) {
        return r;
    }
    if (pen.IsHairline()) {
        // A one-pixel pen covers the pixels right and below its path.
        return r.adjusted(0, 0, -1, -1);
    }
    const double half = PenWidth(pen) / 2;
    return r.adjusted(half, half, -half, -half);
}

void QtCanvas::Draw(const FillRectOp& op) {
    // Fills are crisp, so that a caption's background covers whole pixels of what it hides.
    Painter().setRenderHint(QPainter::Antialiasing, false);
    Painter().fillRect(ToPixels(op.box), ColorOf(op.color));
}

void QtCanvas::Draw(const StrokeRectOp& op) {
    Use(op.pen, NoFill);
    Painter().drawRect(OutlineRect(op.box, op.pen));
}

void QtCanvas::Draw(const LineOp& op) {
    Use(op.pen, NoFill);
    Painter().drawLine(ToPixels(op.a), ToPixels(op.b));
}

void QtCanvas::Draw(const PolylineOp& op) {
    Use(op.pen, NoFill);
    QPolygonF points;
    for (const Point p : op.points) {
        points << ToPixels(p);
    }
    Painter().drawPolyline(points);
}

void QtCanvas::Draw(const PolygonOp& op) {
    Use(op.pen, op.fill);
    QPolygonF points;
    for (const Point p : op.points) {
        points << ToPixels(p);
    }
    Painter().drawPolygon(points);
}

void QtCanvas::Draw(const EllipseOp& op) {
    Use(op.pen, op.fill);
    Painter().drawEllipse(OutlineRect(op.box, op.pen));
}

void QtCanvas::Draw(const RoundedRectOp& op) {
    Use(op.pen, op.fill);
    const double radius = op.radius * m_scale;
    Painter().drawRoundedRect(OutlineRect(op.box, op.pen), radius, radius);
}

void QtCanvas::Draw(const TextOp& op) {
    QPainter& p = Painter();
    p.setFont(FontOf(op.font));
    p.setPen(ColorOf(op.color));
    p.drawText(ToPixels(op.box), FlagsOf(op), QString::fromStdString(op.text));
}

void QtCanvas::Draw(const PictureOp& op) {
    if (!op.rgba || op.width <= 0 || op.height <= 0) {
        return;
    }
    // The image borrows the pixels, which the list's owner keeps alive during the replay.
    const QImage image(op.rgba, op.width, op.height, op.width * 4, QImage::Format_RGBA8888);
    QPainter& p = Painter();
    p.setRenderHint(QPainter::SmoothPixmapTransform, op.smooth);
    p.drawImage(ToPixels(op.box), image);
}

void QtCanvas::Draw(const PushClipOp& op) {
    Painter().save();
    Painter().setClipRect(ToPixels(op.box), Qt::IntersectClip);
}

void QtCanvas::Draw(const PopClipOp&) {
    Painter().restore();
}

void QtCanvas::Draw(const FocusRectOp& op) {
    Use(Pen{style::WindowText, 0, LineStyle::Dot}, NoFill);
    Painter().drawRect(OutlineRect(op.box, Pen{}));
}

}  // namespace arn
