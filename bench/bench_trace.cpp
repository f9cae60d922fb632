// The cost of one trace line: emitted to a log file on /dev/null, against spdlog writing the
// same text with a date-time pattern to a file sink on /dev/null; and a line whose level is
// not enabled. Prints the ratio of the emitted line to the baseline (goal: at most 1.0) and
// the cost of a suppressed line (goal: under 2 ns).
#include <benchmark/benchmark.h>
#include <spdlog/logger.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchDefaults.h"
#include "support/DebuggingFlags.h"

namespace {

namespace fs = std::filesystem;

// Named like the panel, whose attach line this is.
class ArnAbsPosnCtl {
  public:
    virtual ~ArnAbsPosnCtl() = default;
};

constexpr std::string_view kMessage = ".UIuserControl_AttachControl theNode=3 regSect=Panel";

// The text a trace line carries after the date: stamp, delta, class name and message.
const std::string kLineText =
    "12,345.6\t+0.8\tArnAbsPosnCtl.UIuserControl_AttachControl theNode=3 regSect=Panel";

// The log must be named *.log; a link of that name leads to /dev/null.
struct NullLog {
    NullLog() {
        char pattern[] = "/tmp/arn_bench_trace_XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        dir = pattern;
        fs::create_symlink("/dev/null", dir / "trace.log");
        // /dev/null cannot be copied aside, so keep the run below the rotation point.
        arn::SetLogRotationLines(std::numeric_limits<int64_t>::max());
        arn::OpenLogFile((dir / "trace.log").string());
    }
    ~NullLog() {
        arn::CloseLogFile();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;
};

void BM_TraceEmitted(benchmark::State& state) {
    NullLog log;
    arn::SetDebugFlags(0);
    ArnAbsPosnCtl panel;
    for (auto _ : state) {
        arn::DebugTrace(panel, kMessage, arn::TraceLevelAlways, false);
    }
    if (!arn::WriteLogLine("check", "")) {
        state.SkipWithError("the log did not take the lines");
    }
}
BENCHMARK(BM_TraceEmitted);

void BM_SpdlogBaseline(benchmark::State& state) {
    auto sink = std::make_shared<spdlog::sinks::basic_file_sink_st>("/dev/null");
    spdlog::logger logger("baseline", sink);
    logger.set_pattern("%Y-%m-%d %H:%M:%S: %v");
    for (auto _ : state) {
        logger.info(kLineText);
    }
}
BENCHMARK(BM_SpdlogBaseline);

void BM_TraceSuppressed(benchmark::State& state) {
    arn::SetDebugFlags(0);
    ArnAbsPosnCtl panel;
    for (auto _ : state) {
        arn::DebugTrace(panel, kMessage, arn::TraceLevelVerbose, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TraceSuppressed);

}  // namespace

int main(int argc, char** argv) {
    arn::bench::InitializeWithDefaults(argc, argv);
    arn::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    if (t.count("BM_TraceEmitted") && t.count("BM_SpdlogBaseline")) {
        const auto& ours = t.at("BM_TraceEmitted");
        const auto& base = t.at("BM_SpdlogBaseline");
        std::printf(
            "emitted line / spdlog: CPU %.1f / %.1f ns = ratio %.2f; wall %.1f / %.1f ns = "
            "ratio %.2f (goal <= 1.0)\n",
            ours.cpu, base.cpu, ours.cpu / base.cpu, ours.real, base.real, ours.real / base.real);
    }
    if (t.count("BM_TraceSuppressed")) {
        std::printf("suppressed line: CPU %.2f ns, wall %.2f ns (goal < 2 ns)\n",
                    t.at("BM_TraceSuppressed").cpu, t.at("BM_TraceSuppressed").real);
    }
    benchmark::Shutdown();
    return 0;
}
