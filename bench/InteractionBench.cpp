// Google Benchmark timings of the drawing interaction: a mouse move while a segment is open (with
// and without every snap), a zoom's redraw and a click in selection mode, on figures of many
// segments.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "FigureEditing.h"
#include "FigureModel.h"
#include "Interaction.h"
#include "NumberText.h"
#include "Snaps.h"
#include "View.h"

namespace {

using namespace murvex::figure;

// A canvas that paints into memory as the window's picture does: one byte per pixel, lines
// stepped pixel by pixel with a square pen, not-xor lines inverting what they cover.
class RasterCanvas final : public Canvas {
  public:
    void SetSize(int width, int height) override {
        width_ = std::max(width, 0);
        height_ = std::max(height, 0);
        pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
    }
    void FillWhite() override {
        std::fill(pixels_.begin(), pixels_.end(), kWhite);
        color_ = kBlack;
    }
    void SetPenColor(PenColor color) override { color_ = color == PenColor::Red ? kRed : kBlack; }
    void SetPenWidth(int width) override { penWidth_ = std::max(width, 1); }
    void MoveTo(Pixel p) override { position_ = p; }
    void LineTo(Pixel p) override {
        Line(position_, p, [this](std::uint8_t& px) { px = color_; });
        position_ = p;
    }
    void NotXorLine(Pixel from, Pixel to) override {
        Line(from, to, [](std::uint8_t& px) { px = static_cast<std::uint8_t>(~px); });
    }
    std::uint8_t At(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * width_ + x];
    }

  private:
    static constexpr std::uint8_t kWhite = 255;
    static constexpr std::uint8_t kBlack = 0;
    static constexpr std::uint8_t kRed = 76;

    template <typename Paint>
    void Line(Pixel a, Pixel b, Paint paint) {
        const int dx = std::abs(b.x - a.x);
        const int dy = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1;
        const int sy = a.y < b.y ? 1 : -1;
        int err = dx + dy;
        const int half = penWidth_ / 2;
        for (;;) {
            for (int y = a.y - half; y <= a.y + half; ++y) {
                for (int x = a.x - half; x <= a.x + half; ++x) {
                    if (x >= 0 && y >= 0 && x < width_ && y < height_)
                        paint(pixels_[static_cast<std::size_t>(y) * width_ + x]);
                }
            }
            if (a == b) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                a.x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                a.y += sy;
            }
        }
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
    std::uint8_t color_ = kBlack;
    int penWidth_ = 1;
    Pixel position_;
};

// A 300 x 300 tile with n - 1 random segments in its left part and, as the last row, a short
// vertical segment at x = 290 that nothing else comes near: a click on it tests every row.
void MakeFigure(FigureModel& model, Canvas& canvas, int n) {
    InitFiguur(model, canvas, 300, 300);
    murvex::TextGrid& grid = model.grid;
    grid.SetRowCount(n + 1);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(0, 250);
    std::uniform_real_distribution<double> y(0, 300);
    for (int r = 1; r < n; ++r) {
        grid.SetCell(kColXStart, r, murvex::Fmt(x(random)));
        grid.SetCell(kColYStart, r, murvex::Fmt(y(random)));
        grid.SetCell(kColXEind, r, murvex::Fmt(x(random)));
        grid.SetCell(kColYEind, r, murvex::Fmt(y(random)));
    }
    grid.SetCell(kColXStart, n, "290");
    grid.SetCell(kColYStart, n, "100");
    grid.SetCell(kColXEind, n, "290");
    grid.SetCell(kColYEind, n, "200");
    RedrawFiguur(model, canvas);
}

template <typename CanvasType>
void BM_MouseMoveWhileDrawing(benchmark::State& state) {
    FigureModel model;
    CanvasType canvas;
    MakeFigure(model, canvas, static_cast<int>(state.range(0)));
    Click(model, canvas, {150, 150});  // opens a segment in a new last row
    int i = 0;
    for (auto _ : state) {
        // Far enough from the start that the lock does not hold.
        Reaction r = MouseMove(model, canvas, {200 + (i & 63), 40 + (i & 31)});
        benchmark::DoNotOptimize(r);
        ++i;
    }
}
BENCHMARK(BM_MouseMoveWhileDrawing<RasterCanvas>)->Arg(1000)->Arg(10000);
BENCHMARK(BM_MouseMoveWhileDrawing<NullCanvas>)->Arg(1000)->Arg(10000);

// Every snap and polar angles on, the mouse moving over the crowded part of the figure, where
// end points, crossings and segments lie within the snap window.
void BM_MouseMoveAllSnaps(benchmark::State& state) {
    FigureModel model;
    NullCanvas canvas;
    MakeFigure(model, canvas, static_cast<int>(state.range(0)));
    SnapSettings& snaps = model.interaction.snaps;
    snaps.grid = snaps.midPoints = snaps.intersections = snaps.nearest = snaps.tile =
        snaps.neighbours = true;
    model.interaction.polarOn = true;
    Click(model, canvas, {150, 150});
    MouseMove(model, canvas, {151, 151});  // indexes the segments once, as the first move does
    int i = 0;
    for (auto _ : state) {
        Reaction r = MouseMove(model, canvas, {20 + (i * 7) % 230, 10 + (i * 13) % 280});
        benchmark::DoNotOptimize(r);
        ++i;
    }
}
BENCHMARK(BM_MouseMoveAllSnaps)->Arg(1000)->Arg(10000);

// The first mouse move after a click indexes the figure's segments again.
void BM_IndexSegments(benchmark::State& state) {
    FigureModel model;
    NullCanvas canvas;
    MakeFigure(model, canvas, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SegmentIndex index(model.grid);
        benchmark::DoNotOptimize(index.Entries().data());
    }
}
BENCHMARK(BM_IndexSegments)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A wheel notch in or out, each a full redraw of the figure.
void BM_ZoomRedraw(benchmark::State& state) {
    FigureModel model;
    RasterCanvas canvas;
    MakeFigure(model, canvas, static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        WheelZoom(model, canvas, {120, 140}, (i++ & 1) ? -120 : 120);
        benchmark::DoNotOptimize(model.view.zoom);
    }
}
BENCHMARK(BM_ZoomRedraw)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_SelectionClick(benchmark::State& state) {
    FigureModel model;
    RasterCanvas canvas;
    const int n = static_cast<int>(state.range(0));
    MakeFigure(model, canvas, n);
    EnterSelectionMode(model, canvas);
    for (auto _ : state) {
        Reaction r = Click(model, canvas, {292, 150});  // 2 px beside the last row's segment
        if (r.selectedRow != n) state.SkipWithError("the last row was not selected");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_SelectionClick)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
