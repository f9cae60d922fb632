#pragma once

#include <QGroupBox>
#include <functional>
#include <memory>

#include "app/qt/Guard.h"

class QLabel;
class QPushButton;

namespace arn {

class SimNode;
class jogAndSwInputs;

// Jog and teach-in at the drive. The jog buttons go through the panel's inputs object, the
// only caller its jog members have: pressing a button starts the jog (JogStart), releasing it
// ends it (JogEnd), and the drive holds where it stopped. The jog speed and acceleration are
// those of the inputs object's jog values. "Teach" is usable while "Teach Absolute Positions"
// is on and has the drive store the position it holds into the position that the effective
// inputs select, as the drive's own teach input does. The drive itself says what it did or
// why it refused; a jog that starts is told to `tell`, failures go to `report`.
class JogTeachBox : public QGroupBox {
  public:
    // inputs gives the panel's current inputs object (the panel replaces it at each release).
    JogTeachBox(std::shared_ptr<SimNode> node,
                std::function<std::shared_ptr<jogAndSwInputs>()> inputs, ErrorSink report,
                ErrorSink tell, QWidget* parent = nullptr);

    void Refresh();

    QPushButton* JogForwardButton() const { return m_forward; }
    QPushButton* JogReverseButton() const { return m_reverse; }
    QPushButton* TeachButton() const { return m_teach; }
    QLabel* JogValues() const { return m_jogValues; }

  private:
    void Jog(bool start, bool reverse);
    void Teach();

    std::shared_ptr<SimNode> m_node;
    std::function<std::shared_ptr<jogAndSwInputs>()> m_inputs;
    ErrorSink m_report;
    ErrorSink m_tell;
    QPushButton* m_forward = nullptr;
    QPushButton* m_reverse = nullptr;
    QLabel* m_jogValues = nullptr;
    QPushButton* m_teach = nullptr;
    QLabel* m_teachState = nullptr;
};

}  // namespace arn
