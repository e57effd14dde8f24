// Finding a pattern's rectangular repeat and drawing its tile: a bond, and a figure pattern of
// 1,000 segments.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

#include "BondGenerator.h"
#include "Conversion.h"
#include "PatternFile.h"
#include "PatternRepeat.h"

namespace {

void FindAndDraw(benchmark::State& state, const std::string& text) {
    const std::vector<murvex::PatternLine> lines = murvex::ParsePatternText(text);
    murvex::RepeatBounds bounds;
    bounds.tolerance = murvex::ToleranceOfText(text);
    std::size_t segments = 0;
    for (auto _ : state) {
        const murvex::PatternRepeat r = murvex::FindPatternRepeat(lines, bounds);
        if (r.status != murvex::RepeatStatus::Found) {
            state.SkipWithError(r.reason.c_str());
            return;
        }
        const murvex::TileDrawing t = murvex::DrawTile(lines, r.width, r.height, bounds.tolerance);
        segments = t.segments.size();
        benchmark::DoNotOptimize(t.segments.data());
    }
    state.counters["segments"] = static_cast<double>(segments);
}

void BM_RepeatOfBond(benchmark::State& state) {
    const int bond = static_cast<int>(state.range(0));
    murvex::bonds::BondInput in{bond, 210, 220, 50, 62.5, 0, "muur"};
    // Kruisverband with headers of 90: its courses then repeat every 100, 220 and 1200.
    if (bond == 2) in.width = 90;
    FindAndDraw(state, murvex::JoinCrLf(murvex::bonds::GenerateBond(in)));
}
BENCHMARK(BM_RepeatOfBond)->Arg(2)->Arg(9)->Unit(benchmark::kMillisecond);

// 1,000 segments between points of a 10-unit grid in a 400 x 300 tile, "Op maat" within 0.1.
void BM_RepeatOfFigure1000(benchmark::State& state) {
    std::mt19937 rng(1000);
    std::uniform_int_distribution<int> x(0, 40), y(0, 30);
    const murvex::figure::TileSize tile{400, 300};
    std::string text = "*F\n";
    while (std::count(text.begin(), text.end(), '\n') <= 1000) {
        const auto line =
            murvex::figure::ConvertSegment(tile, 10 * x(rng), 10 * y(rng), 10 * x(rng), 10 * y(rng),
                                           {murvex::figure::Accuracy::OpMaat, 0.1L});
        if (line) text += line->text + "\n";
    }
    FindAndDraw(state, text);
}
BENCHMARK(BM_RepeatOfFigure1000)->Unit(benchmark::kMillisecond);

// The most families of one kind that are combined (each at its own origin, together lines one
// unit apart): their origins are matched in pairs.
void BM_RepeatOfOneKind(benchmark::State& state) {
    std::string text = "*K\n";
    for (int i = 0; i < 500; ++i)
        text += "0, " + std::to_string(i % 2) + "," + std::to_string(i) + ", 0,500, 1,-1\n";
    FindAndDraw(state, text);
}
BENCHMARK(BM_RepeatOfOneKind)->Unit(benchmark::kMillisecond);

}  // namespace
