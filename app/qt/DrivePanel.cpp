#include "app/qt/DrivePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/qt/DriveSetupBox.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/NumberText.h"
#include "sim/SimLayout.h"
#include "sim/SimNode.h"

namespace arn {

namespace {

struct ModeChoice {
    int32_t mode;
    const char* text;
};

// The modes whose layouts differ on the panel.
constexpr std::array<ModeChoice, 3> Modes = {{
    {8, "8: four positions (A, B)"},
    {2, "2: two positions (A)"},
    {18, "18: two positions, homing to a stop"},
}};

QLabel* AddReadout(QFormLayout* form, const QString& caption) {
    auto* value = new QLabel(QStringLiteral("-"));
    value->setObjectName(caption);
    value->setWordWrap(true);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, value);
    return value;
}

QString YesNo(bool v) {
    return v ? QStringLiteral("yes") : QStringLiteral("no");
}

}  // namespace

DrivePanel::DrivePanel(std::shared_ptr<SimNode> node,
                       std::function<std::shared_ptr<jogAndSwInputs>()> inputs, ErrorSink report,
                       QWidget* parent)
    : QWidget(parent), m_node(std::move(node)), m_report(std::move(report)) {
    auto* layout = new QVBoxLayout(this);

    auto* pins = new QGroupBox(QStringLiteral("Hardware inputs"));
    auto* pinLayout = new QVBoxLayout(pins);
    const std::array<QString, 3> pinNames = {QStringLiteral("Enable"), QStringLiteral("Input A"),
                                             QStringLiteral("Input B")};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(pinNames[static_cast<size_t>(i)]);
        box->setToolTip(QStringLiteral("The drive's %1 pin").arg(pinNames[static_cast<size_t>(i)]));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { SetPin(i, on); });
        pinLayout->addWidget(box);
        m_pins[static_cast<size_t>(i)] = box;
    }
    layout->addWidget(pins);

    auto* drive = new QGroupBox(QStringLiteral("Drive"));
    auto* driveLayout = new QVBoxLayout(drive);
    auto* modeForm = new QFormLayout();
    m_mode = new QComboBox();
    for (const auto& choice : Modes) {
        m_mode->addItem(QString::fromLatin1(choice.text), choice.mode);
    }
    modeForm->addRow(QStringLiteral("Operational mode"), m_mode);
    driveLayout->addLayout(modeForm);
    m_startHoming = new QPushButton(QStringLiteral("Start homing"));
    connect(m_startHoming, &QPushButton::clicked, this, [this] {
        Guarded(m_report, QStringLiteral("Start homing"), [&] {
            m_node->Drive().StartHoming();
            m_node->Sync();
        });
    });
    auto* trigger = new QPushButton(QStringLiteral("Pulse trigger"));
    connect(trigger, &QPushButton::clicked, this, [this] {
        Guarded(m_report, QStringLiteral("Pulse trigger"), [&] { m_node->PulseTrigger(); });
    });
    m_recovering = new QCheckBox(QStringLiteral("Position recovering"));
    connect(m_recovering, &QCheckBox::toggled, this, [this](bool on) {
        Guarded(m_report, QStringLiteral("Position recovering"),
                [&] { m_node->SetPositionRecovering(on); });
    });
    driveLayout->addWidget(m_startHoming);
    driveLayout->addWidget(trigger);
    driveLayout->addWidget(m_recovering);
    layout->addWidget(drive);
    m_setup = new DriveSetupBox(m_node, m_report);
    layout->addWidget(m_setup);
    m_jogTeach = new JogTeachBox(m_node, std::move(inputs), m_report);
    layout->addWidget(m_jogTeach);

    auto* state = new QGroupBox(QStringLiteral("Drive state"));
    auto* form = new QFormLayout(state);
    m_measured = AddReadout(form, QStringLiteral("Measured position"));
    m_selected = AddReadout(form, QStringLiteral("Selected position"));
    m_source = AddReadout(form, QStringLiteral("Inputs from"));
    m_enabled = AddReadout(form, QStringLiteral("Enabled"));
    m_homing = AddReadout(form, QStringLiteral("Homing"));
    m_motion = AddReadout(form, QStringLiteral("Motion"));
    layout->addWidget(state);
    layout->addStretch(1);

    const int index = m_mode->findData(m_node->Drive().OperationalMode());
    m_mode->setCurrentIndex(index >= 0 ? index : 0);
    // Connected after the initial selection so that building the panel changes nothing.
    connect(m_mode, &QComboBox::currentIndexChanged, this,
            [this](int i) { SetMode(m_mode->itemData(i).toInt()); });
    Refresh();
}

void DrivePanel::SetPin(int pin, bool on) {
    Guarded(m_report, QStringLiteral("Set pin"),
            [&] { m_node->SetPin(static_cast<SimPin>(pin), on); });
    Refresh();
}

void DrivePanel::SetMode(int32_t mode) {
    const bool done = Guarded(m_report, QStringLiteral("Operational mode"), [&] {
        m_node->ForceField(param::MotionSetup, "Operational Mode", static_cast<uint32_t>(mode));
    });
    Refresh();
    if (done && ModeChanged) {
        ModeChanged(mode);
    }
}

void DrivePanel::Refresh() {
    const SimDrive& d = m_node->Drive();
    // The mode can also change on the node's side (a write through the panel's editors).
    const int modeIndex = m_mode->findData(d.OperationalMode());
    if (modeIndex >= 0 && modeIndex != m_mode->currentIndex()) {
        const QSignalBlocker quiet(m_mode);
        m_mode->setCurrentIndex(modeIndex);
    }
    m_measured->setText(NumberText(d.MeasuredPosition()));
    m_selected->setText(QStringLiteral("%1 (target %2)")
                            .arg(d.SelectedIndex() + 1)
                            .arg(NumberText(d.SelectedTarget())));
    m_source->setText(d.FollowsPins() ? QStringLiteral("hardware pins")
                                      : QStringLiteral("software overrides"));
    m_enabled->setText(YesNo(d.Enabled()));
    // The drive homes on its own command, so a homing moves the motor while it is disabled.
    m_homing->setText(d.Homing()  ? (d.Enabled() ? QStringLiteral("running")
                                                 : QStringLiteral("running: the drive homes on "
                                                                   "its own command, enabled or "
                                                                   "not"))
                      : d.Homed() ? QStringLiteral("homed")
                                  : QStringLiteral("not homed"));
    m_motion->setText(d.InMotion()        ? QStringLiteral("moving")
                      : d.AtPosition()    ? QStringLiteral("at position")
                      : d.MotionPending() ? QStringLiteral("would move when enabled (Motion "
                                                           "Pending: every input path is off "
                                                           "its position)")
                                          : QStringLiteral("stopped"));
    m_setup->Refresh();
    m_jogTeach->Refresh();
}

QLabel* DrivePanel::Readout(const QString& caption) const {
    return findChild<QLabel*>(caption);
}

}  // namespace arn
