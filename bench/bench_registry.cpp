// Registry store speed: WriteValue one value at a time, and SaveRegistry / LoadRegistry of a
// key with 10,000 values in 100 subkeys, on the SQLite store against the in-memory store.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/RegistryApi.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "support/CRegistry.h"

namespace {

using arn::CRegistry;

enum class Store { Memory, Sqlite };

const char* StoreName(Store store) {
    return store == Store::Memory ? "memory" : "sqlite";
}

// One folder for every database file of the run, removed at the end.
class BenchDir {
  public:
    BenchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "arnreg-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~BenchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string NewFile() { return (m_path / ("r" + std::to_string(m_next++) + ".db")).string(); }

  private:
    std::filesystem::path m_path;
    int m_next = 0;
};

BenchDir& Dir() {
    static BenchDir dir;
    return dir;
}

void UseFreshStore(Store store) {
    if (store == Store::Memory) {
        arn::RegistryUseMemory();
    } else {
        arn::RegistryUseDatabase(Dir().NewFile());
    }
}

constexpr int kSubkeys = 100;
constexpr int kValuesPerSubkey = 100;

void FillTree() {
    for (int k = 0; k < kSubkeys; ++k) {
        CRegistry reg;
        std::string path = "Bench\\Tree\\Axis" + std::to_string(k);
        reg.OpenKey(arn::HKEY_CURRENT_USER, path, true);
        for (int v = 0; v < kValuesPerSubkey; ++v) {
            reg.WriteValue("Param" + std::to_string(v),
                           "C:\\Data\\Axis" + std::to_string(k) + "\\value " + std::to_string(v));
        }
    }
}

std::string SaveTree() {
    CRegistry reg;
    std::string path = "Bench\\Tree";
    reg.OpenKey(arn::HKEY_CURRENT_USER, path);
    return reg.SaveRegistry();
}

void BM_WriteValue(benchmark::State& state, Store store) {
    UseFreshStore(store);
    CRegistry reg;
    std::string path = "Bench\\Write";
    reg.OpenKey(arn::HKEY_CURRENT_USER, path, true);
    std::string names[1000];
    for (int i = 0; i < 1000; ++i) {
        names[i] = "Value" + std::to_string(i);
    }
    int i = 0;
    for (auto _ : state) {
        reg.WriteValue(names[i % 1000], "setting " + std::to_string(i));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SaveRegistry(benchmark::State& state, Store store) {
    UseFreshStore(store);
    FillTree();
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = SaveTree();
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_LoadRegistry(benchmark::State& state, Store store) {
    UseFreshStore(store);
    FillTree();
    const std::string image = SaveTree();
    for (auto _ : state) {
        state.PauseTiming();
        UseFreshStore(store);
        state.ResumeTiming();
        CRegistry().LoadRegistry(image);
    }
    state.SetItemsProcessed(state.iterations() * kSubkeys * kValuesPerSubkey);
}

// Prints the usual table and remembers each benchmark's time per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                const auto n = static_cast<double>(run.iterations);
                m_seconds[run.run_name.function_name] = {run.real_accumulated_time / n,
                                                         run.cpu_accumulated_time / n};
            }
        }
    }

    void PrintSummary() const {
        std::printf(
            "\nSQLite store against the in-memory store, wall-clock time per call "
            "(ratio = sqlite / memory):\n");
        std::printf("%-14s %14s %14s %10s\n", "operation", "memory", "sqlite", "ratio");
        for (const char* op : {"WriteValue", "SaveRegistry", "LoadRegistry"}) {
            const auto memory = m_seconds.find(std::string(op) + "/memory");
            const auto sqlite = m_seconds.find(std::string(op) + "/sqlite");
            if (memory == m_seconds.end() || sqlite == m_seconds.end()) {
                continue;
            }
            std::printf("%-14s %14s %14s %9.1fx\n", op, Text(memory->second.wall).c_str(),
                        Text(sqlite->second.wall).c_str(),
                        sqlite->second.wall / memory->second.wall);
        }
        if (const auto write = m_seconds.find("WriteValue/sqlite"); write != m_seconds.end()) {
            std::printf(
                "\nWriteValue into the SQLite store: %.0f values/s (goal 20000; %.0f/s by "
                "CPU time), each write committed before it returns\n",
                1.0 / write->second.wall, 1.0 / write->second.cpu);
        }
        if (const auto load = m_seconds.find("LoadRegistry/sqlite"); load != m_seconds.end()) {
            std::printf("LoadRegistry into an empty SQLite store: %.0f values/s\n",
                        kSubkeys * kValuesPerSubkey / load->second.wall);
        }
    }

  private:
    struct Times {
        double wall = 0;
        double cpu = 0;
    };

    static std::string Text(double seconds) {
        char text[32];
        if (seconds < 1e-3) {
            std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
        } else {
            std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
        }
        return text;
    }

    std::map<std::string, Times> m_seconds;
};

}  // namespace

int main(int argc, char** argv) {
    for (const Store store : {Store::Memory, Store::Sqlite}) {
        const std::string suffix = std::string("/") + StoreName(store);
        benchmark::RegisterBenchmark(("WriteValue" + suffix).c_str(), BM_WriteValue, store)
            ->MinTime(0.5)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("SaveRegistry" + suffix).c_str(), BM_SaveRegistry, store)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("LoadRegistry" + suffix).c_str(), BM_LoadRegistry, store)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    arn::RegistryUseMemory();
    benchmark::Shutdown();
    return 0;
}
