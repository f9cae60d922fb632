#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <memory>

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

}  // namespace arn::test
