#pragma once

#include <QGroupBox>
#include <memory>

#include "app/qt/Guard.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace arn {

class SimNode;

// The drive's setup that the panel's checks read, set at the drive: homing direction, axis
// type, home sensor polarity, "Homing Ex", the homed state, maximum travel (parameter 343), the
// in-position window (parameter 267) and the position units (parameter 268, whose name
// parameter 271 shows). Each change is a drive-side change of the node, so the node's value
// objects raise their events to the panel. Each change is told to `tell` in one sentence
// ("Drive: Homing direction set to 1: toward negative"); failures go to `report`.
class DriveSetupBox : public QGroupBox {
  public:
    DriveSetupBox(std::shared_ptr<SimNode> node, ErrorSink report, ErrorSink tell,
                  QWidget* parent = nullptr);

    // Loads the controls from the drive without writing anything back.
    void Refresh();

    QComboBox* HomingDirectionBox() const { return m_homingDir; }
    QCheckBox* InfiniteAxisBox() const { return m_axis; }
    QCheckBox* SensorPolarityBox() const { return m_polarity; }
    QCheckBox* HomingExBox() const { return m_homingEx; }
    QCheckBox* HomedBox() const { return m_homed; }
    QSpinBox* MaxTravelBox() const { return m_maxTravel; }
    QSpinBox* WindowBox() const { return m_window; }
    QComboBox* UnitsBox() const { return m_units; }

  private:
    // Each writes, then tells "Drive: <caption> <what>" when the write went through.
    void ForceField(const QString& caption, int32_t number, const char* key, uint32_t bits,
                    const QString& what);
    void ForceParam(const QString& caption, int32_t number, double content, const QString& what);
    void Tell(bool done, const QString& caption, const QString& what);

    std::shared_ptr<SimNode> m_node;
    ErrorSink m_report;
    ErrorSink m_tell;
    QComboBox* m_homingDir = nullptr;
    QCheckBox* m_axis = nullptr;
    QCheckBox* m_polarity = nullptr;
    QCheckBox* m_homingEx = nullptr;
    QCheckBox* m_homed = nullptr;
    QSpinBox* m_maxTravel = nullptr;
    QSpinBox* m_window = nullptr;
    QComboBox* m_units = nullptr;
};

}  // namespace arn
