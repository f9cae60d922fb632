// The Drive dock's setup, jog and teach controls, and the host's feedback around the panel:
// every warning text of the panel produced through the dock, the keyboard, editor refusals.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <memory>

#include "app/qt/DrivePanel.h"
#include "app/qt/DriveSetupBox.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/MainWindow.h"
#include "app/qt/PanelView.h"
#include "app/qt/TracePane.h"
#include "host/controls/ParamEditor.h"
#include "host/values/Number.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNode.h"

#include "qt/OffscreenQtTest.h"

namespace arn {
namespace {

constexpr const char* Beyond =
    "Location of this position is beyond the hard-stop, based on the homing direction specified "
    "in the Homing Setup window.";
constexpr const char* SameDirection =
    "Location of this position is in the same direction as homing, but the axis is not set as "
    "having infinite rotation.";
constexpr const char* Outside =
    "This location is outside the maximum travel distance specified in the Homing Setup window.";
constexpr const char* Caution =
    "Use caution when enabling; current settings will cause immediate motion.";
constexpr const char* CautionHw =
    "Use caution when enabling via HW input; current settings will cause immediate motion.";
constexpr const char* CautionSw =
    "Use caution when enabling via Override input; current settings will cause immediate motion.";

class DriveDock : public test::MainWindowTest {
  protected:
    void SetUp() override { Open(1200, 800, true); }

    PanelControls& Ctl() { return m_window->Panel()->NamedControls(); }
    DriveSetupBox& Dock() { return *m_window->Drive()->Setup(); }
    JogTeachBox& Jog() { return *m_window->Drive()->JogTeach(); }
    const SimDrive& Drive() { return m_window->Node()->Drive(); }
    std::string Tip(int i) { return Ctl().warnTriangle(i).get_ToolTipText(); }
    bool Shown(int i) { return Ctl().warnTriangle(i).IsShown(); }
    std::string Caution() {
        return Ctl().motionTriangle->IsShown() ? Ctl().motionTriangle->get_ToolTipText() : "";
    }

    void Key(QWidget* to, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(to, &press);
    }
    void Mouse(QWidget* button, QEvent::Type type) {
        const QPointF at = QRectF(button->rect()).center();
        QMouseEvent e(type, at, button->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void ChooseMode(int32_t mode) {
        QComboBox* box = m_window->Drive()->ModeBox();
        box->setCurrentIndex(box->findData(mode));
        Tick(2);  // the host attached the panel again: bind, then the checks
    }
    QString Status() { return m_window->statusBar()->currentMessage(); }
};

TEST_F(DriveDock, SetupControlsProduceEveryPositionWarning) {
    // Mode 8, homing toward negative, linear axis, travel 5000, positions 0/1000/2000/3000.
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(Shown(i)) << i;
    }
    Dock().HomingDirectionBox()->setCurrentIndex(0);  // toward positive
    Tick();
    EXPECT_EQ(Status(), "Drive: Homing direction set to 0: toward positive");
    EXPECT_TRUE(m_window->Trace()->toPlainText().contains(
        "Drive: Homing direction set to 0: toward positive"));
    EXPECT_FALSE(Shown(0)) << "a position of 0 never fails the direction check";
    EXPECT_EQ(Tip(1), Beyond);
    EXPECT_EQ(Tip(3), Beyond);

    Dock().HomingDirectionBox()->setCurrentIndex(1);
    Dock().MaxTravelBox()->setValue(1500);
    Tick();
    EXPECT_FALSE(Shown(1));
    EXPECT_EQ(Tip(2), Outside);
    EXPECT_EQ(Tip(3), Outside);
    Dock().MaxTravelBox()->setValue(0);  // the travel check off
    Tick();
    EXPECT_FALSE(Shown(3));

    Dock().MaxTravelBox()->setValue(1500);
    Dock().HomingExBox()->setChecked(true);
    Tick();
    EXPECT_FALSE(Shown(2)) << "mode 8 with Homing Ex: no checks";
    EXPECT_FALSE(m_window->Panel()->IsBadPosn());
    Dock().HomingExBox()->setChecked(false);

    ChooseMode(18);
    Dock().MaxTravelBox()->setValue(0);
    Dock().HomingDirectionBox()->setCurrentIndex(0);
    Tick();
    EXPECT_FALSE(Shown(0));
    EXPECT_EQ(Tip(1), SameDirection);
    Dock().InfiniteAxisBox()->setChecked(true);
    Tick();
    EXPECT_FALSE(Shown(1)) << "an infinite rotation axis has no homing side";

    Dock().UnitsBox()->setCurrentIndex(Dock().UnitsBox()->findData(2));
    Tick();
    EXPECT_EQ(Ctl().posnSettingsFrame->get_Caption(), "Position Selection Setup (mm)");
}

TEST_F(DriveDock, TheWheelScrollsTheDockAndChangesABoxOnlyWhenFocused) {
    m_window->resize(1200, 520);  // the dock scrolls
    QApplication::processEvents();
    auto* area =
        qobject_cast<QScrollArea*>(m_window->findChild<QDockWidget*>("driveDock")->widget());
    ASSERT_NE(area, nullptr);
    QScrollBar* bar = area->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const auto wheel = [](QWidget* box) {
        const QPointF at = QRectF(box->rect()).center();
        QWheelEvent e(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &e);
    };
    const auto valueOf = [](QWidget* box) {
        auto* spin = qobject_cast<QSpinBox*>(box);
        return spin ? spin->value() : qobject_cast<QComboBox*>(box)->currentIndex();
    };
    QWidget* const boxes[] = {m_window->Drive()->ModeBox(), Dock().HomingDirectionBox(),
                              Dock().MaxTravelBox(), Dock().WindowBox(), Dock().UnitsBox()};
    for (QWidget* box : boxes) {
        area->ensureWidgetVisible(box);
        bar->setValue(bar->minimum());
        const int before = valueOf(box);
        const QString status = Status();
        wheel(box);
        EXPECT_EQ(valueOf(box), before) << box->metaObject()->className();
        EXPECT_GT(bar->value(), bar->minimum()) << "the dock scrolled instead";
        EXPECT_EQ(Status(), status) << "nothing changed, nothing told";
        EXPECT_EQ(box->focusPolicy(), Qt::StrongFocus);
    }
    EXPECT_EQ(Drive().Read(343), 5000);
    EXPECT_EQ(Drive().OperationalMode(), 8);

    // Focused by a click or Tab, the box takes the wheel, and the change is told.
    m_window->activateWindow();
    Dock().MaxTravelBox()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(Dock().MaxTravelBox()->hasFocus());
    wheel(Dock().MaxTravelBox());
    EXPECT_EQ(Drive().Read(343), 4999);
    EXPECT_EQ(Status(), "Drive: Maximum travel set to 4999");
}

TEST_F(DriveDock, SavedSetupLoadsBackWholeAndABadFileChangesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("setup.reg");
    Dock().MaxTravelBox()->setValue(1234);
    Dock().UnitsBox()->setCurrentIndex(2);
    ASSERT_TRUE(m_window->Drive()->SaveSetup(path));
    EXPECT_EQ(Status(), "Drive: setup saved to " + path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    EXPECT_TRUE(
        text.startsWith("Windows Registry Editor Version 5.00\r\n\r\n"
                        "[HKEY_CURRENT_USER\\Software\\ArnAbsPosn\\DriveSetup]\r\n"));
    EXPECT_TRUE(text.contains("\"343 Maximum Travel\"=\"1234\"\r\n"));
    EXPECT_FALSE(text.contains("265 ")) << "the software input states are not setup";

    Dock().MaxTravelBox()->setValue(99);
    Dock().UnitsBox()->setCurrentIndex(0);
    ASSERT_TRUE(m_window->Drive()->LoadSetup(path));
    EXPECT_EQ(Drive().Read(343), 1234);
    EXPECT_EQ(Dock().MaxTravelBox()->value(), 1234);
    EXPECT_EQ(Drive().Read(268), 2);
    EXPECT_TRUE(Status().startsWith("Drive: 14 settings loaded from ")) << Status().toStdString();

    const QString head =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\ArnAbsPosn\\DriveSetup]\r\n"
        "\"343 Maximum Travel\"=\"777\"\r\n";
    const struct {
        QString text;
        QString problem;
    } bad[] = {
        {"hello", "it is not registry text of a drive setup (Format Error: too short)"},
        {"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n",
         "it has no section [HKEY_CURRENT_USER\\Software\\ArnAbsPosn\\DriveSetup]"},
        {head + "\"999 Bogus\"=\"1\"\r\n", "\"999 Bogus\" is not a setup parameter of the drive"},
        {head + "\"181 Status\"=\"1\"\r\n", "\"181 Status\" is not a setup parameter of the drive"},
        {head + "\"247 Position 1\"=\"1,500\"\r\n",
         "\"247 Position 1\" holds \"1,500\", which is not a number"},
        {head + "\"268 Position Units\"=\"7\"\r\n",
         "\"268 Position Units\" = 7 is refused by the drive: Invalid property value: parameter "
         "268 "
         "selects units 0 to 2"},
        {head + "\"no equal sign\r\n",
         "it is not registry text of a drive setup (Format Error: no equal signs.  Line 4=>'\"no "
         "equal sign')"},
    };
    for (const auto& row : bad) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(row.text.toUtf8());
        out.close();
        EXPECT_FALSE(m_window->Drive()->LoadSetup(path)) << row.problem.toStdString();
        EXPECT_EQ(Status(),
                  "Open drive setup: " + path + " was not loaded, nothing changed: " + row.problem)
            << Status().toStdString();
        EXPECT_EQ(Drive().Read(343), 1234) << "nothing half-applied: " << row.problem.toStdString();
    }
}

TEST_F(DriveDock, EachCautionTextThroughThePinsTheOverridesAndTheWindow) {
    m_window->Drive()->PinBox(2)->setChecked(true);  // the pins select position 3 (2000)
    Tick();
    EXPECT_EQ(Caution(), ::arn::Caution) << "under the pins, pending";

    // The hand-over copies the pins into the software states: both select position 3.
    ClickOn(*Ctl().inputOptChk);
    Tick(2);
    ASSERT_FALSE(m_window->Panel()->InputsObject()->get_ExternalInputs());
    EXPECT_EQ(Caution(), ::arn::Caution);
    ClickOn(Ctl().inCheck(2));  // the overrides select position 1, where the drive is
    Tick(2);
    EXPECT_EQ(Caution(), CautionHw);

    m_window->Drive()->PinBox(2)->setChecked(false);
    Tick();
    EXPECT_EQ(Caution(), "");
    ClickOn(Ctl().inCheck(1));  // the override selects position 2 (1000)
    Tick(2);
    EXPECT_EQ(Caution(), CautionSw);

    // The panel compares again on its next flagged change (here the override, off and on).
    Dock().WindowBox()->setValue(80000);  // a window of 1000: position 2 is in position
    ClickOn(Ctl().inCheck(1));
    Tick(2);
    ClickOn(Ctl().inCheck(1));
    Tick(2);
    EXPECT_EQ(Caution(), "");
    Dock().WindowBox()->setValue(79920);             // 999
    m_window->Drive()->PinBox(1)->setChecked(true);  // the pins select position 2 too
    Tick();
    EXPECT_EQ(Caution(), ::arn::Caution) << "both paths off: pending";
}

TEST_F(DriveDock, HomedAndSensorPolarityReachTheTeachingWarningAndModeEighteenHoming) {
    ClickOn(*Ctl().teachingCheck);
    Tick();
    EXPECT_TRUE(Shown(14));
    Dock().HomedBox()->setChecked(true);
    Tick();
    EXPECT_FALSE(Shown(14));
    Dock().HomedBox()->setChecked(false);
    Tick();
    EXPECT_TRUE(Shown(14));

    ChooseMode(18);
    Dock().SensorPolarityBox()->setChecked(true);
    ClickOn(*Ctl().inputOptChk);
    Tick();
    ASSERT_FALSE(Drive().SoftwareState(SimPin::InputB));
    m_window->Drive()->HomingButton()->click();
    EXPECT_EQ(Status(), "Drive: Homing refused: the drive is not enabled");
    ClickOn(Ctl().inCheck(0));  // the software Enable
    Tick();
    m_window->Drive()->HomingButton()->click();
    Tick(2);
    EXPECT_TRUE(Drive().SoftwareState(SimPin::InputB)) << "homing start wrote the polarity";
    EXPECT_TRUE(Ctl().warnLbl->IsShown());
    EXPECT_EQ(m_window->Drive()->Readout("Homing")->text(), "running");
    // "Click to Stop" points at the Enable box: clearing it aborts the homing.
    ClickOn(Ctl().inCheck(0));
    Tick(2);
    EXPECT_FALSE(Drive().Homing());
    EXPECT_FALSE(Ctl().warnLbl->IsShown());
    EXPECT_EQ(m_window->Drive()->Readout("Homing")->text(), "aborted: not homed");
    EXPECT_TRUE(Status().startsWith("Drive: Homing aborted at -")) << Status().toStdString();
    EXPECT_TRUE(m_window->Trace()->toPlainText().contains("the drive was disabled; not homed"));
}

TEST_F(DriveDock, JogButtonsJogWhileHeldAndTeachStoresTheHeldPosition) {
    const QString values = "Jog speed 100, acceleration 4";
    EXPECT_EQ(Jog().JogValues()->text(), values);
    // Disabled, the drive refuses the jog and says so; nothing claims to jog.
    Mouse(Jog().JogForwardButton(), QEvent::MouseButtonPress);
    EXPECT_FALSE(Drive().Jogging());
    EXPECT_EQ(Jog().JogValues()->text(), values);
    EXPECT_EQ(Status(), "Drive: Jog refused: the drive is not enabled");
    Mouse(Jog().JogForwardButton(), QEvent::MouseButtonRelease);
    EXPECT_EQ(Drive().LastStopCode(), 65);

    m_window->Drive()->PinBox(0)->setChecked(true);  // enabled, at position 1 (0)
    Mouse(Jog().JogForwardButton(), QEvent::MouseButtonPress);
    EXPECT_EQ(Drive().JogVelocity(), 100);
    EXPECT_EQ(Jog().JogValues()->text(), values + ": jogging at 100");
    EXPECT_EQ(Status(), "Drive: jogging forward at 100");
    Tick(3);
    Mouse(Jog().JogForwardButton(), QEvent::MouseButtonRelease);
    EXPECT_FALSE(Drive().Jogging());
    // Released, the drive holds where it stopped instead of running back to position 1.
    Tick(10);
    EXPECT_EQ(Drive().MeasuredPosition(), 30);
    EXPECT_EQ(Jog().JogValues()->text(), values + ": holding at 30 after the jog");
    EXPECT_EQ(Status(), "Drive: Jog stopped at 30; the drive holds there until a new move");

    EXPECT_FALSE(Jog().TeachButton()->isEnabled()) << "teaching is off";
    ClickOn(*Ctl().teachingCheck);
    Tick();
    ASSERT_TRUE(Jog().TeachButton()->isEnabled());
    Jog().TeachButton()->click();
    EXPECT_TRUE(Status().startsWith("Drive: Teach refused: the unit is not homed"))
        << Status().toStdString();
    Dock().HomedBox()->setChecked(true);
    Jog().TeachButton()->click();  // a click long after the release stores the same place
    EXPECT_EQ(Status(), "Drive: Taught position 1 (parameter 247): 30");
    EXPECT_EQ(Ctl().ParamItems(0).DisplayText(), "30");

    m_window->Drive()->PinBox(1)->setChecked(true);  // position 2 (1000): a new move
    Tick();
    Jog().TeachButton()->click();
    EXPECT_EQ(Status(), "Drive: Teach refused: the drive is moving; teach once it stands still");
    EXPECT_EQ(Drive().Read(248), 1000);

    m_window->Drive()->PinBox(0)->setChecked(false);
    m_window->Node()->ForceParam(68, 1234);
    int changes = 0;
    const Connection spy = m_window->Node()->Param(248)->ContentChanged.connect(
        [&](const std::shared_ptr<Value>&) { ++changes; });
    Jog().TeachButton()->click();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Ctl().ParamItems(1).DisplayText(), "1234");
    EXPECT_EQ(Ctl().ParamItems(0).DisplayText(), "30");
    EXPECT_EQ(Status(), "Drive: Taught position 2 (parameter 248): 1234");
    EXPECT_TRUE(m_window->Trace()->toPlainText().contains(
        "Drive: Taught position 2 (parameter 248): 1234"));
}

TEST_F(DriveDock, EditorsRefuseNonNumbersAndValuesOutsideThirtyTwoBits) {
    ParamEditor& editor = Ctl().ParamItems(0);
    ClickOn(editor);
    QLineEdit* box = m_window->View()->ActiveEditor();
    ASSERT_NE(box, nullptr);
    box->setText("12a");
    Key(box, Qt::Key_Return);
    ASSERT_EQ(m_window->View()->ActiveEditor(), box) << "the box stays open with the text";
    EXPECT_EQ(box->text(), "12a");
    ASSERT_NE(m_window->View()->EditorMessage(), nullptr);
    EXPECT_TRUE(m_window->View()->EditorMessage()->isVisible());
    EXPECT_EQ(m_window->View()->EditorMessage()->text(),
              "Position 1 takes a whole number of counts, like 2000; \"12a\" is not a number; "
              "nothing written (Esc cancels)");
    box->setText("2147483648");
    Key(box, Qt::Key_Return);
    EXPECT_EQ(m_window->View()->EditorMessage()->text(),
              "Position 1 takes a whole number of counts from -2147483648 to 2147483647; "
              "2147483648 is outside that range; nothing written (Esc cancels)");
    EXPECT_EQ(Drive().Read(247), 0);
    box->setText("-2147483648");
    Key(box, Qt::Key_Return);
    EXPECT_EQ(m_window->View()->ActiveEditor(), nullptr);
    EXPECT_FALSE(m_window->View()->EditorMessage()->isVisible());
    EXPECT_EQ(Drive().Read(247), -2147483648.0);
}

TEST_F(DriveDock, TabWalksTheUsableControlsInControlOrderAndSpaceActs) {
    PanelView* view = m_window->View();
    view->setFocus();
    const auto chain = view->FocusChain();
    ASSERT_GE(chain.size(), 3u);
    std::vector<Control*> visited;
    for (size_t i = 0; i < chain.size(); ++i) {
        Key(view, Qt::Key_Tab);
        visited.push_back(view->FocusedControl().get());
    }
    for (size_t i = 0; i < chain.size(); ++i) {
        EXPECT_EQ(visited[i], chain[i].get()) << i;
    }
    // Control order: each visited control comes later in the panel's list than the one before.
    const auto& all = m_window->Panel()->Controls();
    auto indexOf = [&](Control* c) {
        return std::find_if(all.begin(), all.end(), [&](const auto& p) { return p.get() == c; }) -
               all.begin();
    };
    for (size_t i = 1; i < visited.size(); ++i) {
        EXPECT_LT(indexOf(visited[i - 1]), indexOf(visited[i]));
    }
    Key(view, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->FocusedControl().get(), chain[chain.size() - 2].get());

    // Space presses the marked button and toggles the marked check box.
    auto markAndSpace = [&](const Control& target) {
        view->setFocus();
        for (size_t i = 0; i <= 2 * chain.size() && view->FocusedControl().get() != &target; ++i) {
            Key(view, Qt::Key_Tab);
        }
        ASSERT_EQ(view->FocusedControl().get(), &target) << "not in the chain";
        Key(view, Qt::Key_Space);
    };
    markAndSpace(*Ctl().teachingCmd);
    EXPECT_EQ(m_window->RequestCount("Teaching Setup"), 1);
    markAndSpace(*Ctl().inputOptChk);
    EXPECT_FALSE(m_window->Panel()->InputsObject()->get_ExternalInputs());
    EXPECT_EQ(Ctl().inputOptChk->get_Value(), CheckBox::Checked);
}

TEST_F(DriveDock, BannerViewMenuTraceAndRefusalMeanings) {
    EXPECT_EQ(m_window->Banner(), "");
    m_window->SetTicking(false);
    EXPECT_TRUE(m_window->Banner().startsWith("Timer stopped"));
    m_window->SetAttached(false);
    EXPECT_TRUE(m_window->Banner().startsWith("Released"));
    m_window->SetAttached(true);
    m_window->SetTicking(false, true);
    EXPECT_EQ(m_window->Banner(), "");
    Tick(2);

    auto* dock = m_window->findChild<QDockWidget*>("driveDock");
    auto* toggle = m_window->findChild<QAction*>("driveDockToggle");
    ASSERT_TRUE(dock && toggle);
    toggle->trigger();
    EXPECT_FALSE(dock->isVisible());
    toggle->trigger();
    EXPECT_TRUE(dock->isVisible());

    // A refused hand-over: the status bar says what the trace line means.
    m_window->Drive()->PinBox(0)->setChecked(true);
    Tick();
    m_window->SetPanelEnabled(true);
    m_window->Panel()->InputsObject()->put_ExternalInputs(false);
    EXPECT_TRUE(Status().startsWith("Override refused: the drive's hardware Enable pin is on"))
        << Status().toStdString();
    // A click on a disabled control is reported with the reason.
    ClickOn(Ctl().inCheck(1));
    EXPECT_EQ(Status(),
              "Input A ignores the click: it acts only while \"Override Inputs\" is checked");

    TracePane* trace = m_window->Trace();
    trace->clear();
    trace->AppendNote("one");
    trace->AppendNote("two");
    trace->SetFilter("TW");
    EXPECT_EQ(trace->toPlainText(), "host:  two");
    trace->SetFilter("");
    trace->SetPaused(true);
    trace->AppendNote("three");
    EXPECT_EQ(trace->toPlainText(), "host:  one\nhost:  two");
    trace->SetPaused(false);
    EXPECT_EQ(trace->toPlainText(), "host:  one\nhost:  two\nhost:  three");
    trace->Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "host:  one\nhost:  two\nhost:  three");
}

}  // namespace
}  // namespace arn
