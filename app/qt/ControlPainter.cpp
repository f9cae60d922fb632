#include "app/qt/ControlPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "host/controls/ArnFdbkDisplayCtl.h"
#include "host/controls/ArnFieldLED.h"
#include "host/controls/ParamEditor.h"
#include "host/controls/SubPanel.h"
#include "toolkit/CheckBox.h"
#include "toolkit/CommandButton.h"
#include "toolkit/Frame.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Line.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureBox.h"
#include "toolkit/SSCheck.h"
#include "toolkit/SSCommand.h"
#include "toolkit/Shape.h"

namespace arn {

namespace {

const QColor FocusBlue(0x33, 0x66, 0xCC);

// The design's captions were laid out for a narrow sans face; common faces run wider, so text
// is drawn a little smaller than its point size to stay inside its box.
constexpr double FontScale = 0.88;

Qt::Alignment AlignmentOf(int16_t alignment) {
    switch (alignment) {
        case Label::RightJustify:
            return Qt::AlignRight;
        case Label::Center:
            return Qt::AlignHCenter;
        default:
            return Qt::AlignLeft;
    }
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QColor ControlPainter::ColorOf(int32_t bgr) {
    const auto word = static_cast<uint32_t>(bgr);
    return {static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF),
            static_cast<int>((word >> 16) & 0xFF)};
}

QImage ControlPainter::ImageOf(const Picture& picture) {
    const int w = picture.get_Width();
    const int h = picture.get_Height();
    if (w <= 0 || h <= 0) {
        return {};
    }
    // The image copies the bytes, so it does not depend on the picture's lifetime.
    return QImage(picture.Pixels().data(), w, h, w * 4, QImage::Format_RGBA8888).copy();
}

QRectF ControlPainter::EditBoxRect(const ParamEditor& editor, const QRectF& box, double zoom) {
    // The edit box takes EditorWidth at the right; what is left on the left holds the caption.
    const double width =
        std::clamp(editor.get_EditorWidth() / TwipsPerPixel * zoom, 8.0 * zoom, box.width());
    const double height = std::min(box.height(), 22.0 * zoom);
    return {box.right() - width, box.top() + (box.height() - height) / 2, width, height};
}

QFont ControlPainter::FontOf(const CaptionedControl& ctl) const {
    QFont font;
    // Points are 20 twips; the view draws TwipsPerPixel twips to the pixel at zoom 1.
    font.setPixelSize(std::max(
        1, static_cast<int>(
               std::lround(ctl.get_FontSize() * 20.0 / TwipsPerPixel * FontScale * m_zoom))));
    font.setBold(ctl.get_FontBold());
    return font;
}

QColor ControlPainter::TextColor(const CaptionedControl& ctl) const {
    return ctl.get_Enabled() ? ColorOf(ctl.get_ForeColor()) : GrayText;
}

void ControlPainter::Paint(const Control& ctl, const QRectF& box, const QPointF& origin,
                           bool pressed) {
    m_p.save();
    try {
        PaintKind(ctl, box, origin, pressed);
    } catch (const std::exception&) {
        // A control whose outside object does not answer (a field of a released node, a
        // node gone offline) is drawn as far as it got; its next change repaints it.
    }
    m_p.restore();
}

void ControlPainter::PaintKind(const Control& ctl, const QRectF& box, const QPointF& origin,
                               bool pressed) {
    if (const auto* frame = dynamic_cast<const Frame*>(&ctl)) {
        PaintFrame(*frame, box);
    } else if (const auto* pic = dynamic_cast<const PictureBox*>(&ctl)) {
        PaintPictureBox(*pic, box);
    } else if (const auto* label = dynamic_cast<const Label*>(&ctl)) {
        PaintLabel(*label, box);
    } else if (const auto* chk = dynamic_cast<const CheckBox*>(&ctl)) {
        PaintCheckBox(*chk, box, pressed);
    } else if (const auto* ss = dynamic_cast<const SSCheck*>(&ctl)) {
        PaintSSCheck(*ss, box, pressed);
    } else if (const auto* cmd = dynamic_cast<const SSCommand*>(&ctl)) {
        PaintButton(*cmd, cmd->get_Picture().get(), box, pressed);
    } else if (const auto* button = dynamic_cast<const CommandButton*>(&ctl)) {
        PaintButton(*button, nullptr, box, pressed);
    } else if (const auto* shape = dynamic_cast<const Shape*>(&ctl)) {
        PaintShape(*shape, box);
    } else if (const auto* line = dynamic_cast<const Line*>(&ctl)) {
        PaintLine(*line, origin);
    } else if (const auto* image = dynamic_cast<const Image*>(&ctl)) {
        PaintImage(*image, box);
    } else if (const auto* led = dynamic_cast<const ArnFieldLED*>(&ctl)) {
        PaintLed(*led, box);
    } else if (const auto* editor = dynamic_cast<const ParamEditor*>(&ctl)) {
        PaintEditor(*editor, box);
    } else if (const auto* fdbk = dynamic_cast<const ArnFdbkDisplayCtl*>(&ctl)) {
        PaintFeedback(*fdbk, box);
    } else if (const auto* sub = dynamic_cast<const SubPanel*>(&ctl)) {
        PaintSubPanel(*sub, box, pressed);
    } else {
        PaintUnknown(ctl, box);
    }
}

void ControlPainter::Bevel(const QRectF& box, bool raised, const QColor& face) {
    const QRectF r = box.adjusted(0, 0, -1, -1);
    m_p.fillRect(box, face);
    const QColor outerLight = raised ? Highlight : DarkShadow;
    const QColor outerDark = raised ? DarkShadow : Highlight;
    const QColor innerLight = raised ? LightShadow : Shadow;
    const QColor innerDark = raised ? Shadow : LightShadow;
    m_p.setPen(QPen(outerLight, 1));
    m_p.drawLine(r.topLeft(), r.topRight());
    m_p.drawLine(r.topLeft(), r.bottomLeft());
    m_p.setPen(QPen(outerDark, 1));
    m_p.drawLine(r.bottomLeft(), r.bottomRight());
    m_p.drawLine(r.topRight(), r.bottomRight());
    const QRectF in = r.adjusted(1, 1, -1, -1);
    m_p.setPen(QPen(innerLight, 1));
    m_p.drawLine(in.topLeft(), in.topRight());
    m_p.drawLine(in.topLeft(), in.bottomLeft());
    m_p.setPen(QPen(innerDark, 1));
    m_p.drawLine(in.bottomLeft(), in.bottomRight());
    m_p.drawLine(in.topRight(), in.bottomRight());
}

void ControlPainter::Sunken(const QRectF& box, const QColor& fill) {
    m_p.fillRect(box, fill);
    const QRectF r = box.adjusted(0, 0, -1, -1);
    m_p.setPen(QPen(Shadow, 1));
    m_p.drawLine(r.topLeft(), r.topRight());
    m_p.drawLine(r.topLeft(), r.bottomLeft());
    m_p.setPen(QPen(Highlight, 1));
    m_p.drawLine(r.bottomLeft(), r.bottomRight());
    m_p.drawLine(r.topRight(), r.bottomRight());
}

void ControlPainter::PaintFrame(const Frame& frame, const QRectF& box) {
    m_p.fillRect(box, ColorOf(frame.get_BackColor()));
    const QFont font = FontOf(frame);
    const QFontMetricsF metrics(font);
    const QString caption = Text(frame.get_Caption());
    // The etched border starts at the middle of the caption, which interrupts it.
    const double top = box.top() + metrics.height() / 2;
    if (frame.get_BorderStyle() != 0) {
        const QRectF r(box.left() + 0.5, top + 0.5, box.width() - 2, box.bottom() - top - 2);
        m_p.setRenderHint(QPainter::Antialiasing, false);
        m_p.setPen(QPen(Shadow, 1));
        m_p.drawRoundedRect(r, Px(3), Px(3));
        m_p.setPen(QPen(Highlight, 1));
        m_p.drawRoundedRect(r.translated(1, 1), Px(3), Px(3));
    }
    if (!caption.isEmpty()) {
        const double pad = Px(4);
        const QRectF text(box.left() + Px(8), box.top(),
                          metrics.horizontalAdvance(caption) + 2 * pad, metrics.height());
        m_p.fillRect(text, ColorOf(frame.get_BackColor()));
        m_p.setFont(font);
        m_p.setPen(frame.get_Enabled() ? ColorOf(frame.get_ForeColor()) : GrayText);
        m_p.drawText(text, Qt::AlignCenter, caption);
    }
}

void ControlPainter::PaintPictureBox(const PictureBox& pic, const QRectF& box) {
    if (pic.get_BorderStyle() != 0) {
        Sunken(box, ColorOf(pic.get_BackColor()));
    } else {
        m_p.fillRect(box, ColorOf(pic.get_BackColor()));
    }
    if (const auto picture = pic.get_Picture()) {
        m_p.drawImage(box.topLeft(), ImageOf(*picture));
    }
}

void ControlPainter::PaintLabel(const Label& label, const QRectF& box) {
    if (label.get_BackStyle() != 0) {
        m_p.fillRect(box, ColorOf(label.get_BackColor()));
    }
    m_p.setFont(FontOf(label));
    m_p.setPen(TextColor(label));
    const Qt::Alignment align = AlignmentOf(label.get_Alignment()) |
                                (label.get_WordWrap() ? Qt::AlignTop : Qt::AlignVCenter);
    const int flags = static_cast<int>(align) | (label.get_WordWrap() ? Qt::TextWordWrap : 0);
    m_p.drawText(box.adjusted(Px(1), 0, -Px(1), 0), flags, Text(label.get_Caption()));
}

void ControlPainter::PaintCheckBox(const CheckBox& chk, const QRectF& box, bool pressed) {
    m_p.fillRect(box, ColorOf(chk.get_BackColor()));
    const double side = std::min(box.height(), Px(13));
    const bool boxRight = chk.get_Alignment() == 1;
    const double x = boxRight ? box.right() - side - Px(1) : box.left() + Px(1);
    const QRectF square(x, box.center().y() - side / 2, side, side);
    Sunken(square, chk.get_Enabled() && !pressed ? Highlight : DisabledFill);
    m_p.setPen(QPen(DarkShadow, 1));
    m_p.drawRect(square.adjusted(1, 1, -2, -2));
    if (chk.get_Value() != CheckBox::Unchecked) {
        m_p.setRenderHint(QPainter::Antialiasing);
        const QColor tick = chk.get_Enabled() ? QColor(Qt::black) : GrayText;
        m_p.setPen(QPen(chk.get_Value() == CheckBox::Grayed ? GrayText : tick, Px(1.8),
                        Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPolygonF mark({square.topLeft() + QPointF(side * 0.25, side * 0.52),
                              square.topLeft() + QPointF(side * 0.43, side * 0.72),
                              square.topLeft() + QPointF(side * 0.77, side * 0.28)});
        m_p.drawPolyline(mark);
    }
    const QString caption = Text(chk.get_Caption());
    if (!caption.isEmpty()) {
        const QRectF text =
            boxRight ? QRectF(box.left(), box.top(), x - box.left() - Px(4), box.height())
                     : QRectF(square.right() + Px(5), box.top(),
                              box.right() - square.right() - Px(5), box.height());
        m_p.setFont(FontOf(chk));
        m_p.setPen(TextColor(chk));
        m_p.drawText(text, Qt::AlignVCenter | (boxRight ? Qt::AlignRight : Qt::AlignLeft), caption);
    }
}

void ControlPainter::PaintSSCheck(const SSCheck& chk, const QRectF& box, bool pressed) {
    m_p.fillRect(box, ColorOf(chk.get_BackColor()));
    const double side = std::min(box.height(), Px(20));
    const QRectF square(box.left(), box.center().y() - side / 2, side, side);
    if (const auto picture = chk.get_CheckPicture()) {
        m_p.setRenderHint(QPainter::SmoothPixmapTransform);
        m_p.drawImage(square, ImageOf(*picture));
    } else {
        // Without a picture the box draws itself in the plain style.
        const QRectF inner = square.adjusted(Px(2), Px(2), -Px(2), -Px(2));
        Sunken(inner, chk.get_Enabled() ? Highlight : DisabledFill);
        if (chk.get_CheckValue()) {
            m_p.setPen(QPen(chk.get_Enabled() ? QColor(Qt::black) : GrayText, Px(1.8)));
            m_p.drawLine(inner.topLeft() + QPointF(Px(3), Px(3)),
                         inner.bottomRight() - QPointF(Px(3), Px(3)));
            m_p.drawLine(inner.bottomLeft() + QPointF(Px(3), -Px(3)),
                         inner.topRight() + QPointF(-Px(3), Px(3)));
        }
    }
    if (pressed) {
        m_p.setPen(QPen(FocusBlue, Px(1), Qt::DotLine));
        m_p.drawRect(square.adjusted(0, 0, -1, -1));
    }
    const QString caption = Text(chk.get_Caption());
    if (!caption.isEmpty()) {
        m_p.setFont(FontOf(chk));
        m_p.setPen(TextColor(chk));
        m_p.drawText(QRectF(square.right() + Px(4), box.top(), box.right() - square.right() - Px(4),
                            box.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, caption);
    }
}

void ControlPainter::PaintButton(const CaptionedControl& button, const Picture* picture,
                                 const QRectF& box, bool pressed) {
    Bevel(box, !pressed, ColorOf(button.get_BackColor()));
    QRectF inner = box.adjusted(Px(3), Px(2), -Px(3), -Px(2));
    if (pressed) {
        inner.translate(1, 1);
    }
    if (picture) {
        const QImage image = ImageOf(*picture);
        const double side = std::min(inner.height(), inner.width() / 3);
        m_p.drawImage(QRectF(inner.left(), inner.center().y() - side / 2, side, side), image);
        inner.setLeft(inner.left() + side + Px(3));
    }
    m_p.setFont(FontOf(button));
    m_p.setPen(TextColor(button));
    m_p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, Text(button.get_Caption()));
}

void ControlPainter::PaintShape(const Shape& shape, const QRectF& box) {
    m_p.setRenderHint(QPainter::Antialiasing);
    const double width = std::max(1.0, shape.get_BorderWidth() * m_zoom);
    m_p.setPen(QPen(ColorOf(shape.get_BorderColor()), width));
    m_p.setBrush(shape.get_BackStyle() != 0 ? QBrush(ColorOf(shape.get_BackColor()))
                                            : QBrush(Qt::NoBrush));
    QRectF r = box.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    const int16_t kind = shape.get_Shape();
    if (kind == Shape::Square || kind == Shape::Circle || kind == Shape::RoundedSquare) {
        const double side = std::min(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    switch (kind) {
        case Shape::Oval:
        case Shape::Circle:
            m_p.drawEllipse(r);
            break;
        case Shape::RoundedRectangle:
        case Shape::RoundedSquare: {
            const double radius = std::min(r.width(), r.height()) / 6;
            m_p.drawRoundedRect(r, radius, radius);
            break;
        }
        default:
            m_p.drawRect(r);
            break;
    }
}

void ControlPainter::PaintLine(const Line& line, const QPointF& origin) {
    const double k = m_zoom / TwipsPerPixel;
    m_p.setRenderHint(QPainter::Antialiasing);
    m_p.setPen(QPen(ColorOf(line.get_BorderColor()), std::max(1.0, line.get_BorderWidth() * m_zoom),
                    Qt::SolidLine, Qt::RoundCap));
    m_p.drawLine(origin + QPointF(line.get_X1() * k, line.get_Y1() * k),
                 origin + QPointF(line.get_X2() * k, line.get_Y2() * k));
}

void ControlPainter::WarningSymbol(const QRectF& box, const QColor& fill) {
    m_p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(box.width(), box.height());
    const QRectF r(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    const QPolygonF triangle({QPointF(r.center().x(), r.top() + side * 0.06),
                              QPointF(r.right() - side * 0.03, r.bottom() - side * 0.06),
                              QPointF(r.left() + side * 0.03, r.bottom() - side * 0.06)});
    m_p.setPen(QPen(QColor(0x50, 0x3C, 0x00), std::max(1.0, side / 14), Qt::SolidLine, Qt::RoundCap,
                    Qt::RoundJoin));
    m_p.setBrush(fill);
    m_p.drawPolygon(triangle);
    // The exclamation mark: a tapered bar and a dot.
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(Qt::black);
    const double cx = r.center().x();
    const QPolygonF bar({QPointF(cx - side * 0.07, r.top() + side * 0.33),
                         QPointF(cx + side * 0.07, r.top() + side * 0.33),
                         QPointF(cx + side * 0.035, r.top() + side * 0.66),
                         QPointF(cx - side * 0.035, r.top() + side * 0.66)});
    m_p.drawPolygon(bar);
    m_p.drawEllipse(QPointF(cx, r.top() + side * 0.77), side * 0.055, side * 0.055);
}

void ControlPainter::PaintImage(const Image& image, const QRectF& box) {
    if (const auto picture = image.get_Picture()) {
        const QImage pixels = ImageOf(*picture);
        m_p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (image.get_Stretch()) {
            m_p.drawImage(box, pixels);
        } else {
            m_p.drawImage(
                QRectF(box.topLeft(), QSizeF(pixels.width() * m_zoom, pixels.height() * m_zoom)),
                pixels);
        }
        return;
    }
    const std::string symbol = image.get_Symbol();
    if (symbol == "warning") {
        WarningSymbol(box, QColor(0xFF, 0xD4, 0x00));
    } else if (symbol == "caution") {
        WarningSymbol(box, QColor(0xFF, 0x8C, 0x1A));
    }
}

void ControlPainter::PaintUnknown(const Control& ctl, const QRectF& box) {
    m_p.setPen(QPen(Shadow, 1, Qt::DashLine));
    m_p.drawRect(box.adjusted(0, 0, -1, -1));
    m_p.setPen(GrayText);
    m_p.drawText(box, Qt::AlignCenter, Text(ctl.get_Name()));
}

}  // namespace arn
