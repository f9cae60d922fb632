#pragma once

#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/qt/Guard.h"
#include "core/Event.h"
#include "draw/Geometry.h"
#include "toolkit/SurfaceDamage.h"
#include "toolkit/SurfaceInput.h"

class QLabel;
class QLineEdit;

namespace arn {

class ArnAbsPosnCtl;
class Control;

// Draws the panel's control tree and passes the user's clicks, edits and tooltip requests to
// the controls. Geometry is the controls' own, in twips, drawn at a fixed number of twips per
// pixel and zoomed so that the panel's design fits the widget; the panel surface is resized to
// the widget's size, which its enclosing frame then fills.
//
// What a press, a release, Tab or Space means is the surface's own (SurfaceInput); this view
// converts Qt's pixels to twips, acts on the outcome, and keeps what only Qt has: the line
// editor over a parameter and the tooltips. A click on a control that is shown but not usable
// is reported with the reason, naming the control by its caption on screen; an entry is judged
// by the control (Control::CheckEntry) before anything is written.
//
// The view repaints only the parts of the panel that changed (SurfaceDamage), once per burst of
// changes, and holds the panel for as long as it subscribes to its controls. Library errors
// raised by a click or an edit go to the error sink.
class PanelView : public QWidget {
  public:
    PanelView(std::shared_ptr<ArnAbsPosnCtl> panel, ErrorSink report, QWidget* parent = nullptr);
    ~PanelView() override;

    // Pixels per TwipsPerPixel twips: 1.0 draws the design at its natural size.
    double Zoom() const { return m_zoom; }
    // The control's rectangle in this widget's pixels.
    QRectF ControlRect(const Control& ctl) const;
    // The topmost shown control under pos that reacts to clicks (nullptr: none).
    std::shared_ptr<Control> ClickableAt(const QPointF& pos) const;
    // The topmost shown control under pos that has a tooltip (nullptr: none).
    std::shared_ptr<Control> ToolTipAt(const QPointF& pos) const;
    // The inline editor while a parameter is being edited, else nullptr.
    QLineEdit* ActiveEditor() const { return m_edit; }
    // The message under the inline editor after a refused entry (hidden while none).
    QLabel* EditorMessage() const { return m_editMessage; }
    // The control with the keyboard's focus mark (nullptr: none).
    std::shared_ptr<Control> FocusedControl() const { return m_input.FocusedControl(); }
    // The controls that Tab visits, in order.
    std::vector<std::shared_ptr<Control>> FocusChain() const { return m_input.FocusChain(); }
    // The pressed and focused controls, for drawing.
    const SurfaceInput& Input() const { return m_input; }
    // The host released or attached the panel: a released panel is drawn greyed under a veil,
    // its open editor closes, and its clicks are refused with the reason before they reach it.
    void AttachmentChanged();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    void Subscribe();
    // Between this widget's pixels and surface twips, at the current zoom.
    Point ToTwips(const QPointF& pos) const;
    QRectF ToPixels(const Rect& twips) const;
    // Repaints what the panel marked since the last time.
    void RepaintDamage();
    void RepaintControl(const Control& ctl);
    void Act(const SurfaceAction& action);
    void OpenEditor(const std::shared_ptr<Control>& editor, const Rect& box);
    void CommitEditor();
    void CloseEditor();
    void DropUnreachableEditor();
    void Refuse(const QString& text);
    void ReportIgnored(const Control& ctl);

    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    ErrorSink m_report;
    std::vector<Connection> m_connections;
    SurfaceInput m_input;
    SurfaceDamage m_damage;
    bool m_repaintPosted = false;
    double m_zoom = 1.0;
    QLineEdit* m_edit = nullptr;
    std::weak_ptr<Control> m_editing;
    QLabel* m_editMessage = nullptr;
};

}  // namespace arn
