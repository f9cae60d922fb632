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
#include "app/qt/DriveSetupFile.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/NumberText.h"
#include "app/qt/WheelGuard.h"
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
    const ErrorSink tell = [this](const QString& sentence) { Tell(sentence); };
    m_driveReports = m_node->Drive().Reported.connect([this](const std::string& sentence) {
        Tell(QStringLiteral("Drive: ") + QString::fromStdString(sentence));
    });
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
    m_startHoming->setToolTip(
        QStringLiteral("The drive's homing command; refused while the "
                       "drive is disabled, aborted by disabling it"));
    // The drive reports the start or the refusal itself.
    connect(m_startHoming, &QPushButton::clicked, this, [this] {
        Guarded(m_report, QStringLiteral("Start homing"), [&] {
            m_node->Drive().CommandHoming();
            m_node->Sync();
        });
        Refresh();
    });
    auto* trigger = new QPushButton(QStringLiteral("Pulse trigger"));
    connect(trigger, &QPushButton::clicked, this, [this] {
        if (Guarded(m_report, QStringLiteral("Pulse trigger"), [&] { m_node->PulseTrigger(); })) {
            Tell(QStringLiteral("Drive: trigger input pulsed"));
        }
    });
    m_recovering = new QCheckBox(QStringLiteral("Position recovering"));
    connect(m_recovering, &QCheckBox::toggled, this, [this](bool on) {
        if (Guarded(m_report, QStringLiteral("Position recovering"),
                    [&] { m_node->SetPositionRecovering(on); })) {
            Tell(QStringLiteral("Drive: Position recovering %1")
                     .arg(on ? QStringLiteral("on") : QStringLiteral("off")));
        }
    });
    driveLayout->addWidget(m_startHoming);
    driveLayout->addWidget(trigger);
    driveLayout->addWidget(m_recovering);
    layout->addWidget(drive);
    m_setup = new DriveSetupBox(m_node, m_report, tell);
    layout->addWidget(m_setup);
    m_jogTeach = new JogTeachBox(m_node, std::move(inputs), m_report, tell);
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
    WheelGuard::Guard(this);
    Refresh();
}

void DrivePanel::Tell(const QString& sentence) {
    if (Reported) {
        Reported(sentence);
    }
}

void DrivePanel::SetPin(int pin, bool on) {
    // Told before the change, so that what the drive reports in reply (a homing aborted by
    // the Enable pin going off) follows it; a failure is reported after both.
    Tell(QStringLiteral("Drive: %1 pin %2")
             .arg(m_pins[static_cast<size_t>(pin)]->text(),
                  on ? QStringLiteral("on") : QStringLiteral("off")));
    Guarded(m_report, QStringLiteral("Set pin"),
            [&] { m_node->SetPin(static_cast<SimPin>(pin), on); });
    Refresh();
}

bool DrivePanel::SaveSetup(const QString& path) {
    const bool done = Guarded(m_report, QStringLiteral("Save drive setup"),
                              [&] { DriveSetupFile::Save(m_node->Drive(), path.toStdString()); });
    if (done) {
        Tell(QStringLiteral("Drive: setup saved to %1").arg(path));
    }
    return done;
}

bool DrivePanel::LoadSetup(const QString& path) {
    size_t count = 0;
    const bool done = Guarded(m_report, QStringLiteral("Open drive setup"),
                              [&] { count = DriveSetupFile::Load(*m_node, path.toStdString()); });
    Refresh();
    if (done) {
        Tell(QStringLiteral("Drive: %1 settings loaded from %2").arg(count).arg(path));
    }
    return done;
}

void DrivePanel::SetMode(int32_t mode) {
    const bool done = Guarded(m_report, QStringLiteral("Operational mode"), [&] {
        m_node->ForceField(param::MotionSetup, "Operational Mode", static_cast<uint32_t>(mode));
    });
    if (done) {
        Tell(QStringLiteral("Drive: Operational mode set to %1").arg(m_mode->currentText()));
    }
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
    switch (d.HomingState()) {
        case SimHoming::Running:
            m_homing->setText(QStringLiteral("running"));
            break;
        case SimHoming::AtHardStop:
            m_homing->setText(
                QStringLiteral("waiting at the hard stop: \"Set Home Posn\" "
                               "takes it as home"));
            break;
        case SimHoming::Idle:
            m_homing->setText(d.Homed()           ? QStringLiteral("homed")
                              : d.HomingAborted() ? QStringLiteral("aborted: not homed")
                                                  : QStringLiteral("not homed"));
            break;
    }
    m_motion->setText(d.InMotion()        ? QStringLiteral("moving")
                      : d.Holding()       ? QStringLiteral("holding where the jog stopped")
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
