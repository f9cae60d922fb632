// Smoke test of the Qt host: the window on a simulated drive draws the panel and hands a click
// on a check box to the control under the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>

#include "app/qt/DrivePanel.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/QtCanvas.h"
#include "app/qt/TracePane.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNode.h"

#include "qt/OffscreenQtTest.h"

namespace arn {
namespace {

class QtHost : public test::MainWindowTest {
  protected:
    void SetUp() override { Open(1200, 760, false); }
};

TEST_F(QtHost, DrawsTheBoundPanelAndVeilsItWhenReleased) {
    // The drive's Enable pin lights the Enable LED in the scheme of the hardware inputs.
    m_window->Node()->SetPin(SimPin::Enable, true);
    m_window->Tick();
    PanelView* view = m_window->View();
    const QImage image = view->grab().toImage();
    const ArnFieldLED& led = m_window->Panel()->NamedControls().fldStatusLED(0);
    // Off the glint, in the lower right quarter of the LED.
    const QRectF box = view->ControlRect(led);
    const QPoint body = (box.center() + QPointF(box.width(), box.height()) * 0.2).toPoint();
    EXPECT_EQ(image.pixelColor(body), QtCanvas::ColorOf(Color::FromBgr(led.get_LEDOnColor())));

    // Released, the LEDs keep fields whose node is gone; they draw as unlit, not as a crash,
    // under the grey veil of a released panel.
    m_window->SetAttached(false);
    const QColor off = QtCanvas::ColorOf(Color::FromBgr(led.get_LEDOffColor()));
    const QColor veiled = view->grab().toImage().pixelColor(body);
    constexpr double veil = 150.0 / 255.0;
    EXPECT_NEAR(veiled.red(), off.red() * (1 - veil) + 236 * veil, 2);
    EXPECT_NEAR(veiled.blue(), off.blue() * (1 - veil) + 236 * veil, 2);
}

TEST_F(QtHost, AFailingNodeIsToldAndADisabledPanelTakesNoClicks) {
    const auto& panel = m_window->Panel();
    auto& controls = panel->NamedControls();
    ClickOn(*controls.inputOptChk);
    ASSERT_FALSE(panel->InputsObject()->get_ExternalInputs());

    // A node that stopped answering fails the click's write: the status bar says so. The
    // inputs object's tick fails too; the net still ticks every other listener and the host
    // shows what escaped, in the status bar and the trace.
    m_window->Node()->SetOffline(true);
    ClickOn(controls.inCheck(2));
    const auto status = [&] { return m_window->statusBar()->currentMessage().toStdString(); };
    EXPECT_TRUE(status().starts_with("Click on Input B: ")) << status();
    m_window->Tick();
    EXPECT_TRUE(status().starts_with("TimerTick listener failed: error ")) << status();
    EXPECT_TRUE(m_window->Trace()->toPlainText().contains(
        QRegularExpression("host: +TimerTick listener failed")));
    m_window->Node()->SetOffline(false);

    // The teaching button asks the host for its window; a disabled panel ignores clicks.
    ClickOn(*controls.teachingCmd);
    m_window->SetPanelEnabled(false);
    ClickOn(*controls.teachingCmd);
    ClickOn(*controls.inputOptChk);
    EXPECT_EQ(m_window->RequestCount(QStringLiteral("Teaching Setup")), 1);
    EXPECT_FALSE(panel->InputsObject()->get_ExternalInputs());
}

TEST_F(QtHost, LayoutFitsASmallScreenKeepsThePanelReadableAndGrowsItToOneAndAHalf) {
    // The first window on a 1366 x 768 screen fits whole, the jog and teach row in view.
    m_window->FitScreen(QSize(1366, 768));
    QApplication::processEvents();
    EXPECT_LE(m_window->height(), 768);
    QWidget* teach = m_window->Drive()->JogTeach()->TeachButton();
    EXPECT_EQ(teach->visibleRegion().boundingRect(), teach->rect());
    // Small, the panel keeps 80 % and the Drive dock gives way; large, it grows up to 150 %.
    m_window->resize(800, 560);
    QApplication::processEvents();
    EXPECT_GE(m_window->View()->Zoom(), 0.8);
    m_window->resize(1900, 1200);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(m_window->View()->Zoom(), 1.5);
}

}  // namespace
}  // namespace arn
