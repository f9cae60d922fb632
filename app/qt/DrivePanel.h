#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/qt/Guard.h"
#include "core/Event.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace arn {

class DriveSetupBox;
class JogTeachBox;
class SimNode;
class jogAndSwInputs;

// The person at the drive: the three hardware input pins, homing, the trigger input, the
// operational mode, the homing and position setup that the panel's checks read, jog and
// teach-in, and readouts of what the simulated drive is doing. Every action is a
// drive-side change of the node (its value objects then raise their events to the panel).
//
// Every change the dock makes to the drive, and every report of the drive itself (refusals,
// homing started, waiting at the hard stop, homed, aborted, taught), comes out of Reported as
// one plain sentence starting "Drive: ". Its spin boxes and combo boxes take the mouse wheel
// only while focused, so that scrolling the dock changes nothing.
class DrivePanel : public QWidget {
  public:
    // inputs gives the panel's current inputs object, through which the jog buttons jog.
    DrivePanel(std::shared_ptr<SimNode> node,
               std::function<std::shared_ptr<jogAndSwInputs>()> inputs, ErrorSink report,
               QWidget* parent = nullptr);

    // Updates the readouts from the drive; the host calls it after each tick.
    void Refresh();

    // Raised after the user changed the operational mode, with the new mode.
    std::function<void(int32_t)> ModeChanged;
    // The dock's one sentence per change or drive report, for the status bar and the trace.
    std::function<void(const QString&)> Reported;

    // Writes the drive's setup parameters to path as registry text (see DriveSetupFile), or
    // reads such a file and applies it whole; a bad file changes nothing. Either way the
    // outcome is Reported; false when it failed.
    bool SaveSetup(const QString& path);
    bool LoadSetup(const QString& path);

    QCheckBox* PinBox(int pin) const { return m_pins.at(static_cast<size_t>(pin)); }
    QPushButton* HomingButton() const { return m_startHoming; }
    QComboBox* ModeBox() const { return m_mode; }
    DriveSetupBox* Setup() const { return m_setup; }
    JogTeachBox* JogTeach() const { return m_jogTeach; }
    // The drive-state readouts by caption ("Measured position", "Homing", "Motion", ...).
    QLabel* Readout(const QString& caption) const;

  private:
    void SetPin(int pin, bool on);
    void SetMode(int32_t mode);
    void Tell(const QString& sentence);

    std::shared_ptr<SimNode> m_node;
    ErrorSink m_report;
    Connection m_driveReports;
    std::array<QCheckBox*, 3> m_pins{};
    QPushButton* m_startHoming = nullptr;
    QCheckBox* m_recovering = nullptr;
    QComboBox* m_mode = nullptr;
    QLabel* m_measured = nullptr;
    QLabel* m_selected = nullptr;
    QLabel* m_source = nullptr;
    QLabel* m_enabled = nullptr;
    QLabel* m_homing = nullptr;
    QLabel* m_motion = nullptr;
    DriveSetupBox* m_setup = nullptr;
    JogTeachBox* m_jogTeach = nullptr;
};

}  // namespace arn
