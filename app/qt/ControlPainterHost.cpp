// The host framework's controls on the panel: field LEDs, parameter editors and sub-panels.
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "app/qt/ControlPainter.h"
#include "host/Node.h"
#include "host/controls/ArnFieldLED.h"
#include "host/controls/ParamEditor.h"
#include "host/controls/SubPanel.h"
#include "host/values/Number.h"
#include "host/values/Value.h"

namespace arn {

namespace {

// Pixel size at zoom 1 of the text the host controls draw themselves.
constexpr double SmallTextPx = 10.0;

// Parameter number of the measured position that the feedback display shows.
constexpr int32_t MeasuredPositionParam = 68;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

QFont SmallFont(double zoom) {
    QFont font;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(SmallTextPx * zoom))));
    return font;
}

}  // namespace

void ControlPainter::PaintLed(const ArnFieldLED& led, const QRectF& box) {
    m_p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(box.width(), box.height());
    const QRectF r(box.center().x() - side / 2 + 0.5, box.center().y() - side / 2 + 0.5, side - 1,
                   side - 1);
    // A field that cannot be read (its node was released) shows as unlit.
    bool lit = false;
    try {
        lit = led.IsLit();
    } catch (const std::exception&) {
        lit = false;
    }
    const QColor colour = ColorOf(lit ? led.get_LEDOnColor() : led.get_LEDOffColor());
    m_p.setPen(QPen(QColor(0x30, 0x30, 0x30), std::max(1.0, m_zoom)));
    m_p.setBrush(colour);
    m_p.drawEllipse(r);
    if (lit) {
        // A glint so a lit LED reads as lit even in a dim colour.
        QRadialGradient glint(r.center() - QPointF(side * 0.18, side * 0.18), side * 0.4);
        glint.setColorAt(0, QColor(255, 255, 255, 200));
        glint.setColorAt(1, QColor(255, 255, 255, 0));
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(glint);
        m_p.drawEllipse(r);
    }
}

void ControlPainter::PaintEditor(const ParamEditor& editor, const QRectF& box) {
    const QRectF edit = EditBoxRect(editor, box, m_zoom);
    const bool live = editor.get_Enabled() && editor.get_Active();
    m_p.setFont(SmallFont(m_zoom));

    // The caption: the editor's own description, else the bound parameter's name.
    std::string description = editor.get_UserDescription();
    if (description.empty() && editor.get_ParamObject()) {
        description = editor.get_ParamObject()->get_Name();
    }
    if (!description.empty() && edit.left() - box.left() > Px(12)) {
        m_p.setPen(live ? QColor(Qt::black) : GrayText);
        m_p.drawText(QRectF(box.left(), box.top(), edit.left() - box.left() - Px(4), box.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, Text(description));
    }

    Sunken(edit, live ? Highlight : DisabledFill);
    m_p.setPen(QPen(live ? DarkShadow : Shadow, 1));
    m_p.drawRect(edit.adjusted(1, 1, -2, -2));
    QString text;
    try {
        text = Text(editor.DisplayText());
    } catch (const std::exception&) {
        // A value that cannot be read shows as unknown; the next change repaints it.
        text = QStringLiteral("?");
    }
    const std::string unit = editor.get_UserUnit();
    if (!unit.empty()) {
        text += " " + Text(unit);
    }
    m_p.setPen(live ? QColor(Qt::black) : GrayText);
    m_p.drawText(edit.adjusted(Px(4), 0, -Px(5), 0), Qt::AlignVCenter | Qt::AlignRight, text);
}

void ControlPainter::PaintSubPanel(const SubPanel& sub, const QRectF& box, bool pressed) {
    // The setup sub-panels show as a button that asks for their window.
    Bevel(box, !pressed, ColorOf(sub.get_BackColor()));
    m_p.setFont(SmallFont(m_zoom));
    m_p.setPen(sub.get_Enabled() ? QColor(0x00, 0x00, 0x80) : GrayText);
    m_p.drawText(box.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter,
                 Text(sub.get_Caption()));
}

void ControlPainter::PaintFeedback(const SubPanel& sub, const QRectF& box) {
    m_p.fillRect(box, ColorOf(sub.get_BackColor()));
    m_p.setFont(SmallFont(m_zoom));
    const QRectF readout(box.left() + box.width() * 0.63, box.top() + Px(5),
                         box.width() * 0.37 - Px(2), box.height() - Px(10));
    m_p.setPen(sub.get_Enabled() ? QColor(Qt::black) : GrayText);
    m_p.drawText(
        QRectF(box.left() + Px(2), box.top(), readout.left() - box.left() - Px(4), box.height()),
        Qt::AlignVCenter | Qt::AlignLeft, Text(sub.get_Caption()));
    QString value = QStringLiteral("-");
    if (const auto node = sub.AttachedNode()) {
        try {
            const double v = node->Param(MeasuredPositionParam)->get_NumberValue()->GetDouble();
            value = QLocale().toString(v, 'f', 0);
        } catch (const std::exception&) {
            value = QStringLiteral("?");
        }
    }
    Sunken(readout, QColor(0x10, 0x18, 0x10));
    QFont digits(QStringLiteral("monospace"));
    digits.setStyleHint(QFont::TypeWriter);
    digits.setPixelSize(std::max(1, static_cast<int>(std::lround(SmallTextPx * m_zoom))));
    digits.setBold(true);
    m_p.setFont(digits);
    m_p.setPen(sub.get_Enabled() ? QColor(0x40, 0xFF, 0x60) : QColor(0x40, 0x80, 0x50));
    m_p.drawText(readout.adjusted(Px(3), 0, -Px(4), 0), Qt::AlignVCenter | Qt::AlignRight, value);
}

}  // namespace arn
