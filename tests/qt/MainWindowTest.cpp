// Smoke test of the Qt host: the window on a simulated drive draws the panel and hands a click
// on a check box to the control under the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <memory>

#include "app/qt/DrivePanel.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/MainWindow.h"
#include "app/qt/PanelView.h"
#include "app/qt/QtCanvas.h"
#include "app/qt/TracePane.h"
#include "host/controls/ParamEditor.h"
#include "host/values/Number.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"

#include "qt/OffscreenQtTest.h"

namespace arn {
namespace {

class QtHost : public test::MainWindowTest {
  protected:
    void SetUp() override { Open(1200, 760, false); }
};

TEST_F(QtHost, DrawsTheBoundPanel) {
    // The drive's Enable pin lights the Enable LED in the scheme of the hardware inputs.
    m_window->Node()->SetPin(SimPin::Enable, true);
    m_window->Tick();
    PanelView* view = m_window->View();
    const QImage image = view->grab().toImage();
    ASSERT_FALSE(image.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            colours.insert(image.pixel(x, y));
        }
    }
    // Frames, text, edit boxes and LEDs: far more than a cleared background.
    EXPECT_GT(colours.size(), 20);

    const auto& controls = m_window->Panel()->NamedControls();
    const ArnFieldLED& led = controls.fldStatusLED(0);
    ASSERT_TRUE(led.IsLit());
    // Off the glint, in the lower right quarter of the LED.
    const QRectF box = view->ControlRect(led);
    const QPoint body = (box.center() + QPointF(box.width(), box.height()) * 0.2).toPoint();
    EXPECT_EQ(image.pixelColor(body), QtCanvas::ColorOf(Color::FromBgr(led.get_LEDOnColor())));
    EXPECT_EQ(controls.ParamItems(1).DisplayText(), "1000");

    // Tooltips come from the topmost control under the mouse that has one.
    const SSCheck& enableOverride = controls.inCheck(0);
    EXPECT_EQ(view->ToolTipAt(view->ControlRect(enableOverride).center()).get(), &enableOverride);
    EXPECT_EQ(view->ToolTipAt(view->ControlRect(controls.ParamItems(0)).center()).get(),
              &controls.ParamItems(0));

    // Released, the LEDs keep fields whose node is gone; they draw as unlit, not as a crash,
    // under the grey veil of a released panel.
    m_window->SetAttached(false);
    const QImage released = view->grab().toImage();
    const QColor off = QtCanvas::ColorOf(Color::FromBgr(led.get_LEDOffColor()));
    const QColor veiled = released.pixelColor(body);
    constexpr double veil = 150.0 / 255.0;
    EXPECT_NEAR(veiled.red(), off.red() * (1 - veil) + 236 * veil, 2);
    EXPECT_NEAR(veiled.blue(), off.blue() * (1 - veil) + 236 * veil, 2);
}

TEST_F(QtHost, ClicksReachTheControlsAndEditsWriteTheParameter) {
    const auto& panel = m_window->Panel();
    auto& controls = panel->NamedControls();
    ASSERT_TRUE(panel->InputsObject()->get_ExternalInputs());

    // "Override Inputs" hands the inputs to software; the override boxes become usable.
    ClickOn(*controls.inputOptChk);
    EXPECT_FALSE(panel->InputsObject()->get_ExternalInputs());
    EXPECT_EQ(controls.inputOptChk->get_Value(), CheckBox::Checked);
    ASSERT_TRUE(controls.inCheck(1).IsUsable());

    // The Input A override writes its field; the drive then selects position 2.
    ClickOn(controls.inCheck(1));
    m_window->Tick();
    EXPECT_TRUE(controls.inCheck(1).get_CheckValue());
    EXPECT_TRUE(m_window->Node()->Drive().SoftwareState(SimPin::InputA));
    EXPECT_EQ(m_window->Node()->Drive().SelectedIndex(), 1);

    // A click on a position editor opens the inline box; Return writes through the value.
    ParamEditor& editor = controls.ParamItems(0);
    ClickOn(editor);
    QLineEdit* box = m_window->View()->ActiveEditor();
    ASSERT_NE(box, nullptr);
    box->setText(QStringLiteral("250"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    EXPECT_EQ(m_window->View()->ActiveEditor(), nullptr);
    EXPECT_DOUBLE_EQ(m_window->Node()->Param(247)->get_NumberValue()->GetDouble(), 250.0);

    // A node that stopped answering fails the click's write: the status bar says so and the
    // window goes on.
    m_window->Node()->SetOffline(true);
    ClickOn(controls.inCheck(2));
    EXPECT_TRUE(m_window->statusBar()->currentMessage().startsWith("Click on Input B: "))
        << m_window->statusBar()->currentMessage().toStdString();
    // The inputs object's tick fails on the silent node; the net still ticks every other
    // listener and the host shows what escaped, in the status bar and the trace.
    const qint64 linesBefore = m_window->Trace()->LineCount();
    m_window->Tick();
    EXPECT_TRUE(
        m_window->statusBar()->currentMessage().startsWith("TimerTick listener failed: error "))
        << m_window->statusBar()->currentMessage().toStdString();
    EXPECT_GT(m_window->Trace()->LineCount(), linesBefore);
    EXPECT_TRUE(m_window->Trace()->toPlainText().contains(
        QRegularExpression("host: +TimerTick listener failed")));
    m_window->Node()->SetOffline(false);

    // The teaching button asks the host for its window; a disabled panel ignores clicks.
    ClickOn(*controls.teachingCmd);
    EXPECT_EQ(m_window->RequestCount(QStringLiteral("Teaching Setup")), 1);
    m_window->SetPanelEnabled(false);
    ClickOn(*controls.teachingCmd);
    ClickOn(*controls.inputOptChk);
    EXPECT_EQ(m_window->RequestCount(QStringLiteral("Teaching Setup")), 1);
    EXPECT_FALSE(panel->InputsObject()->get_ExternalInputs());
}

TEST_F(QtHost, LayoutFitsASmallScreenKeepsThePanelReadableAndGrowsItToOneAndAHalf) {
    // The first window on a 1366 x 768 screen fits whole, with the drive's read-out and the
    // jog and teach row in view.
    m_window->FitScreen(QSize(1366, 768));
    QApplication::processEvents();
    EXPECT_LE(m_window->width(), 1366);
    EXPECT_LE(m_window->height(), 768);
    const auto inView = [](QWidget* w) { return w->visibleRegion().boundingRect() == w->rect(); };
    EXPECT_TRUE(inView(m_window->Drive()->Readout("Measured position")));
    EXPECT_TRUE(inView(m_window->Drive()->JogTeach()->TeachButton()));

    // Small: the panel keeps 80 % and the Drive dock gives way.
    m_window->resize(800, 560);
    QApplication::processEvents();
    EXPECT_GE(m_window->View()->Zoom(), 0.8);
    EXPECT_LT(m_window->findChild<QDockWidget*>("driveDock")->width(),
              m_window->Drive()->sizeHint().width());
    // Large: the panel grows with the window, up to 150 %.
    m_window->resize(1900, 1200);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(m_window->View()->Zoom(), 1.5);
}

}  // namespace
}  // namespace arn
