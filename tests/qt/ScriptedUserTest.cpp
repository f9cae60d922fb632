// The tour's scripted user: it reaches only what a person at the window could reach, and its
// pictures show what the screen would, tooltips included.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

#include "app/qt/DrivePanel.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/MainWindow.h"
#include "app/qt/PanelView.h"
#include "app/qt/ScriptedUser.h"
#include "app/qt/StatusLine.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

#include "host/EntryCases.h"
#include "qt/OffscreenQtTest.h"

namespace arn {
namespace {

class ScriptedUserTest : public test::MainWindowTest {
  protected:
    void SetUp() override {
        Open(1000, 700, true);
        m_user = std::make_unique<ScriptedUser>(*m_window);
    }
    void TearDown() override {
        m_user.reset();
        MainWindowTest::TearDown();
    }

    PanelControls& Controls() { return m_window->Panel()->NamedControls(); }

    std::unique_ptr<ScriptedUser> m_user;
};

TEST_F(ScriptedUserTest, ReachesOnlyWhatAUserCould) {
    const auto& panel = m_window->Panel();
    auto& c = Controls();
    // Bound in mode 8, not homing: "Set Home Posn" is shown but disabled, "Click to Stop" hidden;
    // the override boxes are greyed until the inputs go to software.
    EXPECT_FALSE(m_user->Click(*c.hardStopCmd));
    EXPECT_FALSE(m_user->Click(c.inCheck(1)));
    EXPECT_TRUE(m_user->Click(*c.inputOptChk));
    EXPECT_TRUE(m_user->Click(c.inCheck(1)));
    m_user->Tick();
    EXPECT_EQ(m_window->Node()->Drive().SelectedIndex(), 1);

    // The drive's pins go through their check boxes; a pin already set is left alone.
    m_user->SetPin(SimPin::InputB, true);
    m_user->SetPin(SimPin::InputB, true);
    EXPECT_TRUE(m_window->Drive()->PinBox(2)->isChecked());
    // Only the modes the drive's list offers; a new mode binds the panel again.
    EXPECT_FALSE(m_user->ChooseMode(5));
    EXPECT_TRUE(m_user->ChooseMode(2));
    m_user->Tick();
    EXPECT_EQ(panel->NumPosns(), 2);

    // A setup button opens its window once; a second click raises it instead of another.
    EXPECT_TRUE(m_user->Click(*c.teachingCmd));
    EXPECT_TRUE(m_user->Click(*c.teachingCmd));
    EXPECT_EQ(m_window->RequestCount("Teaching Setup"), 2);
    int shown = 0;
    for (const QMessageBox* box : m_window->findChildren<QMessageBox*>()) {
        shown += box->isVisible() && box->windowTitle() == "Teaching Setup" ? 1 : 0;
    }
    EXPECT_EQ(shown, 1);
}

TEST_F(ScriptedUserTest, NumbersAsAUserReadsThemWithUnitsAndTooltips) {
    auto& c = Controls();
    const SimDrive& drive = m_window->Node()->Drive();
    // The editor takes and refuses what the console's `enter` does, in the same words.
    for (const test::EntryCase& e : test::PositionOneEntries()) {
        const double before = drive.Read(247);
        EXPECT_EQ(m_user->Type(c.ParamItems(0), e.typed), e.written.has_value()) << e.typed;
        EXPECT_EQ(drive.Read(247), e.written.value_or(before));
        if (!e.written) {
            EXPECT_EQ(m_window->View()->EditorMessage()->text().toStdString(),
                      std::string(e.refusal) + "; nothing written (Esc cancels)");
        }
    }
    // No tooltip over a plain label; an editor's is drawn over the window's picture until hidden.
    EXPECT_EQ(m_user->Hover(*c.Label1), QString());
    EXPECT_TRUE(m_user->Type(c.ParamItems(5), "-2000000000"));
    EXPECT_EQ(m_user->Hover(c.ParamItems(5)),
              "Home Offset (parameter 161): whole counts from -2147483648 to 2147483647");
    EXPECT_NE(m_user->Picture(), m_window->grab().toImage());
    m_user->HideToolTip();
    EXPECT_EQ(m_user->Picture(), m_window->grab().toImage());
    // The widest 32-bit feedback shows shortened on the panel and in full in its tooltip.
    m_window->Node()->ForceParam(68, -2147483648.0);
    m_user->Tick();
    EXPECT_TRUE(m_user->Hover(*c.ArnFdbkDisplayCtl1)
                    .startsWith("Position Feedback: -2,147,483,648 counts\nMeasured Position "
                                "(parameter 68)"));
    m_user->HideToolTip();
}

TEST_F(ScriptedUserTest, PlainMessagesAReleasedPanelBannersAndVerbose) {
    auto& c = Controls();
    const auto status = [&] { return m_window->statusBar()->currentMessage(); };
    // The real reason, with the controls named as the screen shows them.
    m_user->SetPin(SimPin::Enable, true);
    m_user->Tick();
    EXPECT_FALSE(m_user->Click(*c.inputOptChk));
    EXPECT_EQ(status(),
              "Override Inputs ignores the click: the drive's hardware Enable is "
              "asserted; the inputs go to software only while it is off");
    m_user->StartHomingAtDrive();
    m_user->Tick(2);
    EXPECT_FALSE(m_user->Type(c.ParamItems(1), "5"));
    EXPECT_EQ(status(),
              "Position 2 ignores the click: homing is running; the positions are "
              "locked until it ends");

    // Released: greyed, clicks refused by the host before they reach the panel, the banner
    // above the panel, and a clean status bar on re-attach.
    m_user->SetAttached(false);
    const auto teaching = c.teachingCheck->get_Value();
    m_user->Click(*c.teachingCheck);
    EXPECT_EQ(c.teachingCheck->get_Value(), teaching);
    EXPECT_EQ(status(),
              "Enable Teaching ignores the click: the panel is released (Panel > "
              "Attached attaches it)");
    EXPECT_FALSE(m_window->Drive()->JogTeach()->TeachButton()->isEnabled());
    EXPECT_TRUE(m_window->findChild<QLabel*>("banner")->isVisible());
    EXPECT_TRUE(m_window->Banner().startsWith("Released"));
    m_user->SetAttached(true);
    EXPECT_EQ(status(), "");
    EXPECT_EQ(m_window->Banner(), "");

    // A message lasts 80 host ticks and is shortened before the log label, whole in its tooltip.
    // The homing is stopped first: the drive's own reports would replace the message.
    m_user->SetPin(SimPin::Enable, false);
    m_user->Tick();
    const QString longText = QStringLiteral("A long message ").repeated(20);
    m_window->Report(longText);
    StatusLine* line = m_window->Status();
    EXPECT_TRUE(line->ShownText().endsWith(QChar(0x2026)));
    EXPECT_EQ(line->toolTip(), longText);
    m_user->Tick(StatusLine::LifeTicks - 1);
    EXPECT_EQ(status(), longText);
    m_user->Tick();
    EXPECT_EQ(status(), "");

    // Verbose changes the flag word, not the attachment: no new binding.
    for (QAction* action : m_window->findChildren<QAction*>()) {
        if (action->text() == "&Verbose") {
            action->trigger();
        }
    }
    EXPECT_NE(GetDebugFlags() & TraceLevelVerbose, 0);
    EXPECT_FALSE(m_window->Panel()->IsRebindDue());
    m_window->SetVerbose(false);
}

}  // namespace
}  // namespace arn
