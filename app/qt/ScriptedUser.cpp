#include "app/qt/ScriptedUser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolTip>

#include "app/qt/DrivePanel.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/MainWindow.h"
#include "app/qt/PanelView.h"
#include "host/controls/ParamEditor.h"

namespace arn {

namespace {

void SendMouse(QWidget* target, QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

ScriptedUser::ScriptedUser(MainWindow& window) : m_window(window) {
    m_window.SetTicking(false, true);
}

bool ScriptedUser::Click(const Control& ctl) {
    PanelView* view = m_window.View();
    const QPointF at = view->ControlRect(ctl).center();
    const auto hit = view->ClickableAt(at);
    const bool reaches = hit.get() == &ctl && ctl.IsUsable();
    SendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, at, Qt::NoButton);
    QApplication::processEvents();
    return reaches;
}

QString ScriptedUser::Hover(const Control& ctl) {
    PanelView* view = m_window.View();
    const QPoint at = view->ControlRect(ctl).center().toPoint();
    QHelpEvent event(QEvent::ToolTip, at, view->mapToGlobal(at));
    QApplication::sendEvent(view, &event);
    QApplication::processEvents();
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

void ScriptedUser::HideToolTip() {
    // Qt lets a tooltip linger for a moment after hideText; the mouse moving on closes it at once.
    QToolTip::hideText();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->inherits("QTipLabel")) {
            top->close();
        }
    }
    QApplication::processEvents();
}

bool ScriptedUser::Type(const ParamEditor& editor, const QString& text) {
    Click(editor);
    QLineEdit* box = m_window.View()->ActiveEditor();
    if (!box) {
        return false;
    }
    box->setText(text);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QApplication::processEvents();
    return m_window.View()->ActiveEditor() == nullptr;
}

void ScriptedUser::SetPin(SimPin pin, bool on) {
    QCheckBox* box = m_window.Drive()->PinBox(static_cast<int>(pin));
    if (box->isChecked() != on) {
        box->click();
    }
    QApplication::processEvents();
}

void ScriptedUser::StartHomingAtDrive() {
    m_window.Drive()->HomingButton()->click();
    QApplication::processEvents();
}

void ScriptedUser::JogAtDrive(bool reverse, int ticks) {
    JogTeachBox* box = m_window.Drive()->JogTeach();
    QPushButton* button = reverse ? box->JogReverseButton() : box->JogForwardButton();
    const QPointF at = QRectF(button->rect()).center();
    SendMouse(button, QEvent::MouseButtonPress, at, Qt::LeftButton);
    Tick(ticks);
    SendMouse(button, QEvent::MouseButtonRelease, at, Qt::NoButton);
    QApplication::processEvents();
}

bool ScriptedUser::TeachAtDrive() {
    QPushButton* teach = m_window.Drive()->JogTeach()->TeachButton();
    if (!teach->isEnabled()) {
        return false;
    }
    teach->click();
    QApplication::processEvents();
    return true;
}

bool ScriptedUser::ChooseMode(int32_t mode) {
    QComboBox* box = m_window.Drive()->ModeBox();
    const int index = box->findData(mode);
    if (index < 0) {
        return false;
    }
    box->setCurrentIndex(index);
    QApplication::processEvents();
    return true;
}

void ScriptedUser::SetAttached(bool on) {
    QAction* action = m_window.AttachedAction();
    if (action->isChecked() != on) {
        action->trigger();
    }
    QApplication::processEvents();
}

void ScriptedUser::Tick(int n) {
    for (int i = 0; i < n; ++i) {
        m_window.Tick();
        QApplication::processEvents();
    }
}

QImage ScriptedUser::Picture() const {
    QImage image = m_window.grab().toImage();
    if (!QToolTip::isVisible()) {
        return image;
    }
    // The tooltip is a window of its own; it is drawn where the screen shows it.
    const QPoint origin = m_window.mapToGlobal(QPoint(0, 0));
    QPainter painter(&image);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->inherits("QTipLabel")) {
            painter.drawPixmap(top->geometry().topLeft() - origin, top->grab());
        }
    }
    return image;
}

}  // namespace arn
