// The Qt host's command line, refused before Qt starts or before the window ticks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "qt/OffscreenQtTest.h"

namespace {

// Long enough for a start under the sanitizers; a refusal comes at once.
constexpr int HostTimeoutMs = 120000;

using arn::test::HostRun;

class HostCommandLine : public arn::test::OffscreenQtTest<QCoreApplication> {
  protected:
    // The host program with no display at all; `platform` chooses a Qt platform when given.
    HostRun RunHost(const QStringList& args, const QString& platform = {}) {
        return arn::test::RunQtHost(m_work.path(), args, platform, HostTimeoutMs);
    }

    QTemporaryDir m_work;
};

TEST_F(HostCommandLine, RefusesWhatCannotBeDoneWithExitStatusTwoAndOneLine) {
    ASSERT_TRUE(m_work.isValid());
    struct Case {
        QStringList args;
        QString err;
    };
    const QString help = QStringLiteral("; see arn_qt --help\n");
    const QList<Case> cases = {
        {{"--screenshot", "shot.png", "--ticks", "-3"},
         "arn_qt: --ticks takes a whole number of ticks, 0 or more, not '-3'" + help},
        {{"--screenshot", "shot.png", "--ticks", "five"},
         "arn_qt: --ticks takes a whole number of ticks, 0 or more, not 'five'" + help},
        {{"--ticks", "3"},
         "arn_qt: --ticks counts the ticks before a screenshot and needs --screenshot" + help},
        {{"--tour", "pictures", "--screenshot", "shot.png"},
         "arn_qt: the tour saves a picture of each step in its folder; --screenshot does not "
         "go with it" +
             help},
        {{},
         "arn_qt: there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
         "unset); give --tour DIR to tour the panel off-screen, or --screenshot FILE to draw "
         "it" +
             help},
        {{"--verbose"},
         "arn_qt: there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
         "unset); give --tour DIR to tour the panel off-screen, or --screenshot FILE to draw "
         "it" +
             help},
        {{"--frobnicate"}, "arn_qt: unknown or incomplete option --frobnicate" + help},
    };
    for (const Case& c : cases) {
        const HostRun run = RunHost(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.err, c.err) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.out, QString());
    }
    EXPECT_FALSE(QFile::exists(m_work.filePath("pictures")));
    EXPECT_FALSE(QFile::exists(m_work.filePath("shot.png")));
}

TEST_F(HostCommandLine, AScreenshotNeedsAnImageFormatInItsName) {
    ASSERT_TRUE(m_work.isValid());
    const HostRun nameless = RunHost({"--screenshot", "shot", "--ticks", "0"});
    EXPECT_EQ(nameless.exitCode, 2);
    EXPECT_TRUE(nameless.err.endsWith(
        "arn_qt: cannot tell an image format from the name 'shot': it needs an extension such "
        "as .png, .jpg or .bmp; see arn_qt --help\n"))
        << nameless.err.toStdString();
    EXPECT_FALSE(QFile::exists(m_work.filePath("shot")));

    // Without a display the screenshot draws off-screen.
    const HostRun drawn = RunHost({"--screenshot", "shot.png", "--ticks", "0"});
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err.toStdString();
    EXPECT_EQ(drawn.out, "shot.png\n");
    EXPECT_TRUE(QFile::exists(m_work.filePath("shot.png")));
    // The screenshot runs its ticks itself: no "Timer stopped" banner (its yellow) in it.
    const QImage shot(m_work.filePath("shot.png"));
    ASSERT_FALSE(shot.isNull());
    int bannerPixels = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            bannerPixels += shot.pixelColor(x, y) == QColor(0xff, 0xec, 0xa0) ? 1 : 0;
        }
    }
    EXPECT_EQ(bannerPixels, 0);
}

TEST_F(HostCommandLine, APlatformThatCannotStartIsSaidPlainly) {
    ASSERT_TRUE(m_work.isValid());
    // A platform of that name does not exist: Qt finds none to start and would abort.
    const HostRun run = RunHost({}, QStringLiteral("no-such-platform"));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(
        run.err.endsWith("arn_qt: Qt cannot open a window (no display, and no Qt "
                         "platform could start); check DISPLAY or WAYLAND_DISPLAY, or "
                         "give --tour DIR or -platform offscreen\n"))
        << run.err.toStdString();
}

}  // namespace
