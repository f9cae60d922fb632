#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace arn::bench {

// Initialises Google Benchmark with this project's defaults: the machine may be shared, so
// unless the command line chooses its own repetitions, take the median of 7 interleaved
// repetitions and report the aggregates only.
inline void InitializeWithDefaults(int argc, char** argv) {
    static char repetitions[] = "--benchmark_repetitions=7";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    static std::vector<char*> args;
    args.assign(argv, argv + argc);
    bool custom = false;
    for (int i = 1; i < argc; ++i) {
        custom = custom || std::string_view(argv[i]).starts_with("--benchmark_repetitions");
    }
    if (!custom) {
        args.insert(args.begin() + 1, {repetitions, interleave, aggregates});
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
}

// Prints as the console reporter does and keeps, per benchmark, the median times per iteration
// (in ns) and the median counters, for the ratios each binary prints at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double cpu = 0;
        double real = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" &&
                !run.error_occurred) {
                const double toNanos = benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                                       benchmark::GetTimeUnitMultiplier(run.time_unit);
                const std::string name = run.run_name.str();
                times[name] =
                    Times{run.GetAdjustedCPUTime() * toNanos, run.GetAdjustedRealTime() * toNanos};
                for (const auto& [counter, value] : run.counters) {
                    counters[name + " " + counter] = value.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, Times> times;
    std::map<std::string, double> counters;
};

}  // namespace arn::bench
