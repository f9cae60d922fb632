// The Drive dock's setup, pin, homing, jog and teach controls, the keyboard on the panel, and
// the host's feedback around it. What the panel makes of the drive has its own tests; here
// each dock control is seen to reach the drive once.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "app/qt/DrivePanel.h"
#include "app/qt/DriveSetupBox.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/TracePane.h"
#include "host/controls/ParamEditor.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNode.h"

#include "qt/OffscreenQtTest.h"

namespace arn {
namespace {

class DriveDock : public test::MainWindowTest {
  protected:
    void SetUp() override { Open(1200, 800, true); }

    PanelControls& Ctl() { return m_window->Panel()->NamedControls(); }
    DriveSetupBox& Dock() { return *m_window->Drive()->Setup(); }
    JogTeachBox& Jog() { return *m_window->Drive()->JogTeach(); }
    const SimDrive& Drive() { return m_window->Node()->Drive(); }
    QString Status() { return m_window->statusBar()->currentMessage(); }
    void Key(QWidget* to, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(to, &press);
    }
};

TEST_F(DriveDock, SetupBoxesWriteTheDriveAndTheWheelChangesOnlyAFocusedOne) {
    Dock().HomingDirectionBox()->setCurrentIndex(0);  // toward positive: position 2 is beyond
    Tick();
    EXPECT_EQ(Status(), "Drive: Homing direction set to 0: toward positive");
    EXPECT_TRUE(m_window->Trace()->toPlainText().contains(Status()));
    EXPECT_TRUE(Ctl().warnTriangle(1).IsShown());

    m_window->resize(1200, 520);  // the dock scrolls
    QApplication::processEvents();
    auto* area =
        qobject_cast<QScrollArea*>(m_window->findChild<QDockWidget*>("driveDock")->widget());
    ASSERT_NE(area, nullptr);
    QScrollBar* bar = area->verticalScrollBar();
    const auto wheel = [](QWidget* box) {
        const QPointF at = QRectF(box->rect()).center();
        QWheelEvent e(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &e);
    };
    // Unfocused, the box lets the dock scroll; focused by a click or Tab, it takes the wheel.
    area->ensureWidgetVisible(Dock().MaxTravelBox());
    bar->setValue(bar->minimum());
    wheel(Dock().MaxTravelBox());
    EXPECT_GT(bar->value(), bar->minimum());
    EXPECT_EQ(Drive().Read(343), 5000);
    m_window->activateWindow();
    Dock().MaxTravelBox()->setFocus(Qt::TabFocusReason);
    wheel(Dock().MaxTravelBox());
    EXPECT_EQ(Drive().Read(343), 4999);
    EXPECT_EQ(Status(), "Drive: Maximum travel set to 4999");
}

TEST_F(DriveDock, SavedSetupLoadsBackWholeAndABadFileChangesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("setup.reg");
    Dock().MaxTravelBox()->setValue(1234);
    Dock().UnitsBox()->setCurrentIndex(2);
    ASSERT_TRUE(m_window->Drive()->SaveSetup(path));
    EXPECT_EQ(Status(), "Drive: setup saved to " + path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"343 Maximum Travel\"=\"1234\"\r\n"));

    Dock().MaxTravelBox()->setValue(99);
    Dock().UnitsBox()->setCurrentIndex(0);
    ASSERT_TRUE(m_window->Drive()->LoadSetup(path));
    EXPECT_EQ(Dock().MaxTravelBox()->value(), 1234);
    EXPECT_EQ(Drive().Read(268), 2);
    EXPECT_TRUE(Status().startsWith("Drive: 14 settings loaded from ")) << Status().toStdString();

    const QString head =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\ArnAbsPosn\\DriveSetup]\r\n"
        "\"343 Maximum Travel\"=\"777\"\r\n";
    const std::pair<QString, QString> bad[] = {
        {"hello", "it is not registry text of a drive setup (Format Error: too short)"},
        {head + "\"999 Bogus\"=\"1\"\r\n", "\"999 Bogus\" is not a setup parameter of the drive"},
        {head + "\"268 Position Units\"=\"7\"\r\n",
         "\"268 Position Units\" = 7 is refused by the drive: Invalid property value: parameter "
         "268 selects units 0 to 2"},
    };
    for (const auto& [text, problem] : bad) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
        out.close();
        EXPECT_FALSE(m_window->Drive()->LoadSetup(path));
        EXPECT_EQ(Status(),
                  "Open drive setup: " + path + " was not loaded, nothing changed: " + problem);
        EXPECT_EQ(Drive().Read(343), 1234) << "nothing half-applied: " << problem.toStdString();
    }
}

TEST_F(DriveDock, PinsHomingJogAndTeachReachTheDriveAndSayWhatItDid) {
    // Jogging held by the button, held where released.
    const QString values = "Jog speed 100, acceleration 4";
    m_window->Drive()->PinBox(0)->setChecked(true);  // enabled, at position 1 (0)
    QWidget* forward = Jog().JogForwardButton();
    test::SendMouse(forward, QRectF(forward->rect()).center(), QEvent::MouseButtonPress);
    EXPECT_EQ(Jog().JogValues()->text(), values + ": jogging at 100");
    EXPECT_EQ(Status(), "Drive: jogging forward at 100");
    Tick(3);
    test::SendMouse(forward, QRectF(forward->rect()).center(), QEvent::MouseButtonRelease);
    Tick(10);
    EXPECT_EQ(Drive().MeasuredPosition(), 30);
    EXPECT_EQ(Jog().JogValues()->text(), values + ": holding at 30 after the jog");
    EXPECT_EQ(Status(), "Drive: Jog stopped at 30; the drive holds there until a new move");

    // Teach: usable with teaching on, refused until homed, then stores the held place.
    EXPECT_FALSE(Jog().TeachButton()->isEnabled());
    ClickOn(*Ctl().teachingCheck);
    Tick();
    Jog().TeachButton()->click();
    EXPECT_TRUE(Status().startsWith("Drive: Teach refused: the unit is not homed"));
    Dock().HomedBox()->setChecked(true);
    Jog().TeachButton()->click();
    EXPECT_EQ(Status(), "Drive: Taught position 1 (parameter 247): 30");
    EXPECT_EQ(Ctl().ParamItems(0).DisplayText(), "30");
    m_window->Drive()->PinBox(0)->setChecked(false);

    // Mode 18 homing from the button writes the sensor polarity; disabling aborts it.
    m_window->Drive()->ModeBox()->setCurrentIndex(m_window->Drive()->ModeBox()->findData(18));
    Tick(2);
    Dock().SensorPolarityBox()->setChecked(true);
    ClickOn(*Ctl().inputOptChk);
    Tick();
    m_window->Drive()->HomingButton()->click();
    EXPECT_EQ(Status(), "Drive: Homing refused: the drive is not enabled");
    ClickOn(Ctl().inCheck(0));  // the software Enable
    Tick();
    m_window->Drive()->HomingButton()->click();
    Tick(2);
    EXPECT_TRUE(Drive().SoftwareState(SimPin::InputB)) << "homing start wrote the polarity";
    EXPECT_EQ(m_window->Drive()->Readout("Homing")->text(), "running");
    ClickOn(Ctl().inCheck(0));
    Tick(2);
    EXPECT_EQ(m_window->Drive()->Readout("Homing")->text(), "aborted: not homed");
    EXPECT_TRUE(Status().endsWith(": the drive was disabled; not homed")) << Status().toStdString();
}

TEST_F(DriveDock, TabWalksTheFocusChainAndSpaceActs) {
    PanelView* view = m_window->View();
    view->setFocus();
    const auto chain = view->FocusChain();
    ASSERT_GE(chain.size(), 3u);
    for (size_t i = 0; i < chain.size(); ++i) {
        Key(view, Qt::Key_Tab);
        EXPECT_EQ(view->FocusedControl(), chain[i]) << i;
    }
    Key(view, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->FocusedControl(), chain[chain.size() - 2]);

    // Space presses the marked button and toggles the marked check box.
    for (const Control* target : {static_cast<const Control*>(Ctl().teachingCmd.get()),
                                  static_cast<const Control*>(Ctl().inputOptChk.get())}) {
        for (size_t i = 0; i <= 2 * chain.size() && view->FocusedControl().get() != target; ++i) {
            Key(view, Qt::Key_Tab);
        }
        Key(view, Qt::Key_Space);
    }
    EXPECT_EQ(m_window->RequestCount("Teaching Setup"), 1);
    EXPECT_FALSE(m_window->Panel()->InputsObject()->get_ExternalInputs());
}

TEST_F(DriveDock, BannerViewMenuTraceAndRefusalMeanings) {
    m_window->SetTicking(false);
    EXPECT_TRUE(m_window->Banner().startsWith("Timer stopped"));
    m_window->SetTicking(false, true);
    EXPECT_EQ(m_window->Banner(), "");

    auto* dock = m_window->findChild<QDockWidget*>("driveDock");
    auto* toggle = m_window->findChild<QAction*>("driveDockToggle");
    ASSERT_TRUE(dock && toggle);
    toggle->trigger();
    EXPECT_FALSE(dock->isVisible());

    // A refused hand-over: the status bar says what the trace line means.
    m_window->Drive()->PinBox(0)->setChecked(true);
    Tick();
    m_window->Panel()->InputsObject()->put_ExternalInputs(false);
    EXPECT_TRUE(Status().startsWith("Override refused: the drive's hardware Enable pin is on"))
        << Status().toStdString();
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
    trace->Copy();  // the note held back while paused comes in at the end
    EXPECT_EQ(QApplication::clipboard()->text(), "host:  one\nhost:  two\nhost:  three");
}

}  // namespace
}  // namespace arn
