#include "app/qt/PanelView.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/qt/QtCanvas.h"
#include "draw/DisplayList.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/UserReach.h"
#include "toolkit/SurfacePainter.h"

namespace arn {

namespace {

constexpr double DesignWidthPx = PanelControls::DesignWidth / double{TwipsPerPixelAt96Dpi};
constexpr double DesignHeightPx = PanelControls::DesignHeight / double{TwipsPerPixelAt96Dpi};
// The panel stays readable: below this zoom the window's docks give way and, past them, the
// area scrolls. Above the largest it stops growing.
constexpr double MinZoom = 0.8;
constexpr double MaxZoom = 1.5;

// Around a repainted control: its focus mark and the antialiasing of its edges.
constexpr int RepaintMarginPx = 3;

// The veil over a released panel: its controls show through, greyed.
constexpr QColor ReleasedVeil(236, 236, 236, 150);

// What messages call a control: its caption on screen.
QString NameOf(const Control& ctl) {
    return QString::fromStdString(ctl.UserCaption());
}

}  // namespace

PanelView::PanelView(std::shared_ptr<ArnAbsPosnCtl> panel, ErrorSink report, QWidget* parent)
    : QWidget(parent),
      m_panel(std::move(panel)),
      m_report(std::move(report)),
      m_input(*m_panel),
      m_damage(*m_panel) {
    setFocusPolicy(Qt::StrongFocus);
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
            ctl->PropertyChanged.connect([this](std::string_view) { DropUnreachableEditor(); }));
    }
    m_connections.push_back(
        m_input.LookChanged.connect([this](const Control& ctl) { RepaintControl(ctl); }));
    // The marks of one burst of changes (a tick, a click and what it sets off) are repainted
    // together once the burst is over.
    m_connections.push_back(m_damage.Pending.connect([this] {
        if (!m_repaintPosted) {
            m_repaintPosted = true;
            QMetaObject::invokeMethod(
                this, [this] { RepaintDamage(); }, Qt::QueuedConnection);
        }
    }));
}

void PanelView::DropUnreachableEditor() {
    // An editor whose control went out of the user's reach (e.g. homing began) is dropped.
    if (m_edit) {
        const auto editing = m_editing.lock();
        if (!editing || !editing->IsUsable() || !editing->EditorRect()) {
            CloseEditor();
        }
    }
}

void PanelView::RepaintDamage() {
    m_repaintPosted = false;
    for (const Rect& r : m_damage.Take()) {
        update(ToPixels(r).toAlignedRect().adjusted(-RepaintMarginPx, -RepaintMarginPx,
                                                    RepaintMarginPx, RepaintMarginPx));
    }
}

void PanelView::RepaintControl(const Control& ctl) {
    m_damage.Mark(ctl.SurfaceRect());
}

Point PanelView::ToTwips(const QPointF& pos) const {
    const double k = TwipsPerPixelAt96Dpi / m_zoom;
    return {static_cast<int32_t>(std::floor(pos.x() * k)),
            static_cast<int32_t>(std::floor(pos.y() * k))};
}

QRectF PanelView::ToPixels(const Rect& twips) const {
    const double k = m_zoom / TwipsPerPixelAt96Dpi;
    return {twips.left * k, twips.top * k, twips.width * k, twips.height * k};
}

QSize PanelView::sizeHint() const {
    return {static_cast<int>(DesignWidthPx * 1.4), static_cast<int>(DesignHeightPx * 1.4)};
}

QSize PanelView::minimumSizeHint() const {
    // The smallest zoom that stays readable; a smaller area scrolls.
    return {static_cast<int>(std::ceil(DesignWidthPx * MinZoom)),
            static_cast<int>(std::ceil(DesignHeightPx * MinZoom))};
}

QRectF PanelView::ControlRect(const Control& ctl) const {
    return ToPixels(ctl.SurfaceRect());
}

std::shared_ptr<Control> PanelView::ClickableAt(const QPointF& pos) const {
    return m_input.ClickableAt(ToTwips(pos));
}

std::shared_ptr<Control> PanelView::ToolTipAt(const QPointF& pos) const {
    return m_input.ToolTipAt(ToTwips(pos));
}

void PanelView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QtCanvas canvas(&painter, m_zoom);
    DisplayList list;
    SurfacePainter(*m_panel, canvas)
        .Paint(list, m_input.Pressed(), hasFocus() ? m_input.Focused() : nullptr,
               canvas.ToTwips(event->rect()));
    list.Replay(canvas);
    if (!m_panel->IsAttached()) {
        painter.fillRect(event->rect(), ReleasedVeil);
    }
}

void PanelView::AttachmentChanged() {
    if (!m_panel->IsAttached()) {
        CloseEditor();
    }
    update();
}

void PanelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_zoom =
        std::clamp(std::min(width() / DesignWidthPx, height() / DesignHeightPx), MinZoom, MaxZoom);
    const double twipsPerPixel = TwipsPerPixelAt96Dpi / m_zoom;
    Guarded(m_report, QStringLiteral("Resize"), [&] {
        m_panel->Resize(static_cast<int32_t>(std::lround(width() * twipsPerPixel)),
                        static_cast<int32_t>(std::lround(height() * twipsPerPixel)));
    });
    if (m_edit) {
        if (const auto editing = m_editing.lock()) {
            if (const auto box = editing->EditorRect()) {
                m_edit->setGeometry(ToPixels(*box).toRect());
            }
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
    // A released panel follows no node: its clicks are refused here, before they reach it.
    if (!m_panel->IsAttached()) {
        if (const auto ctl = ClickableAt(event->position())) {
            ReportIgnored(*ctl);
        }
        return;
    }
    Act(m_input.Press(ToTwips(event->position())));
}

void PanelView::ReportIgnored(const Control& ctl) {
    if (!m_report) {
        return;
    }
    QString why = QString::fromStdString(WhyOutOfReach(*m_panel, ctl));
    if (!m_panel->IsAttached()) {
        why += QStringLiteral(" (Panel > Attached attaches it)");
    } else if (!m_panel->get_Enabled()) {
        why += QStringLiteral(" (Panel > Enabled)");
    }
    m_report(NameOf(ctl) + QStringLiteral(" ignores the click: ") + why);
}

void PanelView::mouseMoveEvent(QMouseEvent* event) {
    m_input.Move(ToTwips(event->position()));
}

void PanelView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_panel->IsAttached()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    Act(m_input.Release(ToTwips(event->position())));
}

void PanelView::Act(const SurfaceAction& action) {
    const auto& ctl = action.control;
    switch (action.kind) {
        case SurfaceAction::Kind::None:
            return;
        case SurfaceAction::Kind::Ignored:
            ReportIgnored(*ctl);
            return;
        case SurfaceAction::Kind::NothingToEdit:
            if (m_report) {
                m_report(NameOf(*ctl) + QStringLiteral(": nothing to edit here (no parameter)"));
            }
            return;
        case SurfaceAction::Kind::Edit:
            OpenEditor(ctl, action.editorRect);
            return;
        case SurfaceAction::Kind::Click:
            Guarded(m_report, QStringLiteral("Click on %1").arg(NameOf(*ctl)),
                    [&] { ctl->UserClick(); });
            return;
    }
}

void PanelView::OpenEditor(const std::shared_ptr<Control>& editor, const Rect& box) {
    CloseEditor();
    QString text;
    if (!Guarded(m_report, QStringLiteral("Reading %1").arg(NameOf(*editor)),
                 [&] { text = QString::fromStdString(editor->EditText()); })) {
        return;
    }
    m_editing = editor;
    m_edit = new QLineEdit(text, this);
    m_edit->setAlignment(Qt::AlignRight);
    m_edit->setToolTip(QStringLiteral("Enter to write the value, Esc to cancel"));
    m_edit->setGeometry(ToPixels(box).toRect());
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
    if (!editor) {
        CloseEditor();
        return;
    }
    // A refused entry keeps the box open with its text and says why, so nothing is lost. The
    // control judges the text, as it does for every host.
    EntryCheck check;
    if (!Guarded(m_report, QStringLiteral("Reading %1").arg(NameOf(*editor)),
                 [&] { check = editor->CheckEntry(text.toStdString()); })) {
        return;
    }
    if (!check.Accepted()) {
        Refuse(QString::fromStdString(check.refusal) +
               QStringLiteral("; nothing written (Esc cancels)"));
        return;
    }
    CloseEditor();
    Guarded(m_report, QStringLiteral("Writing %1").arg(NameOf(*editor)),
            [&] { editor->UserEnter(*check.number); });
}

void PanelView::Refuse(const QString& text) {
    if (!m_editMessage) {
        m_editMessage = new QLabel(this);
        m_editMessage->setObjectName(QStringLiteral("editorMessage"));
        m_editMessage->setStyleSheet(
            QStringLiteral("QLabel { background: #b00020; color: white; padding: 2px 4px; }"));
    }
    // Wrapped within the view, so a long message is never cut at its edge.
    m_editMessage->setWordWrap(true);
    m_editMessage->setMaximumWidth(std::max(80, width() - 8));
    m_editMessage->setText(text);
    m_editMessage->adjustSize();
    const QRect box = m_edit->geometry();
    const int left = std::clamp(box.left(), 0, std::max(0, width() - m_editMessage->width()));
    m_editMessage->move(left, box.bottom() + 2);
    m_editMessage->show();
    m_editMessage->raise();
    m_edit->selectAll();
    if (m_report) {
        m_report(text);
    }
}

void PanelView::CloseEditor() {
    if (m_editMessage) {
        m_editMessage->hide();
    }
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
            QToolTip::showText(help->globalPos(), QString::fromStdString(ctl->ToolTip()), this,
                               ControlRect(*ctl).toRect());
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

bool PanelView::focusNextPrevChild(bool next) {
    // The line editor keeps Qt's own Tab; past either end of the chain the keyboard leaves the
    // panel for the window's other widgets.
    if (!m_edit && m_input.Tab(next)) {
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void PanelView::focusInEvent(QFocusEvent* event) {
    // The focus mark is drawn only while the view has the focus; QWidget repaints for it.
    QWidget::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        m_input.EnterByTab(event->reason() == Qt::TabFocusReason);
    }
}

void PanelView::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Space only: a Return that the inline editor passes on must not act on the marked control.
    if (event->key() == Qt::Key_Space && m_input.FocusedControl()) {
        if (!m_panel->IsAttached()) {
            ReportIgnored(*m_input.FocusedControl());
            return;
        }
        Act(m_input.Space());
        return;
    }
    QWidget::keyPressEvent(event);
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
