#include "app/qt/PanelView.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "app/qt/ControlPainter.h"
#include "host/controls/ArnHomingCtl.h"
#include "host/controls/ArnJerkPanelCtl.h"
#include "host/controls/ArnTrqLimitSetupCtl.h"
#include "host/controls/ParamEditor.h"
#include "panel/ArnAbsPosnCtl.h"
#include "toolkit/CheckBox.h"
#include "toolkit/CommandButton.h"
#include "toolkit/SSCheck.h"
#include "toolkit/SSCommand.h"

namespace arn {

namespace {

constexpr double DesignWidthPx = PanelControls::DesignWidth / ControlPainter::TwipsPerPixel;
constexpr double DesignHeightPx = PanelControls::DesignHeight / ControlPainter::TwipsPerPixel;
constexpr double MinZoom = 0.5;
constexpr double MaxZoom = 4.0;

QString NameOf(const Control& ctl) {
    QString name = QString::fromStdString(ctl.get_Name());
    if (ctl.get_Index() >= 0) {
        name += QStringLiteral("(%1)").arg(ctl.get_Index());
    }
    return name;
}

// The user's number: the plain C form first ("1500.5"), then the user's locale ("1.500,5").
bool ParseNumber(const QString& text, double& value) {
    bool ok = false;
    const QString t = text.trimmed();
    value = QLocale::c().toDouble(t, &ok);
    if (!ok) {
        value = QLocale().toDouble(t, &ok);
    }
    return ok && std::isfinite(value);
}

}  // namespace

PanelView::PanelView(std::shared_ptr<ArnAbsPosnCtl> panel, ErrorSink report, QWidget* parent)
    : QWidget(parent), m_panel(std::move(panel)), m_report(std::move(report)) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Subscribe();
}

PanelView::~PanelView() {
    // The connections go first (member order keeps the panel alive until then).
    m_connections.clear();
}

void PanelView::Subscribe() {
    for (const auto& ctl : m_panel->Controls()) {
        m_connections.push_back(
            ctl->PropertyChanged.connect([this](std::string_view) { PropertyChanged(); }));
    }
    m_connections.push_back(m_panel->Refreshed.connect([this] { PropertyChanged(); }));
}

void PanelView::PropertyChanged() {
    // An editor whose control went out of the user's reach (e.g. homing began) is dropped.
    if (m_edit) {
        const auto editing = m_editing.lock();
        if (!editing || !editing->IsUsable() || !editing->get_Active()) {
            CloseEditor();
        }
    }
    update();
}

QSize PanelView::sizeHint() const {
    return {static_cast<int>(DesignWidthPx * 1.4), static_cast<int>(DesignHeightPx * 1.4)};
}

QSize PanelView::minimumSizeHint() const {
    return {static_cast<int>(DesignWidthPx * 0.6), static_cast<int>(DesignHeightPx * 0.6)};
}

QRectF PanelView::ControlRect(const Control& ctl) const {
    double left = ctl.get_Left();
    double top = ctl.get_Top();
    for (const Control* c = ctl.get_Parent(); c; c = c->get_Parent()) {
        left += c->get_Left();
        top += c->get_Top();
    }
    const double k = m_zoom / ControlPainter::TwipsPerPixel;
    return {left * k, top * k, ctl.get_Width() * k, ctl.get_Height() * k};
}

std::shared_ptr<Control> PanelView::TopmostAt(
    const QPointF& pos, const std::function<bool(const Control&)>& wanted) const {
    // Control order draws containers before their content and later siblings over earlier
    // ones, so the last hit is the one on top.
    std::shared_ptr<Control> hit;
    for (const auto& ctl : m_panel->Controls()) {
        if (ctl->IsShown() && wanted(*ctl) && ControlRect(*ctl).contains(pos)) {
            hit = ctl;
        }
    }
    return hit;
}

std::shared_ptr<Control> PanelView::ClickableAt(const QPointF& pos) const {
    return TopmostAt(pos, [](const Control& ctl) { return ctl.AcceptsClicks(); });
}

std::shared_ptr<Control> PanelView::ToolTipAt(const QPointF& pos) const {
    return TopmostAt(pos, [](const Control& c) { return !c.get_ToolTipText().empty(); });
}

void PanelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ControlPainter::ColorOf(ColorButtonFace));
    for (const auto& top : m_panel->TopLevelControls()) {
        PaintTree(painter, *top, QPointF(0, 0));
    }
}

void PanelView::PaintTree(QPainter& painter, const Control& ctl, const QPointF& origin) {
    if (!ctl.get_Visible()) {
        return;
    }
    const double k = m_zoom / ControlPainter::TwipsPerPixel;
    const QRectF box(origin.x() + ctl.get_Left() * k, origin.y() + ctl.get_Top() * k,
                     ctl.get_Width() * k, ctl.get_Height() * k);
    const auto pressed = m_pressed.lock();
    ControlPainter(painter, m_zoom)
        .Paint(ctl, box, origin, m_pressedInside && pressed.get() == &ctl);
    if (ctl.Children().empty()) {
        return;
    }
    // A container clips what it holds to its inside, so its border stays whole.
    painter.save();
    painter.setClipRect(box.adjusted(1, 1, -2, -2), Qt::IntersectClip);
    for (const auto& child : ctl.Children()) {
        PaintTree(painter, *child, box.topLeft());
    }
    painter.restore();
}

void PanelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_zoom =
        std::clamp(std::min(width() / DesignWidthPx, height() / DesignHeightPx), MinZoom, MaxZoom);
    const double twipsPerPixel = ControlPainter::TwipsPerPixel / m_zoom;
    Guarded(m_report, QStringLiteral("Resize"), [&] {
        m_panel->Resize(static_cast<int32_t>(std::lround(width() * twipsPerPixel)),
                        static_cast<int32_t>(std::lround(height() * twipsPerPixel)));
    });
    if (m_edit) {
        if (const auto editing = m_editing.lock()) {
            m_edit->setGeometry(
                ControlPainter::EditBoxRect(*editing, ControlRect(*editing), m_zoom).toRect());
        }
    }
    update();
}

void PanelView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Guarded(m_report, QStringLiteral("Show"), [&] { m_panel->Show(); });
}

void PanelView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Guarded(m_report, QStringLiteral("Hide"), [&] { m_panel->Hide(); });
}

void PanelView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const auto target = ClickableAt(event->position());
    if (target && target->IsUsable()) {
        m_pressed = target;
        m_pressedInside = true;
        update();
    }
}

void PanelView::mouseMoveEvent(QMouseEvent* event) {
    if (const auto pressed = m_pressed.lock()) {
        const bool inside = ControlRect(*pressed).contains(event->position());
        if (inside != m_pressedInside) {
            m_pressedInside = inside;
            update();
        }
    }
}

void PanelView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const auto pressed = m_pressed.lock();
    m_pressed.reset();
    m_pressedInside = false;
    if (pressed && ClickableAt(event->position()) == pressed) {
        Activate(pressed);
    }
    update();
}

void PanelView::Activate(const std::shared_ptr<Control>& ctl) {
    const QString what = QStringLiteral("Click on %1").arg(NameOf(*ctl));
    if (auto editor = std::dynamic_pointer_cast<ParamEditor>(ctl)) {
        if (!editor->get_ParamObject() || !editor->get_Active()) {
            if (m_report) {
                m_report(NameOf(*ctl) + ": no parameter to edit here");
            }
            return;
        }
        OpenEditor(editor);
        return;
    }
    Guarded(m_report, what, [&] { ctl->UserClick(); });
}

void PanelView::OpenEditor(const std::shared_ptr<ParamEditor>& editor) {
    CloseEditor();
    QString text;
    if (!Guarded(m_report, QStringLiteral("Reading %1").arg(NameOf(*editor)),
                 [&] { text = QString::fromStdString(editor->DisplayText()); })) {
        return;
    }
    m_editing = editor;
    m_edit = new QLineEdit(text, this);
    m_edit->setAlignment(Qt::AlignRight);
    m_edit->setToolTip(QStringLiteral("Enter to write the value, Esc to cancel"));
    m_edit->setGeometry(
        ControlPainter::EditBoxRect(*editor, ControlRect(*editor), m_zoom).toRect());
    m_edit->installEventFilter(this);
    QLineEdit* edit = m_edit;
    // Return and leaving the box both write the value; Esc closes the box first.
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
        if (m_edit == edit) {
            CommitEditor();
        }
    });
    m_edit->selectAll();
    m_edit->show();
    m_edit->setFocus(Qt::MouseFocusReason);
}

void PanelView::CommitEditor() {
    const auto editor = m_editing.lock();
    const QString text = m_edit ? m_edit->text() : QString();
    CloseEditor();
    if (!editor) {
        return;
    }
    double value = 0;
    if (!ParseNumber(text, value)) {
        if (m_report) {
            m_report(NameOf(*editor) + ": \"" + text + "\" is not a number; nothing written");
        }
        return;
    }
    Guarded(m_report, QStringLiteral("Writing %1").arg(NameOf(*editor)),
            [&] { editor->UserEnter(value); });
    update();
}

void PanelView::CloseEditor() {
    if (!m_edit) {
        return;
    }
    QLineEdit* edit = m_edit;
    m_edit = nullptr;
    m_editing.reset();
    edit->removeEventFilter(this);
    edit->hide();
    // The box may be closing from inside one of its own signals.
    edit->deleteLater();
    setFocus(Qt::OtherFocusReason);
}

bool PanelView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const auto ctl = ToolTipAt(help->pos())) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(ctl->get_ToolTipText()),
                               this, ControlRect(*ctl).toRect());
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

bool PanelView::eventFilter(QObject* watched, QEvent* event) {
    if (m_edit && watched == m_edit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CloseEditor();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace arn
