// Converting figure segments into pattern lines: 10,000 random segments per accuracy level ("Op
// maat" at 0.1 and 0.5), and a figure of 500 segments through the whole "Maak hatch" line list.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Conversion.h"
#include "NumberText.h"
#include "TextGrid.h"

namespace {

using murvex::figure::Accuracy;
using murvex::figure::ConversionSettings;

// Items 0 to 2: the searched levels; 3 and 4: "Op maat" within 0.1 and within 0.5.
ConversionSettings Settings(long long item) {
    return {murvex::figure::AccuracyFromIndex(static_cast<int>(std::min(item, 3LL))),
            item == 4 ? 0.5L : 0.1L};
}

std::string Label(const benchmark::State& state) {
    return std::string(murvex::figure::AccuracyText(Settings(state.range(0)).accuracy)) +
           (state.range(0) == 4 ? " 0.5" : "");
}

struct Row {
    murvex::figure::TileSize tile;
    std::string cells[4];
};

// Segments anywhere in tiles of 10 to 1000 units a side, as the editor writes their cells.
std::vector<Row> RandomRows(int count, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_int_distribution<int> side(10, 1000);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<Row> rows(static_cast<std::size_t>(count));
    for (Row& r : rows) {
        r.tile = {side(rng), side(rng)};
        const double w = r.tile.width;
        const double h = r.tile.height;
        const double v[4] = {unit(rng) * w, unit(rng) * h, unit(rng) * w, unit(rng) * h};
        for (int i = 0; i < 4; ++i)
            r.cells[i] = murvex::Fmt(v[i]);
    }
    return rows;
}

void BM_Convert10000Segments(benchmark::State& state) {
    const ConversionSettings accuracy = Settings(state.range(0));
    const std::vector<Row> rows = RandomRows(10000, 7);
    int failed = 0;
    for (auto _ : state) {
        failed = 0;
        for (const Row& r : rows) {
            const auto line = murvex::figure::ConvertFiguurLijn(
                r.tile, {r.cells[0], r.cells[1], r.cells[2], r.cells[3]}, accuracy);
            failed += line ? 0 : 1;
            benchmark::DoNotOptimize(line);
        }
    }
    state.SetLabel(Label(state));
    state.counters["failed"] = failed;
}
BENCHMARK(BM_Convert10000Segments)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_MaakHatch500Segments(benchmark::State& state) {
    const ConversionSettings accuracy = Settings(state.range(0));
    const murvex::figure::TileSize tile{100, 100};
    std::vector<Row> rows = RandomRows(500, 11);
    murvex::TextGrid grid(5, 501);
    for (int r = 1; r <= 500; ++r) {
        for (int c = 1; c <= 4; ++c) {
            const double v = murvex::ParseDecimal(rows[r - 1].cells[c - 1]).value;
            grid.SetCell(
                c, r,
                murvex::Fmt(v / (c % 2 ? rows[r - 1].tile.width : rows[r - 1].tile.height) * 100));
        }
    }
    for (auto _ : state) {
        const auto hatch = murvex::figure::FigureHatchLines(tile, grid, {}, accuracy);
        benchmark::DoNotOptimize(hatch.lines.data());
    }
    state.SetLabel(Label(state));
}
BENCHMARK(BM_MaakHatch500Segments)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
