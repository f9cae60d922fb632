#include "app/qt/JogTeachBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/qt/NumberText.h"
#include "host/values/Number.h"
#include "host/values/Value.h"
#include "inputs/jogAndSwInputs.h"
#include "sim/SimNode.h"

namespace arn {

namespace {

QString ValueText(const std::shared_ptr<Value>& v) {
    if (!v) {
        return QStringLiteral("-");
    }
    return NumberText(v->get_NumberValue()->GetDouble());
}

}  // namespace

JogTeachBox::JogTeachBox(std::shared_ptr<SimNode> node,
                         std::function<std::shared_ptr<jogAndSwInputs>()> inputs, ErrorSink report,
                         ErrorSink tell, QWidget* parent)
    : QGroupBox(QStringLiteral("Jog and teach"), parent),
      m_node(std::move(node)),
      m_inputs(std::move(inputs)),
      m_report(std::move(report)),
      m_tell(std::move(tell)) {
    auto* grid = new QGridLayout(this);
    m_reverse = new QPushButton(QStringLiteral("<< Jog reverse"));
    m_forward = new QPushButton(QStringLiteral("Jog forward >>"));
    for (auto* button : {m_reverse, m_forward}) {
        button->setToolTip(
            QStringLiteral("Hold to jog; the drive jogs only while enabled and "
                           "holds where it stopped when released"));
        // Held down: a repeat would start the jog again on each repeat.
        button->setAutoRepeat(false);
    }
    connect(m_reverse, &QPushButton::pressed, this, [this] { Jog(true, true); });
    connect(m_reverse, &QPushButton::released, this, [this] { Jog(false, true); });
    connect(m_forward, &QPushButton::pressed, this, [this] { Jog(true, false); });
    connect(m_forward, &QPushButton::released, this, [this] { Jog(false, false); });
    grid->addWidget(m_reverse, 0, 0);
    grid->addWidget(m_forward, 0, 1);
    m_jogValues = new QLabel(QStringLiteral("-"));
    m_jogValues->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_jogValues, 1, 0, 1, 2);

    m_teach = new QPushButton(QStringLiteral("Teach"));
    m_teach->setToolTip(
        QStringLiteral("Store the position the drive holds into the selected position (refused "
                       "while it moves)"));
    connect(m_teach, &QPushButton::clicked, this, [this] { Teach(); });
    grid->addWidget(m_teach, 2, 0);
    m_teachState = new QLabel();
    m_teachState->setWordWrap(true);
    grid->addWidget(m_teachState, 2, 1);
    Refresh();
}

void JogTeachBox::Jog(bool start, bool reverse) {
    const auto io = m_inputs ? m_inputs() : nullptr;
    if (!io) {
        return;
    }
    Guarded(m_report, start ? QStringLiteral("Jog start") : QStringLiteral("Jog end"), [&] {
        if (start) {
            io->JogStart(reverse);
        } else {
            io->JogEnd();
        }
    });
    // A refused jog was told by the drive itself; only one that runs is told here.
    const SimDrive& d = m_node->Drive();
    if (start && d.Jogging() && m_tell) {
        m_tell(QStringLiteral("Drive: jogging %1 at %2")
                   .arg(reverse ? QStringLiteral("reverse") : QStringLiteral("forward"),
                        NumberText(d.JogVelocity())));
    }
    Refresh();
}

void JogTeachBox::Teach() {
    const SimDrive& d = m_node->Drive();
    if (!d.Homed()) {
        // The panel's warning icon tells the user the drive would shut down; the simulated
        // drive refuses instead, so nothing is stored.
        if (m_tell) {
            m_tell(
                QStringLiteral("Drive: Teach refused: the unit is not homed (a drive shuts down "
                               "when taught before homing)"));
        }
        return;
    }
    // The drive says which position it wrote, or why it refused.
    Guarded(m_report, QStringLiteral("Teach"), [&] { m_node->Teach(); });
    Refresh();
}

void JogTeachBox::Refresh() {
    const auto io = m_inputs ? m_inputs() : nullptr;
    QString speed = QStringLiteral("-");
    QString accel = QStringLiteral("-");
    if (io) {
        Guarded(ErrorSink(), QString(), [&] {
            speed = ValueText(io->get_JogSpeed());
            accel = ValueText(io->get_JogAccel());
        });
    }
    const SimDrive& d = m_node->Drive();
    m_jogValues->setText(
        QStringLiteral("Jog speed %1, acceleration %2%3")
            .arg(speed, accel,
                 d.Jogging()   ? QStringLiteral(": jogging at %1").arg(NumberText(d.JogVelocity()))
                 : d.Holding() ? QStringLiteral(": holding at %1 after the jog")
                                     .arg(NumberText(d.MeasuredPosition()))
                               : QString()));
    const bool teaching = d.TeachingEnabled();
    m_teach->setEnabled(teaching);
    m_teachState->setText(teaching ? QStringLiteral("into position %1").arg(d.SelectedIndex() + 1)
                                   : QStringLiteral("usable with \"Enable Teaching\" on"));
}

}  // namespace arn
