#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSet>
#include <memory>

#include "app/qt/MainWindow.h"
#include "app/qt/PanelView.h"

namespace arn::test {

// A suite that needs a Qt application object: one per suite, made before its first test and
// gone after its last. App is QApplication for widget suites (drawn off-screen, as a test run
// has no display) or QCoreApplication for suites that only start processes.
template <class App = QApplication>
class OffscreenQtTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        s_app = std::make_unique<App>(s_argc, s_argv);
    }
    static void TearDownTestSuite() { s_app.reset(); }

  private:
    static inline int s_argc = 1;
    static inline char s_name[] = "test_qt";
    static inline char* s_argv[] = {s_name, nullptr};
    static inline std::unique_ptr<App> s_app;
};

// The distinct colours of every `step`-th pixel in both directions: a drawn window has many.
inline QSet<QRgb> ColoursIn(const QImage& image, int step) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += step) {
        for (int x = 0; x < image.width(); x += step) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours;
}

// A left-button press or release at `at` in `to`, as the mouse would deliver it.
inline void SendMouse(QWidget* to, QPointF at, QEvent::Type type) {
    QMouseEvent e(type, at, to->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(to, &e);
}

// A suite on the host's main window over the simulated drive, its timer stopped so that the
// test ticks it: made, sized and shown by Open, bound after its three ticks.
class MainWindowTest : public OffscreenQtTest<QApplication> {
  protected:
    void Open(int width, int height, bool scripted) {
        m_window = std::make_unique<MainWindow>();
        m_window->SetTicking(false, scripted);
        m_window->resize(width, height);
        m_window->show();
        QApplication::processEvents();
        Tick(3);
        QApplication::processEvents();
    }
    void TearDown() override { m_window.reset(); }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            m_window->Tick();
        }
    }
    // A press and release at the control's centre, as the mouse would deliver them.
    void ClickOn(const Control& ctl) {
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            SendMouse(m_window->View(), m_window->View()->ControlRect(ctl).center(), type);
        }
    }

    std::unique_ptr<MainWindow> m_window;
};

}  // namespace arn::test
