#include "app/qt/WheelGuard.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
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
    const auto* box = qobject_cast<QWidget*>(watched);
    if (box && box->hasFocus()) {
        return false;
    }
    // Ignored and filtered out: the box never sees it, and Qt hands the ignored wheel on to
    // the parents, where the scroll area takes it.
    event->ignore();
    return true;
}

}  // namespace arn
