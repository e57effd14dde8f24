// Drawing pattern lines into a box: the 340-line Wildverband over a wall of 4 m by 4 m.
#include <benchmark/benchmark.h>

#include "BondGenerator.h"
#include "PatternFile.h"
#include "PatternGeometry.h"

namespace {

void DrawBond(benchmark::State& state, int bond) {
    const double rotation = static_cast<double>(state.range(0));
    // The lines as a reader gets them from the written file.
    const std::vector<murvex::PatternLine> lines = murvex::ParsePatternLines(
        murvex::bonds::GenerateBond({bond, 210, 220, 50, 62.5, rotation, "muur"}));
    const murvex::Box box{0, 0, 4000, 4000};
    std::size_t segments = 0;
    for (auto _ : state) {
        const murvex::DrawResult r = murvex::DrawPattern(lines, box);
        segments = r.segments.size();
        benchmark::DoNotOptimize(r.segments.data());
    }
    state.counters["segments"] = static_cast<double>(segments);
}

void BM_DrawWildverband4m(benchmark::State& state) {
    DrawBond(state, 9);
}
BENCHMARK(BM_DrawWildverband4m)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_DrawKruisverband4m(benchmark::State& state) {
    DrawBond(state, 2);
}
BENCHMARK(BM_DrawKruisverband4m)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

}  // namespace
