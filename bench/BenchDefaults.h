#pragma once

#include <benchmark/benchmark.h>

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

}  // namespace arn::bench
