// Qt host: the position panel on a simulated drive, with the drive's controls and the trace.
// With --tour it runs the scripted tour off-screen instead, with or without a display.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryFile>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "app/qt/MainWindow.h"
#include "app/qt/Tour.h"
#include "core/ArnError.h"
#include "support/DebuggingFlags.h"

namespace {

struct Options {
    bool verbose = false;
    std::string logPath;
    std::string screenshot;
    std::string tourFolder;
    int ticks = 5;
    bool ticksGiven = false;
};

// The window's size before the panel is fitted into it, and the panel's scale in it.
constexpr int WindowWidth = 1360;
constexpr int WindowHeight = 820;
constexpr double PanelScale = 1.4;

void PrintUsage(std::FILE* out) {
    std::fputs(
        "usage: arn_qt [--verbose] [--log FILE.log] [--screenshot FILE.png [--ticks N]]\n"
        "       arn_qt --tour DIR\n"
        "  Shows the absolute position panel attached to a simulated drive.\n"
        "  --verbose          hand the verbose trace flag to the panel\n"
        "  --log FILE.log     append the trace to FILE.log (the name must contain .log)\n"
        "  --screenshot FILE  run N timer ticks (default 5), save the window to FILE, exit;\n"
        "                     FILE's extension names the image format (.png, .jpg, .bmp);\n"
        "                     draws off-screen when there is no display\n"
        "  --ticks N          the timer ticks before the screenshot (0 or more)\n"
        "  --tour DIR         walk through the panel off-screen, saving a picture per step\n"
        "                     and the trace (tour.log) in DIR, and print a line per step;\n"
        "                     needs no display\n"
        "  --help             this text\n"
        "  The window needs a display (DISPLAY or WAYLAND_DISPLAY) or a Qt platform chosen\n"
        "  by QT_QPA_PLATFORM or -platform. Qt's own options (e.g. -platform offscreen) are\n"
        "  passed on to Qt. Exit status: 0 done, 1 a failure while running, 2 a wrong\n"
        "  command line or no display.\n",
        out);
}

bool HasEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// A whole, non-negative decimal number that fits an int.
bool ReadTicks(std::string_view text, int& ticks) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), ticks);
    return ec == std::errc() && end == text.data() + text.size() && ticks >= 0;
}

int Refuse(const std::string& problem) {
    std::fprintf(stderr, "arn_qt: %s; see arn_qt --help\n", problem.c_str());
    return 2;
}

// Whether Qt's own options choose a platform.
bool PlatformOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=")) {
            return true;
        }
    }
    return false;
}

// The image format that FILE's extension names, or empty when Qt writes none by that name.
QByteArray ImageFormatOf(const std::string& file) {
    const QByteArray suffix = QFileInfo(QString::fromStdString(file)).suffix().toLower().toLatin1();
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray();
}

// The off-screen platform has one screen of 800 by 600 pixels unless a configuration file says
// otherwise; the tour's window is bigger, and Qt keeps tooltips inside the screen. The file must
// exist until the QApplication is built.
std::unique_ptr<QTemporaryFile> WriteTourScreen() {
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/arn_qt-screen-XXXXXX.json");
    // A colon would end the platform argument early.
    if (!file->open() || file->fileName().contains(QLatin1Char(':'))) {
        return nullptr;
    }
    file->write(QStringLiteral("{\"screens\": [{\"name\": \"tour\", \"x\": 0, \"y\": 0, "
                               "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                               "\"logicalBaseDpi\": 96, \"dpr\": 1}]}\n")
                    .arg(arn::Tour::WindowWidth)
                    .arg(arn::Tour::WindowHeight)
                    .toUtf8());
    file->flush();
    return file;
}

QtMessageHandler g_qtMessages = nullptr;
bool g_startingQt = false;
bool g_quietOffscreen = false;

// The display as the environment names it, for messages.
std::string DisplayText() {
    std::string text;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        if (HasEnv(name)) {
            text += std::string(text.empty() ? "" : ", ") + name + "=" + std::getenv(name);
        }
    }
    return text.empty() ? "no display" : text;
}

// Two kinds of Qt messages are the host's to handle. A platform that cannot start (a display
// that does not answer) is fatal to Qt, which would abort; while Qt starts, the host says so in
// one line and ends with the usage status instead. And off-screen, Qt notes every window call
// the platform cannot carry out (raise, size hints) and that there is no runtime folder; the
// pictures depend on neither.
void HostMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && g_startingQt) {
        std::fprintf(stderr,
                     "arn_qt: Qt cannot open a window (%s, and no Qt platform could start); "
                     "check DISPLAY or WAYLAND_DISPLAY, or give --tour DIR or -platform "
                     "offscreen\n",
                     DisplayText().c_str());
        std::fflush(stderr);
        std::_Exit(2);
    }
    if (g_quietOffscreen && type == QtWarningMsg &&
        (text.startsWith(QStringLiteral("This plugin does not support")) ||
         text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")))) {
        return;
    }
    if (g_qtMessages) {
        g_qtMessages(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
}

int RunTour(const QString& folder) {
    try {
        arn::Tour tour(folder);
        const bool ok = tour.Run();
        std::printf("Tour of the panel in %s (log %s):\n", qPrintable(folder),
                    qPrintable(tour.LogPath()));
        for (size_t i = 0; i < tour.Steps().size(); ++i) {
            const arn::TourStep& step = tour.Steps()[i];
            std::printf("%02zu %s: %s\n", i + 1, qPrintable(step.name), qPrintable(step.summary));
        }
        for (const QString& problem : tour.Problems()) {
            std::fprintf(stderr, "arn_qt: tour: %s\n", qPrintable(problem));
        }
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arn_qt: tour: %s\n", arn::ErrDescription(e).c_str());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Read before QApplication exists, so --help and a bad option need no display.
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--log" && hasValue) {
            options.logPath = argv[++i];
        } else if (arg == "--screenshot" && hasValue) {
            options.screenshot = argv[++i];
        } else if (arg == "--tour" && hasValue) {
            options.tourFolder = argv[++i];
        } else if (arg == "--ticks" && hasValue) {
            options.ticksGiven = true;
            if (!ReadTicks(argv[++i], options.ticks)) {
                return Refuse("--ticks takes a whole number of ticks, 0 or more, not '" +
                              std::string(argv[i]) + "'");
            }
        } else if (arg.starts_with("--")) {
            return Refuse("unknown or incomplete option " + std::string(arg));
        }
    }
    const bool display = HasEnv("DISPLAY") || HasEnv("WAYLAND_DISPLAY");
    const bool platformChosen = HasEnv("QT_QPA_PLATFORM") || PlatformOption(argc, argv);
    const bool tour = !options.tourFolder.empty();
    if (tour && !options.logPath.empty()) {
        return Refuse(
            "the tour writes its own log (tour.log in its folder); --log does not "
            "go with it");
    }
    if (tour && !options.screenshot.empty()) {
        return Refuse(
            "the tour saves a picture of each step in its folder; --screenshot does "
            "not go with it");
    }
    if (options.ticksGiven && options.screenshot.empty()) {
        return Refuse("--ticks counts the ticks before a screenshot and needs --screenshot");
    }
    if (!tour && options.screenshot.empty() && !display && !platformChosen) {
        return Refuse(
            "there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
            "are unset); give --tour DIR to tour the panel off-screen, or "
            "--screenshot FILE to draw it");
    }
    // A screenshot or the tour needs no screen: Qt draws off-screen. The tour draws off-screen
    // even where there is a display, so that its pictures do not depend on that display.
    std::unique_ptr<QTemporaryFile> tourScreen;
    if (!HasEnv("QT_QPA_PLATFORM") && (tour || !display)) {
        QByteArray platform = "offscreen";
        if (tour && (tourScreen = WriteTourScreen())) {
            platform += ":configfile=" + QFile::encodeName(tourScreen->fileName());
        }
        qputenv("QT_QPA_PLATFORM", platform);
        g_quietOffscreen = true;
    }
    g_qtMessages = qInstallMessageHandler(HostMessages);

    // The log opens first, so a refused path is reported without needing a display.
    try {
        if (!options.logPath.empty()) {
            arn::OpenLogFile(options.logPath);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arn_qt: %s\n", arn::ErrDescription(e).c_str());
        return 2;
    }

    g_startingQt = true;
    QApplication app(argc, argv);
    g_startingQt = false;
    QApplication::setApplicationName(QStringLiteral("arn_qt"));
    if (tour) {
        return RunTour(QString::fromStdString(options.tourFolder));
    }
    // Known before the window ticks, so that a name without a format costs nothing.
    const QByteArray format =
        options.screenshot.empty() ? QByteArray() : ImageFormatOf(options.screenshot);
    if (!options.screenshot.empty() && format.isEmpty()) {
        return Refuse("cannot tell an image format from the name '" + options.screenshot +
                      "': it needs an extension such as .png, .jpg or .bmp");
    }
    try {
        arn::MainWindow window(options.verbose ? arn::TraceLevelVerbose : 0);
        window.resize(WindowWidth, WindowHeight);
        window.show();
        if (options.screenshot.empty()) {
            // On a screen, the first window fits the screen's free area.
            window.FitScreen(window.screen()->availableGeometry().size());
            return QApplication::exec();
        }
        window.FitPanel(PanelScale);

        // The screenshot runs the ticks itself: the window is not showing a stopped timer.
        window.SetTicking(false, true);
        QApplication::processEvents();
        for (int i = 0; i < options.ticks; ++i) {
            window.Tick();
            QApplication::processEvents();
        }
        QImageWriter writer(QString::fromStdString(options.screenshot), format);
        if (!writer.write(window.grab().toImage())) {
            std::fprintf(stderr, "arn_qt: cannot write %s: %s\n", options.screenshot.c_str(),
                         qPrintable(writer.errorString()));
            return 1;
        }
        std::printf("%s\n", options.screenshot.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arn_qt: %s\n", arn::ErrDescription(e).c_str());
        return 1;
    }
}
