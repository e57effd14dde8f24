// Importing a DXF drawing of 50,000 entities (lines, polylines with bulges, arcs, circles and
// block inserts, partly across the tile's border): reading, dxflib, fitting and the grid.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "Canvas.h"
#include "DxfImport.h"
#include "FigureModel.h"
#include "NumberText.h"

namespace {

std::string Group(int code, const std::string& value) {
    return std::to_string(code) + "\n" + value + "\n";
}

std::string Drawing50000() {
    std::mt19937_64 rng(50000);
    std::uniform_real_distribution<double> at(-50, 1050);
    std::uniform_real_distribution<double> small(1, 20);
    const auto n = [](double v) { return murvex::Fmt(v); };
    std::string blocks = Group(0, "SECTION") + Group(2, "BLOCKS") + Group(0, "BLOCK") +
                         Group(2, "STEEN") + Group(10, "0") + Group(20, "0") + Group(0, "LINE") +
                         Group(10, "0") + Group(20, "0") + Group(11, "20") + Group(21, "0") +
                         Group(0, "ENDBLK") + Group(0, "ENDSEC");
    std::string entities = Group(0, "SECTION") + Group(2, "ENTITIES") + Group(0, "LWPOLYLINE") +
                           Group(8, "TEGEL") + Group(90, "4") + Group(70, "1");
    for (const auto& [x, y] : {std::pair{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}})
        entities += Group(10, std::to_string(x)) + Group(20, std::to_string(y));
    for (int i = 1; i < 50000; ++i) {
        const double x = at(rng), y = at(rng), d = small(rng);
        switch (i % 10) {
            case 0:
                entities += Group(0, "ARC") + Group(8, "F") + Group(10, n(x)) + Group(20, n(y)) +
                            Group(40, n(d)) + Group(50, "10") + Group(51, "100");
                break;
            case 1:
                entities += Group(0, "CIRCLE") + Group(8, "F") + Group(10, n(x)) + Group(20, n(y)) +
                            Group(40, n(d / 4));
                break;
            case 2:
                entities += Group(0, "LWPOLYLINE") + Group(8, "F") + Group(90, "3") +
                            Group(70, "0") + Group(10, n(x)) + Group(20, n(y)) + Group(42, "0.2") +
                            Group(10, n(x + d)) + Group(20, n(y)) + Group(10, n(x + d)) +
                            Group(20, n(y + d));
                break;
            case 3:
                entities += Group(0, "INSERT") + Group(8, "F") + Group(2, "STEEN") +
                            Group(10, n(x)) + Group(20, n(y)) + Group(50, "30");
                break;
            default:
                entities += Group(0, "LINE") + Group(8, "F") + Group(10, n(x)) + Group(20, n(y)) +
                            Group(11, n(x + d)) + Group(21, n(y - d));
        }
    }
    entities += Group(0, "ENDSEC") + Group(0, "EOF");
    return blocks + entities;
}

void BM_ImportDxf50000Entities(benchmark::State& state) {
    const std::string text = Drawing50000();
    std::size_t segments = 0;
    for (auto _ : state) {
        const murvex::dxf::DrawingResult read = murvex::dxf::ReadDrawing(text);
        const murvex::dxf::ImportResult result = murvex::dxf::ImportTile(*read.drawing, {});
        murvex::figure::FigureModel model;
        murvex::figure::NullCanvas canvas;
        murvex::dxf::FillFigure(model, canvas, *result.figure);
        segments = result.figure->segments.size();
        benchmark::DoNotOptimize(model.grid.RowCount());
    }
    state.counters["segments"] = static_cast<double>(segments);
}
BENCHMARK(BM_ImportDxf50000Entities)->Unit(benchmark::kMillisecond);

}  // namespace
