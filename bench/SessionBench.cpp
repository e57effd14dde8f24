// Google Benchmark timings of the figure session: drawing one segment by two clicks (with its
// undo step) on figures of 100 to 10,000 segments. Drawing should cost the same per segment
// whatever the figure already holds.
#include <benchmark/benchmark.h>

#include "FigureSession.h"
#include "NumberText.h"

namespace {

using namespace murvex::figure;

void Fill(FigureSession& session, int n) {
    std::vector<TileSegment> segments;
    segments.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const long double x = (i * 37) % 300;
        const long double y = (i * 53) % 300;
        segments.push_back({{x, y}, {(x + 17 + i % 40), (y + 5 + i % 30)}});
    }
    session.LoadSegments(300, 300, segments);
}

void BM_SessionDrawSegment(benchmark::State& state) {
    FigureSession session;
    Fill(session, static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const Pixel a{10 + i % 200, 20 + (i * 7) % 250};
        const Pixel b{a.x + 31, a.y + 17};
        session.MouseMove(a);
        session.Click(a);
        session.MouseMove(b);
        benchmark::DoNotOptimize(session.Click(b));
        ++i;
    }
}
BENCHMARK(BM_SessionDrawSegment)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
