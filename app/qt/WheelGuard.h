#pragma once

#include <QObject>

class QWidget;

namespace arn {

// Keeps the mouse wheel from changing a spin box or combo box that the user has not focused
// (by a click or Tab): over such a box the wheel scrolls the area around it instead, so that
// scrolling a dock past its controls never changes one of them.
class WheelGuard : public QObject {
  public:
    explicit WheelGuard(QObject* parent) : QObject(parent) {}

    // Guards every spin box and combo box below root; the guard lives as long as root.
    static void Guard(QWidget* root);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace arn
