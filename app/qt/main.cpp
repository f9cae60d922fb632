// Qt host: the position panel on a simulated drive, with the drive's controls and the trace.
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "app/qt/MainWindow.h"
#include "core/ArnError.h"
#include "support/DebuggingFlags.h"

namespace {

struct Options {
    bool verbose = false;
    std::string logPath;
    std::string screenshot;
    int ticks = 5;
};

void PrintUsage(std::FILE* out) {
    std::fputs(
        "usage: arn_qt [--verbose] [--log FILE.log] [--screenshot FILE.png [--ticks N]]\n"
        "  Shows the absolute position panel attached to a simulated drive.\n"
        "  --verbose          hand the verbose trace flag to the panel\n"
        "  --log FILE.log     append the trace to FILE.log (the name must contain .log)\n"
        "  --screenshot FILE  run N timer ticks (default 5), save the window to FILE, exit\n"
        "  --help             this text\n"
        "  Qt's own options (e.g. -platform offscreen) are passed on to Qt.\n",
        out);
}

bool HasEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
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
        } else if (arg == "--ticks" && hasValue) {
            options.ticks = std::atoi(argv[++i]);
        } else if (arg.starts_with("--")) {
            std::fprintf(stderr, "arn_qt: unknown or incomplete option %s\n", argv[i]);
            PrintUsage(stderr);
            return 2;
        }
    }
    // A screenshot needs no screen: without one, Qt draws off-screen.
    if (!options.screenshot.empty() && !HasEnv("QT_QPA_PLATFORM") && !HasEnv("DISPLAY") &&
        !HasEnv("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
