#include "app/qt/WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QWheelEvent>
#include <QWidget>

namespace arn {

void WheelGuard::Guard(QWidget* root) {
    auto* guard = new WheelGuard(root);
    const auto guardOne = [guard](QWidget* box) {
        // A click or Tab focuses the box; the wheel alone does not.
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(guard);
    };
    for (auto* box : root->findChildren<QAbstractSpinBox*>()) {
        guardOne(box);
    }
    for (auto* box : root->findChildren<QComboBox*>()) {
        guardOne(box);
    }
}

bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) {
        return false;
    }
    auto* box = qobject_cast<QWidget*>(watched);
    if (!box || box->hasFocus()) {
        return false;
    }
    // The box never sees the wheel; the scroll area around it gets it instead, handed over
    // here because Qt passes an ignored wheel to the parents only when it came from the window
    // system, not when a script sent it.
    QAbstractScrollArea* area = nullptr;
    for (QWidget* up = box->parentWidget(); up && !area; up = up->parentWidget()) {
        area = qobject_cast<QAbstractScrollArea*>(up);
    }
    if (!area) {
        event->ignore();
        return true;
    }
    const auto* wheel = static_cast<QWheelEvent*>(event);
    QWidget* viewport = area->viewport();
    const QPointF at = viewport->mapFromGlobal(wheel->globalPosition());
    QWheelEvent handed(at, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
                       wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted());
    QApplication::sendEvent(viewport, &handed);
    event->accept();
    return true;
}

}  // namespace arn
