// The Qt host's tour, run as ./run runs it on a machine without a display: the program itself
// must choose to draw off-screen and write its pictures, log and summary.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

#include "qt/OffscreenQtTest.h"

namespace {

// Under the sanitizers the tour takes several times as long as in the optimised build.
constexpr int TourTimeoutMs = 180000;

// The steps as the tour names them, in order.
const QStringList StepNames = {
    "attach-and-bind",
    "override-inputs",
    "select-position-a",
    "select-position-b",
    "caution-on-enable",
    "enable",
    "teaching-before-homing",
    "homing-set-home-posn",
    "set-home-posn",
    "jog-and-teach",
    "homing-click-to-stop-mode-18",
    "position-warning",
    "hand-back-to-hardware",
    "refused-hand-over",
    "release",
};

using arn::test::HostRun;

class Tour : public arn::test::OffscreenQtTest<QCoreApplication> {
  protected:
    // The host program with no display at all, and no platform chosen for it.
    static HostRun RunHost(const QString& workingDir, const QStringList& args) {
        return arn::test::RunQtHost(workingDir, args, {}, TourTimeoutMs);
    }
};

TEST_F(Tour, WithoutADisplayTheTourDrawsOffScreenIntoItsFolder) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString folder = work.filePath("arn_tour");
    // What an earlier tour left goes; what else is there stays.
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* name : {"99-stale-step.png", "notes.txt"}) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    const HostRun run = RunHost(work.path(), {"--tour", "arn_tour"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("99-stale-step.png")));
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("notes.txt")));

    // The folder first, then one line per step in order.
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), StepNames.size() + 1) << run.out.toStdString();
    EXPECT_TRUE(
        lines.takeFirst().startsWith("Tour of the panel in arn_tour (log arn_tour/tour.log)"))
        << run.out.toStdString();
    const QRegularExpression lineForm("^(\\d\\d) ([a-z0-9-]+): (.+)$");
    for (int i = 0; i < lines.size(); ++i) {
        const auto match = lineForm.match(lines[i]);
        ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(match.captured(1).toInt(), i + 1);
        EXPECT_EQ(match.captured(2), StepNames[i]);
        EXPECT_FALSE(lines[i].contains("NOT AS EXPECTED")) << lines[i].toStdString();
    }
    // What the panel showed, read back from its controls.
    EXPECT_TRUE(
        lines[0].contains("frame \"Position Selection Setup (counts)\" with 4 positions "
                          "(0, 1000, 2000, 3000)"));
    EXPECT_TRUE(lines[3].contains("the drive selects position 3 (target 2000)"));
    EXPECT_TRUE(lines[4].contains(
        "tooltip \"Use caution when enabling via Override input; current settings will cause "
        "immediate motion.\""));
    EXPECT_TRUE(
        lines[6].contains("tooltip \"Attempting to teach positions before the unit has "
                          "been homed will result in a shutdown\""));
    EXPECT_TRUE(lines[7].contains("\"Set Home Posn\" shows in bold"));
    EXPECT_TRUE(lines[7].contains("ran to the hard stop in 20 ticks and waits there at 1810"));
    EXPECT_TRUE(lines[8].contains("(trace \"Drive: Homed at 0\")")) << lines[8].toStdString();
    EXPECT_TRUE(lines[9].contains("instead of running back to its target"))
        << lines[9].toStdString();
    EXPECT_TRUE(lines[9].contains("trace \"Drive: Taught position 3 (parameter 249): "));
    EXPECT_TRUE(lines[10].contains("\"Click to Stop\" shows while homing runs"));
    EXPECT_TRUE(lines[11].contains("(trace \"Drive: Homing aborted at "))
        << lines[11].toStdString();
    EXPECT_TRUE(
        lines[11].contains("tooltip \"Location of this position is in the same direction "
                           "as homing, but the axis is not set as having infinite "
                           "rotation.\""));
    EXPECT_TRUE(lines[13].contains(
        "trace \"jogAndSwInputs.ExternalInputs: can't get into SW control when HW is enabled\""));
    EXPECT_TRUE(lines[14].contains("trace \"ArnAbsPosnCtl.ReleaseControl ArnAbsPosnCtl1\""));

    // A picture per step, of the whole window, each showing something the one before did not.
    QImage previous;
    for (int i = 0; i < StepNames.size(); ++i) {
        const QString name =
            QStringLiteral("%1-%2.png").arg(i + 1, 2, 10, QChar('0')).arg(StepNames[i]);
        const QImage picture(QDir(folder).filePath(name));
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_EQ(picture.width(), 1280) << name.toStdString();
        EXPECT_EQ(picture.height(), 800) << name.toStdString();
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 4) {
            for (int x = 0; x < picture.width(); x += 4) {
                colours.insert(picture.pixel(x, y));
            }
        }
        EXPECT_GT(colours.size(), 20) << name.toStdString();
        EXPECT_NE(picture, previous) << name.toStdString();
        previous = picture;
    }
    EXPECT_EQ(QDir(folder).entryList({"*.png"}, QDir::Files).size(), StepNames.size());

    // The whole trace, from the attach to the release, with a line per step.
    QFile log(QDir(folder).filePath("tour.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    const qsizetype attach = text.indexOf("ArnAbsPosnCtl.AttachControl ArnAbsPosnCtl1");
    const qsizetype release = text.lastIndexOf("ArnAbsPosnCtl.ReleaseControl ArnAbsPosnCtl1");
    ASSERT_GE(attach, 0);
    ASSERT_GE(release, 0);
    EXPECT_LT(attach, release);
    EXPECT_TRUE(text.contains("jogAndSwInputs.ExternalInputs: can't get into SW control"));
    EXPECT_TRUE(text.contains(QRegularExpression(
        "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d tour: 15-release.png: switched Panel")));
}

TEST_F(Tour, RefusesALogOfItsOwnChoosing) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const HostRun run = RunHost(work.path(), {"--tour", "pictures", "--log", "mine.log"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--log does not go with it")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(work.filePath("pictures")));
    EXPECT_FALSE(QFile::exists(work.filePath("mine.log")));
}

}  // namespace
