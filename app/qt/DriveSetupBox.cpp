#include "app/qt/DriveSetupBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QSpinBox>
#include <cmath>
#include <limits>

#include "host/NodeParams.h"
#include "host/values/Value.h"
#include "sim/SimLayout.h"
#include "sim/SimNode.h"

namespace arn {

namespace {

bool FieldOn(const SimDrive& d, int32_t number, const char* key) {
    return SimFieldGet(number, key, Value::WordOf(d.Read(number))) != 0;
}

QSpinBox* NumberBox(const QString& tip) {
    auto* box = new QSpinBox();
    box->setRange(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    box->setGroupSeparatorShown(false);
    // One write per finished entry, not one per typed digit.
    box->setKeyboardTracking(false);
    box->setToolTip(tip);
    return box;
}

void Load(QCheckBox* box, bool on) {
    const QSignalBlocker quiet(box);
    box->setChecked(on);
}

QString OnOff(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QString SetTo(const QString& text) {
    return QStringLiteral("set to %1").arg(text);
}

}  // namespace

DriveSetupBox::DriveSetupBox(std::shared_ptr<SimNode> node, ErrorSink report, ErrorSink tell,
                             QWidget* parent)
    : QGroupBox(QStringLiteral("Homing and position setup"), parent),
      m_node(std::move(node)),
      m_report(std::move(report)),
      m_tell(std::move(tell)) {
    auto* form = new QFormLayout(this);

    m_homingDir = new QComboBox();
    m_homingDir->addItem(QStringLiteral("0: toward positive"), 0);
    m_homingDir->addItem(QStringLiteral("1: toward negative"), 1);
    m_homingDir->setToolTip(QStringLiteral("\"Homing Direction\" (parameter 171)"));
    connect(m_homingDir, &QComboBox::currentIndexChanged, this, [this](int i) {
        ForceField(QStringLiteral("Homing direction"), param::MotionSetup,
                   fieldkey::HomingDirection, m_homingDir->itemData(i).toInt() != 0 ? 1 : 0,
                   SetTo(m_homingDir->itemText(i)));
    });
    form->addRow(QStringLiteral("Homing direction"), m_homingDir);

    const auto check = [&](const QString& text, const QString& tip, int32_t number,
                           const char* key) {
        auto* box = new QCheckBox(text);
        box->setToolTip(tip);
        connect(box, &QCheckBox::toggled, this, [this, text, number, key](bool on) {
            ForceField(text, number, key, on ? 1 : 0, OnOff(on));
        });
        form->addRow(box);
        return box;
    };
    m_axis = check(QStringLiteral("Infinite rotation axis"),
                   QStringLiteral("\"Axis Type\" 1; off is a linear axis (0)"), param::MotionSetup,
                   fieldkey::AxisType);
    m_polarity = check(QStringLiteral("Home sensor polarity"),
                       QStringLiteral("\"Home Sensor Polarity\": mode 18 writes it to the Input B "
                                      "override when homing starts"),
                       param::MotionSetup, fieldkey::HomeSensorPolarity);
    m_homingEx = check(QStringLiteral("Homing Ex"),
                       QStringLiteral("\"Homing Ex\" (parameter 436): in mode 8 it switches the "
                                      "position warnings and the homing state off"),
                       param::TeachingSetup, fieldkey::HomingEx);
    m_homed = new QCheckBox(QStringLiteral("Homed"));
    m_homed->setToolTip(QStringLiteral("\"Homing Complete\" of the status (parameter 181)"));
    connect(m_homed, &QCheckBox::toggled, this, [this](bool on) {
        const bool done = Guarded(m_report, QStringLiteral("Homed"), [&] {
            m_node->Drive().SetHomed(on);
            m_node->Sync();
        });
        Tell(done, QStringLiteral("Homed"), OnOff(on));
    });
    form->addRow(m_homed);

    m_maxTravel = NumberBox(QStringLiteral("Parameter 343; 0 switches the travel check off"));
    connect(m_maxTravel, &QSpinBox::valueChanged, this, [this](int v) {
        ForceParam(QStringLiteral("Maximum travel"), param::MaxTravel, v,
                   SetTo(QString::number(v)));
    });
    form->addRow(QStringLiteral("Maximum travel"), m_maxTravel);
    m_window = NumberBox(QStringLiteral("Parameter 267; the panel's window is this / 80"));
    connect(m_window, &QSpinBox::valueChanged, this, [this](int v) {
        ForceParam(QStringLiteral("In-position window"), param::PositionWindow, v,
                   SetTo(QString::number(v)));
    });
    form->addRow(QStringLiteral("In-position window"), m_window);

    m_units = new QComboBox();
    for (int32_t i = 0; i < kSimUnitsCount; ++i) {
        m_units->addItem(QStringLiteral("%1: %2").arg(i).arg(QString::fromLatin1(SimUnitsName(i))),
                         i);
    }
    m_units->setToolTip(QStringLiteral("Parameter 268; parameter 271 names the units"));
    connect(m_units, &QComboBox::currentIndexChanged, this, [this](int i) {
        ForceParam(QStringLiteral("Position units"), param::UnitsSelect,
                   m_units->itemData(i).toInt(), SetTo(m_units->itemText(i)));
    });
    form->addRow(QStringLiteral("Position units"), m_units);
    Refresh();
}

void DriveSetupBox::ForceField(const QString& caption, int32_t number, const char* key,
                               uint32_t bits, const QString& what) {
    Tell(Guarded(m_report, caption, [&] { m_node->ForceField(number, key, bits); }), caption, what);
}

void DriveSetupBox::ForceParam(const QString& caption, int32_t number, double content,
                               const QString& what) {
    Tell(Guarded(m_report, caption, [&] { m_node->ForceParam(number, content); }), caption, what);
}

void DriveSetupBox::Tell(bool done, const QString& caption, const QString& what) {
    if (done && m_tell) {
        m_tell(QStringLiteral("Drive: %1 %2").arg(caption, what));
    }
}

void DriveSetupBox::Refresh() {
    const SimDrive& d = m_node->Drive();
    {
        const QSignalBlocker quiet(m_homingDir);
        m_homingDir->setCurrentIndex(FieldOn(d, param::MotionSetup, fieldkey::HomingDirection) ? 1
                                                                                               : 0);
    }
    Load(m_axis, FieldOn(d, param::MotionSetup, fieldkey::AxisType));
    Load(m_polarity, FieldOn(d, param::MotionSetup, fieldkey::HomeSensorPolarity));
    Load(m_homingEx, FieldOn(d, param::TeachingSetup, fieldkey::HomingEx));
    Load(m_homed, d.Homed());
    // A box the user is typing in keeps the text until the entry is finished. A spin box
    // repaints on every setValue, changed or not, so an unchanged value is not set again.
    const auto loadNumber = [](QSpinBox* box, double v) {
        const int value = static_cast<int>(std::lround(v));
        if (box->hasFocus() || box->value() == value) {
            return;
        }
        const QSignalBlocker quiet(box);
        box->setValue(value);
    };
    loadNumber(m_maxTravel, d.Read(param::MaxTravel));
    loadNumber(m_window, d.Read(param::PositionWindow));
    const QSignalBlocker quiet(m_units);
    m_units->setCurrentIndex(m_units->findData(static_cast<int>(d.Read(param::UnitsSelect))));
}

}  // namespace arn
