// The tour's scripted user: it reaches only what a person at the window could reach, and its
// pictures show what the screen would, tooltips included.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QToolTip>
#include <memory>

#include "app/qt/DrivePanel.h"
#include "app/qt/MainWindow.h"
#include "app/qt/ScriptedUser.h"
#include "host/values/Number.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNode.h"

#include "qt/OffscreenQtTest.h"

namespace arn {
namespace {

class ScriptedUserTest : public test::OffscreenQtTest<QApplication> {
  protected:
    void SetUp() override {
        m_window = std::make_unique<MainWindow>();
        m_user = std::make_unique<ScriptedUser>(*m_window);
        m_window->resize(1000, 700);
        m_window->show();
        m_user->Tick(3);
    }
    void TearDown() override {
        m_user.reset();
        m_window.reset();
    }

    PanelControls& Controls() { return m_window->Panel()->NamedControls(); }

    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ScriptedUser> m_user;
};

TEST_F(ScriptedUserTest, ReachesOnlyWhatAUserCould) {
    const auto& panel = m_window->Panel();
    auto& c = Controls();
    // Bound in mode 8, not homing: "Set Home Posn" is shown but disabled, "Click to Stop" hidden.
    EXPECT_FALSE(m_user->Click(*c.hardStopCmd));
    EXPECT_FALSE(m_user->Click(*c.warnLbl));
    // The override boxes are greyed until the inputs go to software.
    EXPECT_FALSE(m_user->Click(c.inCheck(1)));
    EXPECT_FALSE(c.inCheck(1).get_CheckValue());
    EXPECT_TRUE(m_user->Click(*c.inputOptChk));
    EXPECT_FALSE(panel->InputsObject()->get_ExternalInputs());
    EXPECT_TRUE(m_user->Click(c.inCheck(1)));
    m_user->Tick();
    EXPECT_EQ(m_window->Node()->Drive().SelectedIndex(), 1);

    // The drive's pins go through their check boxes; a pin already set is left alone.
    m_user->SetPin(SimPin::InputB, true);
    m_user->SetPin(SimPin::InputB, true);
    EXPECT_TRUE(m_window->Drive()->PinBox(2)->isChecked());
    EXPECT_TRUE(m_window->Node()->Drive().Pin(SimPin::InputB));

    // Only the modes the drive's list offers; a new mode binds the panel again.
    EXPECT_FALSE(m_user->ChooseMode(5));
    EXPECT_TRUE(m_user->ChooseMode(2));
    m_user->Tick();
    EXPECT_EQ(panel->NumPosns(), 2);

    m_user->SetAttached(false);
    EXPECT_FALSE(panel->IsAttached());
    m_user->SetAttached(true);
    m_user->Tick();
    EXPECT_TRUE(panel->IsAttached());
    EXPECT_FALSE(panel->IsRebindDue());
}

TEST_F(ScriptedUserTest, HoversTypesAndPicturesTheTooltip) {
    auto& c = Controls();
    // No tooltip over a plain label.
    EXPECT_EQ(m_user->Hover(*c.Label1), QString());
    EXPECT_FALSE(QToolTip::isVisible());
    const QImage plain = m_user->Picture();
    EXPECT_EQ(plain.size(), QSize(1000, 700));

    EXPECT_EQ(m_user->Hover(c.inCheck(0)),
              "Warning: Disconnecting USB will cause disable even if box is checked.");
    const QImage withTip = m_user->Picture();
    EXPECT_EQ(withTip.size(), QSize(1000, 700));
    // The tooltip's window is drawn over the panel's picture.
    EXPECT_NE(withTip, m_window->grab().toImage());
    m_user->HideToolTip();
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(m_user->Picture(), m_window->grab().toImage());

    EXPECT_TRUE(m_user->Type(c.ParamItems(0), "125"));
    EXPECT_DOUBLE_EQ(m_window->Node()->Param(247)->get_NumberValue()->GetDouble(), 125.0);
    // While homing the position editors are locked: the click opens no box.
    m_user->StartHomingAtDrive();
    m_user->Tick(2);
    EXPECT_FALSE(m_user->Type(c.ParamItems(0), "250"));
    EXPECT_DOUBLE_EQ(m_window->Node()->Param(247)->get_NumberValue()->GetDouble(), 125.0);
}

}  // namespace
}  // namespace arn
