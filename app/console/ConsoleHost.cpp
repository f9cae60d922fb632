#include "app/console/ConsoleHost.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "app/console/ConsoleScript.h"
#include "app/console/ControlReport.h"
#include "panel/ArnAbsPosnCtl.h"
#include "platform/DebugChannel.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

namespace arn {

namespace {

constexpr int kDefaultTicks = 5;

// A whole, non-negative decimal number that fits an int.
bool ReadTicks(std::string_view text, int& ticks) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), ticks);
    return ec == std::errc() && end == text.data() + text.size() && ticks >= 0;
}

}  // namespace

void ConsoleHost::PrintUsage(std::ostream& to) {
    to << "usage: arn_console [--ticks N] [--do SCRIPT] [--verbose] [--log FILE.log]\n"
          "  Attaches the position panel to a simulated drive, runs N timer ticks\n"
          "  (default 5), then the script, and prints the panel's controls (position and\n"
          "  size in twips, captions, values, pictures, LED fields and colours, editor\n"
          "  values, tooltips) and the trace.\n"
          "  --ticks N      timer ticks before the script (a whole number, 0 or more)\n"
          "  --do SCRIPT    commands separated by \";\", e.g.\n"
          "                 --do \"pin enable on; tick 2; click inputOptChk; mode 18\"\n"
          "                   pin enable|inA|inB on|off   mode N        tick [N]\n"
          "                   click CONTROL               enter EDITOR NUMBER\n"
          "                   set PARAM NUMBER            home          trigger\n"
          "                   recover on|off              show\n"
          "                 CONTROL as the listing names it: inputOptChk, inCheck(1)\n"
          "                 an entry is judged as the Qt host's editor judges it: whole\n"
          "                 numbers for counts, no separators or exponents, in range\n"
          "  --verbose      hand the verbose trace flag to the panel\n"
          "  --log FILE     append the trace to FILE (the name must contain .log)\n"
          "  Exit status: 0 done, 1 the panel or the drive raised an error, 2 a wrong\n"
          "  command line or script.\n";
}

int ConsoleHost::Usage(const std::string& problem) {
    m_err << "arn_console: " << problem << "; see arn_console --help\n";
    return kExitUsage;
}

int ConsoleHost::Run(const std::vector<std::string>& args) {
    int ticks = kDefaultTicks;
    int32_t flags = 0;
    std::string logPath;
    std::string script;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            PrintUsage(m_out);
            return kExitOk;
        } else if (arg == "--verbose") {
            flags = TraceLevelVerbose;
        } else if ((arg == "--ticks" || arg == "--log" || arg == "--do") && !hasValue) {
            return Usage(arg + " needs a value");
        } else if (arg == "--ticks") {
            if (!ReadTicks(args[++i], ticks)) {
                return Usage("--ticks takes a whole number of ticks, 0 or more, not '" + args[i] +
                             "'");
            }
        } else if (arg == "--log") {
            logPath = args[++i];
        } else if (arg == "--do") {
            script += (script.empty() ? "" : ";") + args[++i];
        } else {
            return Usage("unknown option '" + arg + "'");
        }
    }
    ConsoleScript commands(script);
    if (!commands.Ok()) {
        return Usage("--do: " + commands.Problem());
    }

    std::string trace;
    auto listener = AttachDebugListener([&trace](std::string_view text) { trace += text; });
    try {
        if (!logPath.empty()) {
            OpenLogFile(logPath);
        }
        SimNetOptions options;
        options.debugFlags = flags;
        auto net = SimNet::Create(options);
        auto node = net->CreateNode();
        // What a listener of the net lets escape goes into the trace, where the user reads it.
        auto failures =
            net->ListenerFailed.connect([&trace](std::string_view where, const ArnError& e) {
                trace += "host: " + std::string(where) + " listener failed: error " +
                         std::to_string(e.number()) + " (" + e.source() + "): " + e.description() +
                         "\r\n";
            });
        auto panel = ArnAbsPosnCtl::Create();
        panel->put_DisplayName("ArnAbsPosnCtl1");
        panel->Resize(PanelControls::DesignWidth, PanelControls::DesignHeight);
        if (!commands.Resolve(*panel, *node)) {
            return Usage("--do: " + commands.Problem());
        }
        panel->get_UIref()->AttachControl(net, node, nullptr, "", "");
        panel->put_Enabled(true);
        for (int i = 0; i < ticks; ++i) {
            net->Tick();
        }
        int64_t total = ticks;
        if (!commands.Commands().empty()) {
            m_out << "Script after " << ticks << " ticks:\n";
            total += commands.Run(*net, *node, m_out,
                                  [&] { ControlReport::Print(m_out, panel->TopLevelControls()); });
            m_out << "\n";
        }
        m_out << "Panel after " << total << " ticks (units: twips)\n";
        ControlReport::Print(m_out, panel->TopLevelControls());
        m_out << "\nVersion: " << panel->get_UIref()->get_VersionStr() << "\n";
        panel->get_UIref()->ReleaseControl();
    } catch (const std::exception& e) {
        m_err << "arn_console: " << ErrDescription(e) << "\n";
        return kExitFailure;
    }
    m_out << "\nTrace:\n" << trace;
    m_out.flush();
    return kExitOk;
}

}  // namespace arn
