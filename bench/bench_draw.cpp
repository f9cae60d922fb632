// The bound panel's look: building its display list from the control tree and replaying it.
// Replaying into a canvas that draws nothing is the anchor measured in the same run, so the
// ratio survives a busy machine; where Qt is built, the same list is also replayed into a
// QPainter on an image at the host's zoom. Goal: the whole panel in under 1 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/BenchDefaults.h"
#include "bench/BoundPanel.h"
#include "draw/Canvas.h"
#include "draw/DisplayList.h"
#include "draw/TextMetrics.h"
#include "panel/ArnAbsPosnCtl.h"
#include "toolkit/SurfacePainter.h"

#ifdef ARN_BENCH_QT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/qt/QtCanvas.h"
#endif

namespace {

using namespace arn;

// Takes every primitive and draws nothing; the text metrics are fixed.
class NullCanvas : public Canvas, public TextMetrics {
  public:
    void Draw(const FillRectOp&) override { ++m_count; }
    void Draw(const StrokeRectOp&) override { ++m_count; }
    void Draw(const LineOp&) override { ++m_count; }
    void Draw(const PolylineOp&) override { ++m_count; }
    void Draw(const PolygonOp&) override { ++m_count; }
    void Draw(const EllipseOp&) override { ++m_count; }
    void Draw(const RoundedRectOp&) override { ++m_count; }
    void Draw(const TextOp&) override { ++m_count; }
    void Draw(const PictureOp&) override { ++m_count; }
    void Draw(const PushClipOp&) override { ++m_count; }
    void Draw(const PopClipOp&) override { ++m_count; }
    void Draw(const FocusRectOp&) override { ++m_count; }
    int32_t TextWidth(const Font& font, std::string_view text) const override {
        return static_cast<int32_t>(font.points * 10 * static_cast<double>(text.size()));
    }
    int32_t TextHeight(const Font& font) const override {
        return static_cast<int32_t>(font.points * 24);
    }
    int32_t PixelTwips() const override { return TwipsPerPixelAt96Dpi; }

    int64_t Count() const { return m_count; }

  private:
    int64_t m_count = 0;
};

// The bound panel laid out at its design size, as the Qt host shows it at zoom 1.
struct DesignSizePanel : bench::BoundPanel {
    DesignSizePanel() { panel->Resize(PanelControls::DesignWidth, PanelControls::DesignHeight); }
};

void BM_BuildList(benchmark::State& state) {
    DesignSizePanel p;
    NullCanvas metrics;
    DisplayList list;
    for (auto _ : state) {
        list.Clear();
        SurfacePainter(*p.panel, metrics).Paint(list, nullptr, nullptr);
        benchmark::DoNotOptimize(list.Size());
    }
    state.counters["primitives"] = static_cast<double>(list.Size());
}
BENCHMARK(BM_BuildList);

void BM_BuildAndReplayNull(benchmark::State& state) {
    DesignSizePanel p;
    NullCanvas canvas;
    DisplayList list;
    for (auto _ : state) {
        list.Clear();
        SurfacePainter(*p.panel, canvas).Paint(list, nullptr, nullptr);
        list.Replay(canvas);
    }
    benchmark::DoNotOptimize(canvas.Count());
}
BENCHMARK(BM_BuildAndReplayNull);

// The anchor: the same list replayed into a canvas that draws nothing.
void BM_ReplayNull(benchmark::State& state) {
    DesignSizePanel p;
    NullCanvas canvas;
    DisplayList list;
    SurfacePainter(*p.panel, canvas).Paint(list, nullptr, nullptr);
    for (auto _ : state) {
        list.Replay(canvas);
    }
    benchmark::DoNotOptimize(canvas.Count());
}
BENCHMARK(BM_ReplayNull);

#ifdef ARN_BENCH_QT
// The host's zoom when it fits the panel to its window.
constexpr double HostZoom = 1.25;

void BM_BuildAndReplayQt(benchmark::State& state) {
    DesignSizePanel p;
    QImage image(static_cast<int>(PanelControls::DesignWidth * HostZoom / TwipsPerPixelAt96Dpi),
                 static_cast<int>(PanelControls::DesignHeight * HostZoom / TwipsPerPixelAt96Dpi),
                 QImage::Format_ARGB32_Premultiplied);
    DisplayList list;
    for (auto _ : state) {
        QPainter painter(&image);
        QtCanvas canvas(&painter, HostZoom);
        list.Clear();
        SurfacePainter(*p.panel, canvas).Paint(list, nullptr, nullptr);
        list.Replay(canvas);
    }
}
BENCHMARK(BM_BuildAndReplayQt)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef ARN_BENCH_QT
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#endif
    arn::bench::InitializeWithDefaults(argc, argv);
    arn::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::map<std::string, double> t;
    for (const auto& [name, times] : reporter.times) {
        t[name] = times.cpu;
    }
    const auto ratio = [&](const char* what, const char* anchor) {
        if (t.count(what) && t.count(anchor)) {
            std::printf("%s / %s: %.0f / %.0f ns = ratio %.1f\n", what, anchor, t.at(what),
                        t.at(anchor), t.at(what) / t.at(anchor));
        }
    };
    ratio("BM_BuildAndReplayNull", "BM_ReplayNull");
    ratio("BM_BuildAndReplayQt", "BM_ReplayNull");
    for (const char* name : {"BM_BuildList", "BM_BuildAndReplayNull", "BM_BuildAndReplayQt"}) {
        if (t.count(name)) {
            std::printf("%s: %.1f us (goal < 1000 us)\n", name, t.at(name) / 1e3);
        }
    }
    benchmark::Shutdown();
    return 0;
}
