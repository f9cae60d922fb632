#pragma once

#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/qt/Guard.h"
#include "core/Event.h"

class QLabel;
class QLineEdit;

namespace arn {

class ArnAbsPosnCtl;
class Control;
class ParamEditor;

// Draws the panel's control tree and passes the user's clicks, edits and tooltip requests to
// the controls. Geometry is the controls' own, in twips, drawn at a fixed number of twips per
// pixel and zoomed so that the panel's design fits the widget; the panel surface is resized to
// the widget's size, which its enclosing frame then fills.
//
// The keyboard reaches the controls too: Tab and Shift+Tab move a focus mark over the usable
// controls in control order, Space acts on the marked one as a click does. A click
// on a control that is shown but not usable is reported with the reason.
//
// The view repaints when any control reports a property change, and holds the panel for as
// long as it subscribes to its controls. Library errors raised by a click or an edit go to the
// error sink.
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
    std::shared_ptr<Control> FocusedControl() const { return m_focus.lock(); }
    // The controls that Tab visits, in order.
    std::vector<std::shared_ptr<Control>> FocusChain() const;
    // A line across the top of the panel area, for a state the panel itself does not show
    // (released, timer stopped); empty hides it.
    void SetBanner(const QString& text);
    QString Banner() const { return m_banner; }

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
    std::shared_ptr<Control> TopmostAt(const QPointF& pos,
                                       const std::function<bool(const Control&)>& wanted) const;
    void Activate(const std::shared_ptr<Control>& ctl);
    void OpenEditor(const std::shared_ptr<ParamEditor>& editor);
    void CommitEditor();
    void CloseEditor();
    void PropertyChanged();
    void Refuse(const QString& text);
    void ReportIgnored(const Control& ctl);
    void PaintBanner(class QPainter& painter);
    // Where the line editor opens over the editor's edit box, in pixels.
    QRect EditBoxPixels(const ParamEditor& editor) const;

    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    ErrorSink m_report;
    std::vector<Connection> m_connections;
    double m_zoom = 1.0;
    std::weak_ptr<Control> m_pressed;
    bool m_pressedInside = false;
    QLineEdit* m_edit = nullptr;
    std::weak_ptr<ParamEditor> m_editing;
    QLabel* m_editMessage = nullptr;
    std::weak_ptr<Control> m_focus;
    QString m_banner;
};

}  // namespace arn
