// Google Benchmark timings of the window's canvas: a full redraw of the figure (a zoom step) on
// the QImage the tab shows, thick and thin pen; and a segment drawn with the grid's view following
// it, as the tab shows the grid after each click.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include "FigureEditing.h"
#include "FigureSession.h"
#include "QImageCanvas.h"
#include "TextGridModel.h"
#include "View.h"

namespace {

using namespace murvex::figure;

void Fill(FigureSession& session, int n) {
    std::vector<TileSegment> segments;
    for (int i = 0; i < n; ++i) {
        const long double x = (i * 37) % 300;
        const long double y = (i * 53) % 300;
        segments.push_back({{x, y}, {(x + 17 + i % 40), (y + 5 + i % 30)}});
    }
    session.LoadSegments(300, 300, segments);
}

void BM_CanvasZoomStep(benchmark::State& state) {
    murvex::app::QImageCanvas canvas;
    FigureSession session(canvas);
    Fill(session, static_cast<int>(state.range(0)));
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

void BM_GridViewDrawSegment(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "murvex_bench";
    static char* argv[] = {name, nullptr};
    if (!qApp) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
    murvex::app::QImageCanvas canvas;
    FigureSession session(canvas);
    Fill(session, static_cast<int>(state.range(0)));
    QTableView view;
    murvex::app::TextGridModel model(&session.Model().grid);
    murvex::app::ShowTextGrid(&view, &model, 50);
    view.resize(309, 370);
    view.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        const Pixel a{10 + i % 200, 20 + (i * 7) % 250};
        const Pixel b{a.x + 31, a.y + 17};
        session.MouseMove(a);
        session.Click(a);
        session.MouseMove(b);
        session.Click(b);
        murvex::app::RefreshGridView(&view, &model);
        QApplication::processEvents();
        benchmark::DoNotOptimize(canvas.Image().constBits());
        ++i;
    }
}
BENCHMARK(BM_GridViewDrawSegment)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
