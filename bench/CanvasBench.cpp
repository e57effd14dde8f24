// Google Benchmark timings of the window's canvas: a full redraw of the figure (a zoom step) on
// the QImage the tab shows, thick and thin pen; and a segment drawn with the grid's view following
// it, as the tab shows the grid after each click.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include "FigureEditing.h"
#include "FigureSession.h"
#include "QImageCanvas.h"
#include "SessionFigures.h"
#include "TextGridModel.h"
#include "View.h"

namespace {

using namespace murvex::figure;

void BM_CanvasZoomStep(benchmark::State& state) {
    murvex::app::QImageCanvas canvas;
    FigureSession session(canvas);
    murvex::bench::FillSession(session, static_cast<int>(state.range(0)));
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
    murvex::bench::FillSession(session, static_cast<int>(state.range(0)));
    QTableView view;
    murvex::app::TextGridModel model(&session.Model().grid);
    murvex::app::ShowTextGrid(&view, &model, 50);
    view.resize(309, 370);
    view.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        murvex::bench::DrawSegment(session, i);
        murvex::app::RefreshGridView(&view, &model);
        QApplication::processEvents();
        benchmark::DoNotOptimize(canvas.Image().constBits());
        ++i;
    }
}
BENCHMARK(BM_GridViewDrawSegment)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
