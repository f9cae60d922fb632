// The panel's hot path on the simulated drive: an idle tick, a served tick, one change event,
// bind, release, UpdateFocus (through Enabled) and 1/8/64 panels on one net. Each is printed
// as a ratio against an anchor measured in the same run, so the figures survive a busy
// machine: the bare value-library reads, writes and handler calls an idle tick must make, and
// direct writes to every control for UpdateFocus. Allocations per iteration are counters.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bench/BenchDefaults.h"
#include "bench/BoundPanel.h"
#include "host/values/Value.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"

namespace {

std::atomic<int64_t> g_allocations{0};

}  // namespace

// GCC pairs the inlined malloc of the replacement new with the frees below and warns of a
// mismatch that replacing both sides makes right.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace arn;

using bench::BoundPanel;

void CountAllocations(benchmark::State& state, int64_t before) {
    state.counters["allocs/iter"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) /
                           static_cast<double>(state.iterations()));
}

void BM_IdleTick(benchmark::State& state) {
    BoundPanel p;
    const int64_t before = g_allocations.load();
    for (auto _ : state) {
        p.net->Tick();
    }
    CountAllocations(state, before);
}
BENCHMARK(BM_IdleTick);

// What an idle tick cannot avoid: 8 field reads and 8 unchanged writes through the value
// library, and 2 handler calls.
void BM_IdleTickAnchor(benchmark::State& state) {
    auto value = Value::Create();
    for (int i = 0; i < 8; ++i) {
        value->DefineField("F" + std::to_string(i), i, 1, "");
    }
    std::vector<std::shared_ptr<Field>> fields;
    for (int i = 0; i < 8; ++i) {
        fields.push_back(value->Field("F" + std::to_string(i)));
    }
    int calls = 0;
    std::function<void()> handlers[2] = {[&] { ++calls; }, [&] { ++calls; }};
    for (auto _ : state) {
        int32_t sum = 0;
        for (const auto& f : fields) {
            sum += f->get_Value();
        }
        for (const auto& f : fields) {
            f->put_Value(0);
        }
        handlers[0]();
        handlers[1]();
        benchmark::DoNotOptimize(sum);
    }
    benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_IdleTickAnchor);

// A position changes on the drive (one change event to the panel), then the tick serves it.
void BM_ServedTick(benchmark::State& state) {
    BoundPanel p;
    auto position = p.node->Param(248);
    double v = 1000;
    for (auto _ : state) {
        v = v == 1000 ? 1001 : 1000;
        position->Receive(v);
        p.net->Tick();
    }
}
BENCHMARK(BM_ServedTick);

void BM_ChangeEvent(benchmark::State& state) {
    BoundPanel p;
    auto position = p.node->Param(248);
    double v = 1000;
    const int64_t before = g_allocations.load();
    for (auto _ : state) {
        v = v == 1000 ? 1001 : 1000;
        position->Receive(v);
    }
    CountAllocations(state, before);
}
BENCHMARK(BM_ChangeEvent);

void BM_Bind(benchmark::State& state) {
    auto net = SimNet::Create();
    auto node = net->CreateNode();
    auto panel = ArnAbsPosnCtl::Create();
    for (auto _ : state) {
        panel->get_UIref()->AttachControl(net, node, nullptr, "", "");
        net->Tick();
        state.PauseTiming();
        panel->get_UIref()->ReleaseControl();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Bind);

void BM_Release(benchmark::State& state) {
    auto net = SimNet::Create();
    auto node = net->CreateNode();
    auto panel = ArnAbsPosnCtl::Create();
    for (auto _ : state) {
        state.PauseTiming();
        panel->get_UIref()->AttachControl(net, node, nullptr, "", "");
        net->Tick();
        state.ResumeTiming();
        panel->get_UIref()->ReleaseControl();
    }
}
BENCHMARK(BM_Release);

// Enabled runs UpdateFocus over the whole control tree.
void BM_UpdateFocus(benchmark::State& state) {
    BoundPanel p;
    bool on = false;
    for (auto _ : state) {
        on = !on;
        p.panel->put_Enabled(on);
    }
}
BENCHMARK(BM_UpdateFocus);

void BM_UpdateFocusAnchor(benchmark::State& state) {
    BoundPanel p;
    const auto controls = p.panel->Controls();
    bool on = false;
    for (auto _ : state) {
        on = !on;
        for (const auto& ctl : controls) {
            ctl->put_Enabled(on);
        }
    }
}
BENCHMARK(BM_UpdateFocusAnchor);

void BM_PanelsOnOneNet(benchmark::State& state) {
    auto net = SimNet::Create();
    std::vector<std::shared_ptr<ArnAbsPosnCtl>> panels;
    for (int64_t i = 0; i < state.range(0); ++i) {
        auto panel = ArnAbsPosnCtl::Create();
        panel->get_UIref()->AttachControl(net, net->CreateNode(), nullptr, "", "");
        panel->put_Enabled(true);
        panels.push_back(panel);
    }
    net->Tick();
    net->Tick();
    for (auto _ : state) {
        net->Tick();
    }
    state.counters["panels"] = static_cast<double>(state.range(0));
    for (const auto& panel : panels) {
        panel->get_UIref()->ReleaseControl();
    }
}
BENCHMARK(BM_PanelsOnOneNet)->Arg(1)->Arg(8)->Arg(64);

}  // namespace

int main(int argc, char** argv) {
    arn::bench::InitializeWithDefaults(argc, argv);
    arn::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::map<std::string, double> t;
    for (const auto& [name, times] : reporter.times) {
        t[name] = times.cpu;
    }
    const auto ratio = [&](const char* what, const char* anchor, double goal) {
        if (t.count(what) && t.count(anchor)) {
            std::printf("%s / %s: %.0f / %.0f ns = ratio %.1f (goal < %.0f)\n", what, anchor,
                        t.at(what), t.at(anchor), t.at(what) / t.at(anchor), goal);
        }
    };
    ratio("BM_IdleTick", "BM_IdleTickAnchor", 3);
    ratio("BM_UpdateFocus", "BM_UpdateFocusAnchor", 2);
    for (const char* name : {"BM_ServedTick", "BM_ChangeEvent", "BM_Bind", "BM_Release"}) {
        if (t.count(name)) {
            std::printf("%s: %.0f ns\n", name, t.at(name));
        }
    }
    for (const auto& [name, value] : reporter.counters) {
        if (name.ends_with("allocs/iter")) {
            std::printf("%s: %.2f (goal 0)\n", name.c_str(), value);
        }
    }
    if (t.count("BM_PanelsOnOneNet/1") && t.count("BM_PanelsOnOneNet/64")) {
        std::printf("64 panels / 1 panel per tick: ratio %.1f (linear: 64)\n",
                    t.at("BM_PanelsOnOneNet/64") / t.at("BM_PanelsOnOneNet/1"));
    }
    benchmark::Shutdown();
    return 0;
}
