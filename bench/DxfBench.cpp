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

std::string Drawing50000() {
    std::mt19937_64 rng(50000);
    std::uniform_real_distribution<double> at(-50, 1050), small(1, 20);
    std::string text =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nSTEEN\n0\nLINE\n10\n0\n20\n0\n11\n20\n"
        "21\n0\n0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n"
        "TEGEL\n70\n1\n10\n0\n20\n0\n10\n1000\n20\n0\n10\n1000\n20\n1000\n10\n0\n20\n"
        "1000\n";
    const auto g = [&](int code, double v) {
        text += std::to_string(code) + "\n" + murvex::Fmt(v) + "\n";
    };
    for (int i = 1; i < 50000; ++i) {
        const double x = at(rng), y = at(rng), d = small(rng);
        const char* kinds[] = {"ARC", "CIRCLE", "LWPOLYLINE", "INSERT\n2\nSTEEN"};
        text += std::string("0\n") + (i % 10 < 4 ? kinds[i % 10] : "LINE") + "\n8\nF\n";
        g(10, x);
        g(20, y);
        switch (i % 10) {
            case 0:
                g(40, d), g(50, 10), g(51, 100);
                break;
            case 1:
                g(40, d / 4);
                break;
            case 2:
                g(42, 0.2), g(10, x + d), g(20, y), g(10, x + d), g(20, y + d);
                break;
            case 3:
                g(50, 30);
                break;
            default:
                g(11, x + d), g(21, y - d);
        }
    }
    return text + "0\nENDSEC\n0\nEOF\n";
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
