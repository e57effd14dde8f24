// The preview's redraw: the 340-line Wildverband fitted over a wall of 4 m by 4 m in a picture of
// 800 x 600 pixels, as the segments of the visible box and as painted pixels.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "BondGenerator.h"
#include "PatternFile.h"
#include "PatternGeometry.h"
#include "PatternPainter.h"
#include "PreviewView.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// The preview's own cap on segments per picture.
constexpr std::size_t kMaxSegments = 150000;

struct Scene {
    std::vector<murvex::PatternLine> lines;
    murvex::ViewTransform view;
    murvex::Box visible;
};

Scene WildverbandScene(double rotation) {
    Scene s;
    s.lines = murvex::ParsePatternLines(
        murvex::bonds::GenerateBond({9, 210, 220, 50, 62.5, rotation, "muur"}));
    s.view = murvex::FitView({0, 0, 4000, 4000}, kWidth, kHeight, 0);
    s.visible = s.view.Visible(kWidth, kHeight);
    return s;
}

// Segments and painting together: what one frame of the preview costs.
void BM_PreviewRedrawWildverband4m(benchmark::State& state) {
    const Scene scene = WildverbandScene(static_cast<double>(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::size_t segments = 0;
    for (auto _ : state) {
        const murvex::DrawResult r = murvex::DrawPattern(scene.lines, scene.visible, kMaxSegments);
        image.fill(Qt::white);
        QPainter painter(&image);
        segments = murvex::PaintSegments(painter, r.segments, scene.view, Qt::black);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["segments"] = static_cast<double>(segments);
}
BENCHMARK(BM_PreviewRedrawWildverband4m)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

// The painting alone, for telling the two parts apart.
void BM_PreviewPaintWildverband4m(benchmark::State& state) {
    const Scene scene = WildverbandScene(static_cast<double>(state.range(0)));
    const murvex::DrawResult r = murvex::DrawPattern(scene.lines, scene.visible, kMaxSegments);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        murvex::PaintSegments(painter, r.segments, scene.view, Qt::black);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["segments"] = static_cast<double>(r.segments.size());
}
BENCHMARK(BM_PreviewPaintWildverband4m)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

// A change on the bond tab: the line list built and read again before the redraw.
void BM_PreviewContentWildverband(benchmark::State& state) {
    for (auto _ : state) {
        const auto lines = murvex::ParsePatternLines(
            murvex::bonds::GenerateBond({9, 210, 220, 50, 62.5, 30, "muur"}));
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(BM_PreviewContentWildverband)->Unit(benchmark::kMillisecond);

}  // namespace
