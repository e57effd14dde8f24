// Google Benchmark timings of the figure session: drawing one segment by two clicks (with its
// undo step) on figures of 100 to 10,000 segments. Drawing should cost the same per segment
// whatever the figure already holds.
#include <benchmark/benchmark.h>

#include "FigureSession.h"
#include "NumberText.h"
#include "SessionFigures.h"

namespace {

using namespace murvex::figure;

void BM_SessionDrawSegment(benchmark::State& state) {
    FigureSession session;
    murvex::bench::FillSession(session, static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(murvex::bench::DrawSegment(session, i));
        ++i;
    }
}
BENCHMARK(BM_SessionDrawSegment)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
