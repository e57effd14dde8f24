// Google Benchmark timings of the window's canvas: a full redraw of the figure (a zoom step) on
// the QImage the tab shows, thick and thin pen.
#include <benchmark/benchmark.h>

#include "FigureEditing.h"
#include "FigureSession.h"
#include "QImageCanvas.h"
#include "View.h"

namespace {

using namespace murvex::figure;

void BM_CanvasZoomStep(benchmark::State& state) {
    murvex::app::QImageCanvas canvas;
    FigureSession session(canvas);
    std::vector<TileSegment> segments;
    const int n = static_cast<int>(state.range(0));
    for (int i = 0; i < n; ++i) {
        const long double x = (i * 37) % 300;
        const long double y = (i * 53) % 300;
        segments.push_back({{x, y}, {(x + 17 + i % 40), (y + 5 + i % 30)}});
    }
    session.LoadSegments(300, 300, segments);
    session.Model().thickPen = state.range(1) != 0;
    int i = 0;
    for (auto _ : state) {
        WheelZoom(session.Model(), canvas, {120, 140}, (i++ & 1) ? -120 : 120);
        // The window looks at the picture after each step.
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}
BENCHMARK(BM_CanvasZoomStep)
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
