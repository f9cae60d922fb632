#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "sim/SimDrive.h"

namespace arn {

class Control;
class MainWindow;
class ParamEditor;

// A person at the host window, played by a script: clicks and hovers over the panel's controls
// through the view's mouse and tooltip events, types into the inline parameter editor, works
// the drive's side panel and the window's menu actions, and lets the host's timer tick. Nothing
// here reaches into the panel: every change goes through what a user can click, and what the
// script reads back is what the panel's controls show.
//
// The host's own timer is stopped while a script runs, so that each tick is one Tick() here.
class ScriptedUser {
  public:
    explicit ScriptedUser(MainWindow& window);

    // A left-button press and release over the control's centre. False when the control under
    // the mouse there is another one, or is hidden or disabled: the click then reaches nothing,
    // as it would for a user.
    bool Click(const Control& ctl);
    // Rests the mouse over the control until Qt asks for its tooltip; returns the text shown
    // (empty when the view shows none there).
    QString Hover(const Control& ctl);
    void HideToolTip();
    // Clicks the parameter editor, types text into the box that opens and presses Return.
    // False when no box opened.
    bool Type(const ParamEditor& editor, const QString& text);

    // The drive's side panel: sets a hardware pin by its check box (no click when it already
    // shows the state), presses "Start homing", chooses an operational mode in the list.
    void SetPin(SimPin pin, bool on);
    void StartHomingAtDrive();
    // Holds a jog button down for `ticks` periods of the host timer, then lets it go.
    void JogAtDrive(bool reverse, int ticks);
    // Clicks the dock's "Teach"; false when the button is greyed.
    bool TeachAtDrive();
    bool ChooseMode(int32_t mode);
    // The Panel menu's Attached switch.
    void SetAttached(bool on);

    // n periods of the host timer, each followed by the events it queued (repaints included).
    void Tick(int n = 1);
    // Ticks until done() holds, at most limit times; returns the ticks it took, or -1.
    template <class Pred>
    int TickUntil(Pred done, int limit) {
        for (int i = 1; i <= limit; ++i) {
            Tick();
            if (done()) {
                return i;
            }
        }
        return -1;
    }

    // The window as the screen shows it, with a tooltip that is up drawn over it.
    QImage Picture() const;

  private:
    MainWindow& m_window;
};

}  // namespace arn
