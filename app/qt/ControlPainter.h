#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QRectF>
#include <cstdint>

class QPainter;

namespace arn {

class CaptionedControl;
class CheckBox;
class Control;
class Frame;
class Image;
class Label;
class Line;
class ParamEditor;
class Picture;
class PictureBox;
class SSCheck;
class Shape;
class SubPanel;
class ArnFieldLED;

// Draws one control of the panel (without its children) in the look of the platform's
// toolkit. Positions come in as pixel rectangles; zoom is the view's scale, where 1.0 means one
// pixel per TwipsPerPixel twips, and scales fonts and line widths along with the geometry.
class ControlPainter {
  public:
    static constexpr double TwipsPerPixel = 15.0;

    ControlPainter(QPainter& painter, double zoom) : m_p(painter), m_zoom(zoom) {}

    // box is the control's rectangle; origin is its container's top left corner, which a
    // line's end points are measured from. pressed draws a button held down.
    void Paint(const Control& ctl, const QRectF& box, const QPointF& origin, bool pressed);

    // &HBBGGRR as a colour.
    static QColor ColorOf(int32_t bgr);
    // The picture's RGBA pixels as an image (a null image for a picture without pixels).
    static QImage ImageOf(const Picture& picture);
    // Where a parameter editor's edit box sits inside its control rectangle.
    static QRectF EditBoxRect(const ParamEditor& editor, const QRectF& box, double zoom);

  private:
    // The toolkit's 3D colours.
    static inline const QColor Highlight{0xFF, 0xFF, 0xFF};
    static inline const QColor LightShadow{0xE3, 0xE3, 0xE3};
    static inline const QColor Shadow{0xA0, 0xA0, 0xA0};
    static inline const QColor DarkShadow{0x69, 0x69, 0x69};
    static inline const QColor GrayText{0x8D, 0x8D, 0x8D};
    static inline const QColor DisabledFill{0xE8, 0xE8, 0xE8};

    void PaintKind(const Control& ctl, const QRectF& box, const QPointF& origin, bool pressed);
    double Px(double pixelsAtZoom1) const { return pixelsAtZoom1 * m_zoom; }
    QFont FontOf(const CaptionedControl& ctl) const;
    QColor TextColor(const CaptionedControl& ctl) const;

    void PaintFrame(const Frame& frame, const QRectF& box);
    void PaintPictureBox(const PictureBox& pic, const QRectF& box);
    void PaintLabel(const Label& label, const QRectF& box);
    void PaintCheckBox(const CheckBox& chk, const QRectF& box, bool pressed);
    void PaintSSCheck(const SSCheck& chk, const QRectF& box, bool pressed);
    void PaintButton(const CaptionedControl& button, const Picture* picture, const QRectF& box,
                     bool pressed);
    void PaintShape(const Shape& shape, const QRectF& box);
    void PaintLine(const Line& line, const QPointF& origin);
    void PaintImage(const Image& image, const QRectF& box);
    void PaintLed(const ArnFieldLED& led, const QRectF& box);
    void PaintEditor(const ParamEditor& editor, const QRectF& box);
    void PaintSubPanel(const SubPanel& sub, const QRectF& box, bool pressed);
    void PaintFeedback(const SubPanel& sub, const QRectF& box);
    void PaintUnknown(const Control& ctl, const QRectF& box);

    void Bevel(const QRectF& box, bool raised, const QColor& face);
    void Sunken(const QRectF& box, const QColor& fill);
    void WarningSymbol(const QRectF& box, const QColor& fill);

    QPainter& m_p;
    double m_zoom;
};

}  // namespace arn
