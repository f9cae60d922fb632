// Console host: attaches the panel to a simulated drive, lets a few timer ticks run, and prints
// the panel's control tree and the trace, so the library can be seen working without a display.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "panel/ArnAbsPosnCtl.h"
#include "platform/DebugChannel.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

namespace {

void PrintUsage() {
    std::cout << "usage: arn_console [--ticks N] [--verbose] [--log FILE.log]\n"
                 "  Attaches the position panel to a simulated drive, runs N timer ticks\n"
                 "  (default 5), and prints the control tree and the trace.\n";
}

const char* YesNo(bool v) {
    return v ? "yes" : "no";
}

void PrintTree(const arn::Control& ctl, int depth) {
    std::string name = ctl.get_Name();
    if (ctl.get_Index() >= 0) {
        name += "(" + std::to_string(ctl.get_Index()) + ")";
    }
    std::string caption;
    try {
        const auto v = ctl.GetProperty("Caption");
        if (const auto* s = std::get_if<std::string>(&v)) {
            caption = *s;
        }
    } catch (const std::exception&) {
        // A kind without a caption prints none.
    }
    std::printf("%*s%-22s %-20s visible=%-3s enabled=%-3s \"%s\"\n", depth * 2, "", name.c_str(),
                ctl.TypeName().c_str(), YesNo(ctl.get_Visible()), YesNo(ctl.get_Enabled()),
                caption.c_str());
    for (const auto& child : ctl.Children()) {
        PrintTree(*child, depth + 1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int ticks = 5;
    int32_t flags = 0;
    std::string logPath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--ticks" && i + 1 < argc) {
            ticks = std::atoi(argv[++i]);
        } else if (arg == "--verbose") {
            flags = arn::TraceLevelVerbose;
        } else if (arg == "--log" && i + 1 < argc) {
            logPath = argv[++i];
        } else {
            PrintUsage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }

    std::string trace;
    auto listener = arn::AttachDebugListener([&trace](std::string_view text) { trace += text; });
    try {
        if (!logPath.empty()) {
            arn::OpenLogFile(logPath);
        }
        arn::SimNetOptions options;
        options.debugFlags = flags;
        auto net = arn::SimNet::Create(options);
        auto node = net->CreateNode();
        // What a listener of the net lets escape goes into the trace, where the user reads it.
        auto failures =
            net->ListenerFailed.connect([&trace](std::string_view where, const arn::ArnError& e) {
                trace += "host: " + std::string(where) + " listener failed: error " +
                         std::to_string(e.number()) + " (" + e.source() + "): " + e.description() +
                         "\r\n";
            });
        auto panel = arn::ArnAbsPosnCtl::Create();
        panel->put_DisplayName("ArnAbsPosnCtl1");
        panel->Resize(arn::PanelControls::DesignWidth, arn::PanelControls::DesignHeight);
        panel->get_UIref()->AttachControl(net, node, nullptr, "", "");
        panel->put_Enabled(true);
        for (int i = 0; i < ticks; ++i) {
            net->Tick();
        }

        std::printf("Panel after %d ticks (units: twips)\n", ticks);
        for (const auto& top : panel->TopLevelControls()) {
            PrintTree(*top, 1);
        }
        std::printf("\nVersion: %s\n", panel->get_UIref()->get_VersionStr().c_str());
        panel->get_UIref()->ReleaseControl();
    } catch (const std::exception& e) {
        std::cerr << "arn_console: " << arn::ErrDescription(e) << "\n";
        return 1;
    }
    std::printf("\nTrace:\n%s", trace.c_str());
    return 0;
}
