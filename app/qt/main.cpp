// Qt host: the position panel on a simulated drive, with the drive's controls and the trace.
// Without a display (or with --tour) it runs the scripted tour off-screen instead.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryFile>
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
};

// Where the tour goes when no display asked for it and no --tour named a folder.
constexpr const char* DefaultTourFolder = "arn_tour";

void PrintUsage(std::FILE* out) {
    std::fputs(
        "usage: arn_qt [--verbose] [--log FILE.log] [--screenshot FILE.png [--ticks N]]\n"
        "       arn_qt --tour DIR\n"
        "  Shows the absolute position panel attached to a simulated drive.\n"
        "  --verbose          hand the verbose trace flag to the panel\n"
        "  --log FILE.log     append the trace to FILE.log (the name must contain .log)\n"
        "  --screenshot FILE  run N timer ticks (default 5), save the window to FILE, exit\n"
        "  --tour DIR         walk through the panel off-screen, saving a picture per step\n"
        "                     and the trace (tour.log) in DIR, and print a line per step.\n"
        "                     Without a display (DISPLAY and WAYLAND_DISPLAY unset) and\n"
        "                     without --screenshot the tour runs into ./arn_tour\n"
        "  --help             this text\n"
        "  Qt's own options (e.g. -platform offscreen) are passed on to Qt.\n",
        out);
}

bool HasEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
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

// The off-screen platform notes every window call it cannot carry out (raise, size hints), and
// Qt that there is no runtime folder; the tour depends on neither.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg &&
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
            options.ticks = std::atoi(argv[++i]);
        } else if (arg.starts_with("--")) {
            std::fprintf(stderr, "arn_qt: unknown or incomplete option %s\n", argv[i]);
            PrintUsage(stderr);
            return 2;
        }
    }
    const bool display = HasEnv("DISPLAY") || HasEnv("WAYLAND_DISPLAY");
    if (!display && options.screenshot.empty() && options.tourFolder.empty()) {
        options.tourFolder = DefaultTourFolder;
    }
    const bool tour = !options.tourFolder.empty();
    if (tour && !options.logPath.empty()) {
        std::fputs(
            "arn_qt: the tour writes its own log (tour.log in its folder); --log does not "
            "go with it\n",
            stderr);
        return 2;
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
    }
    if (tour) {
        g_qtMessages = qInstallMessageHandler(QuietOffscreenNotes);
    }

    // The log opens first, so a refused path is reported without needing a display.
    try {
        if (!options.logPath.empty()) {
            arn::OpenLogFile(options.logPath);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arn_qt: %s\n", arn::ErrDescription(e).c_str());
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("arn_qt"));
    if (tour) {
        return RunTour(QString::fromStdString(options.tourFolder));
    }
    try {
        arn::MainWindow window(options.verbose ? arn::TraceLevelVerbose : 0);
        window.resize(1360, 820);
        window.show();
        window.FitPanel(1.4);
        if (options.screenshot.empty()) {
            return QApplication::exec();
        }

        window.SetTicking(false);
        QApplication::processEvents();
        for (int i = 0; i < options.ticks; ++i) {
            window.Tick();
            QApplication::processEvents();
        }
        const QString path = QString::fromStdString(options.screenshot);
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "arn_qt: cannot write %s\n", options.screenshot.c_str());
            return 1;
        }
        std::printf("%s\n", options.screenshot.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arn_qt: %s\n", arn::ErrDescription(e).c_str());
        return 1;
    }
}
