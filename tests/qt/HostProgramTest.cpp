// The Qt host program run as ./run runs it on a machine without a display: its command line,
// its screenshot and its tour, which must choose to draw off-screen by itself.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "qt/OffscreenQtTest.h"

namespace {

struct HostRun {
    int exitCode = -1;  // -1 when it crashed or did not finish
    QString out;
    QString err;
};

class HostProgram : public arn::test::OffscreenQtTest<QCoreApplication> {
  protected:
    // The host program in the test's folder with no display at all; `platform`, when given,
    // chooses a Qt platform for it. The time allows for the tour under the sanitizers.
    HostRun Run(const QStringList& args, const QString& platform = {}) {
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            env.remove(name);
        }
        if (!platform.isEmpty()) {
            env.insert("QT_QPA_PLATFORM", platform);
        }
        host.setProcessEnvironment(env);
        host.setWorkingDirectory(m_work.path());
        host.start(QStringLiteral(ARN_QT_HOST_PATH), args);
        HostRun run;
        if (!host.waitForFinished(180000)) {
            host.kill();
            host.waitForFinished();
            return run;
        }
        run.exitCode = host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
        run.out = QString::fromUtf8(host.readAllStandardOutput());
        run.err = QString::fromUtf8(host.readAllStandardError());
        return run;
    }

    QTemporaryDir m_work;
};

TEST_F(HostProgram, RefusesWhatCannotBeDoneWithExitStatusTwoAndOneLine) {
    const QString help = "; see arn_qt --help";
    const QString noDisplay =
        "arn_qt: there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
        "unset); give --tour DIR to tour the panel off-screen, or --screenshot FILE to draw it";
    const struct {
        QStringList args;
        QString err;
        QString platform = {};
    } cases[] = {
        {{"--screenshot", "shot.png", "--ticks", "-3"},
         "arn_qt: --ticks takes a whole number of ticks, 0 or more, not '-3'" + help},
        {{"--ticks", "3"},
         "arn_qt: --ticks counts the ticks before a screenshot and needs --screenshot" + help},
        {{"--tour", "pictures", "--screenshot", "shot.png"},
         "arn_qt: the tour saves a picture of each step in its folder; --screenshot does not go "
         "with it" +
             help},
        {{"--tour", "pictures", "--log", "mine.log"}, "--log does not go with it" + help},
        {{}, noDisplay + help},
        {{"--frobnicate"}, "arn_qt: unknown or incomplete option --frobnicate" + help},
        {{"--screenshot", "shot", "--ticks", "0"},
         "arn_qt: cannot tell an image format from the name 'shot': it needs an extension such "
         "as .png, .jpg or .bmp" +
             help},
        // Qt finds no platform of that name to start and would abort.
        {{},
         "arn_qt: Qt cannot open a window (no display, and no Qt platform could start); check "
         "DISPLAY or WAYLAND_DISPLAY, or give --tour DIR or -platform offscreen",
         "no-such-platform"},
    };
    for (const auto& c : cases) {
        const HostRun run = Run(c.args, c.platform);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.endsWith(c.err + "\n")) << run.err.toStdString();
        EXPECT_EQ(run.out, QString());
    }
    for (const char* name : {"pictures", "shot.png", "shot", "mine.log"}) {
        EXPECT_FALSE(QFile::exists(m_work.filePath(name))) << name;
    }
}

TEST_F(HostProgram, TheTourAndAScreenshotDrawOffScreenAndLeaveTheirPicturesAndLog) {
    // What an earlier tour left goes; what else is there stays.
    const QDir folder(m_work.filePath("arn_tour"));
    ASSERT_TRUE(QDir().mkpath(folder.path()));
    for (const char* name : {"99-stale-step.png", "notes.txt"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const HostRun run = Run({"--tour", "arn_tour"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_FALSE(folder.exists("99-stale-step.png"));
    EXPECT_TRUE(folder.exists("notes.txt"));

    // The folder first, then one line per step in order, each as the tour expected it, and
    // a picture per step of the whole window, each showing something new.
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 16) << run.out.toStdString();
    EXPECT_TRUE(
        lines.takeFirst().startsWith("Tour of the panel in arn_tour (log arn_tour/tour.log)"));
    const QRegularExpression lineForm("^(\\d\\d) ([a-z0-9-]+): (.+)$");
    QStringList steps;
    QImage previous;
    for (int i = 0; i < lines.size(); ++i) {
        const auto match = lineForm.match(lines[i]);
        ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(match.captured(1).toInt(), i + 1);
        steps << match.captured(2);
        EXPECT_FALSE(lines[i].contains("NOT AS EXPECTED")) << lines[i].toStdString();
        const QImage picture(folder.filePath(match.captured(1) + "-" + steps.back() + ".png"));
        EXPECT_EQ(picture.size(), QSize(1280, 800)) << i;
        EXPECT_GT(arn::test::ColoursIn(picture, 4).size(), 20) << i;
        EXPECT_NE(picture, previous) << i;
        previous = picture;
    }
    EXPECT_EQ(steps.join(' '),
              "attach-and-bind override-inputs select-position-a select-position-b "
              "caution-on-enable enable teaching-before-homing homing-set-home-posn set-home-posn "
              "jog-and-teach homing-click-to-stop-mode-18 position-warning hand-back-to-hardware "
              "refused-hand-over release");
    // What the panel showed, in words the tour's own checks do not hold.
    const struct {
        int step;
        const char* shows;
    } seen[] = {
        {4,
         "tooltip \"Use caution when enabling via Override input; current settings will cause "
         "immediate motion.\""},
        {7, "ran to the hard stop in 20 ticks and waits there at 1810"},
        {11,
         "tooltip \"Location of this position is in the same direction as homing, but the "
         "axis is not set as having infinite rotation.\""},
        {13,
         "trace \"jogAndSwInputs.ExternalInputs: can't get into SW control when HW is "
         "enabled\""},
    };
    for (const auto& s : seen) {
        EXPECT_TRUE(lines[s.step].contains(s.shows)) << lines[s.step].toStdString();
    }

    // The whole trace, from the attach to the release, with a dated line per step.
    QFile log(folder.filePath("tour.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    const qsizetype attach = text.indexOf("ArnAbsPosnCtl.AttachControl ArnAbsPosnCtl1");
    EXPECT_GE(attach, 0);
    EXPECT_LT(attach, text.lastIndexOf("ArnAbsPosnCtl.ReleaseControl ArnAbsPosnCtl1"));
    EXPECT_TRUE(text.contains(QRegularExpression(
        "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d tour: 15-release.png: switched Panel")));

    // A screenshot draws off-screen too and runs its own ticks: no "Timer stopped" banner.
    const HostRun drawn = Run({"--screenshot", "shot.png", "--ticks", "0"});
    EXPECT_EQ(drawn.out, "shot.png\n") << drawn.err.toStdString();
    const QSet<QRgb> shot = arn::test::ColoursIn(QImage(m_work.filePath("shot.png")), 2);
    EXPECT_GT(shot.size(), 20);
    EXPECT_FALSE(shot.contains(QColor(0xff, 0xec, 0xa0).rgb()));
}

}  // namespace
