// Importing a DXF drawing of 50,000 entities (lines, polylines with bulges, arcs, circles and
// block inserts, partly across the tile's border): reading, dxflib, fitting and the grid.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

#include "Canvas.h"
#include "DxfImport.h"
#include "FigureEditing.h"
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
        murvex::figure::FillTile(model, canvas, result.figure->width, result.figure->height,
                                 result.figure->segments);
        segments = result.figure->segments.size();
        benchmark::DoNotOptimize(model.grid.RowCount());
    }
    state.counters["segments"] = static_cast<double>(segments);
}
BENCHMARK(BM_ImportDxf50000Entities)->Unit(benchmark::kMillisecond);

}  // namespace

// Drawings under 1 MB that once took seconds: each is read (and fitted where it reads) in one
// pass over its records, its layers and its points.
namespace hostile {

std::string Sections(const std::string& tables, const std::string& entities) {
    return "0\nSECTION\n2\nTABLES\n" + tables + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
           "0\nENDSEC\n0\nEOF\n";
}

std::string NamelessSection() {
    std::string text = "0\nSECTION\n";
    for (int i = 0; i < 250000; ++i)
        text += "9\n$X\n";
    return text + "0\nENDSEC\n0\nEOF\n";
}

std::string Layers(int layers, const std::string& entities) {
    std::string tables;
    for (int i = 0; i < layers; ++i)
        tables += "0\nLAYER\n2\nL" + std::to_string(i) + "\n";
    return Sections(tables, entities);
}

std::string LayersWithArray() {
    std::string entities = "0\nINSERT\n2\nB\n70\n100\n71\n1000\n44\n3\n45\n3\n";
    return "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n2\n"
           "0\nENDBLK\n0\nENDSEC\n" +
           Layers(20000, entities);
}

std::string Spline(int points, bool fit) {
    std::string text = "0\nSPLINE\n71\n3\n";
    if (!fit)
        for (int i = 0; i < points + 4; ++i)
            text += "40\n" + std::to_string(std::clamp(i - 3, 0, points - 3)) + "\n";
    for (int i = 0; i < points; ++i)
        text += std::string(fit ? "11" : "10") + "\n" + std::to_string(i) + "\n" +
                (fit ? "21" : "20") + "\n" + std::to_string(i % 7) + "\n";
    return Sections("", text);
}

std::string ManySplines() {
    std::string entities;
    for (int s = 0; s < 2500; ++s) {
        entities += "0\nSPLINE\n71\n3\n40\n0\n40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n40\n1\n";
        for (int i = 0; i < 4; ++i)
            entities += "10\n" + std::to_string(s % 50 + i) + "\n20\n" +
                        std::to_string(s / 50 + (i % 2) * 3) + "\n";
    }
    return Sections("", entities);
}

void Read(benchmark::State& state, const std::string& text) {
    state.counters["bytes"] = static_cast<double>(text.size());
    for (auto _ : state) {
        const murvex::dxf::DrawingResult read = murvex::dxf::ReadDrawing(text);
        if (read.drawing) {
            murvex::dxf::ImportOptions options;
            options.chordTolerance = 0.01;
            benchmark::DoNotOptimize(murvex::dxf::ImportTile(*read.drawing, options));
        }
    }
}

void BM_DxfNamelessSection(benchmark::State& s) {
    Read(s, NamelessSection());
}
void BM_Dxf45000Layers(benchmark::State& s) {
    Read(s, Layers(45000, "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n"));
}
void BM_Dxf20000LayersArray(benchmark::State& s) {
    Read(s, LayersWithArray());
}
void BM_DxfSpline30000Points(benchmark::State& s) {
    Read(s, Spline(30000, false));
}
void BM_DxfSpline60000FitPoints(benchmark::State& s) {
    Read(s, Spline(60000, true));
}
void BM_Dxf2500SplineExtents(benchmark::State& s) {
    Read(s, ManySplines());
}
BENCHMARK(BM_DxfNamelessSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dxf45000Layers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dxf20000LayersArray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfSpline30000Points)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfSpline60000FitPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dxf2500SplineExtents)->Unit(benchmark::kMillisecond);

}  // namespace hostile
