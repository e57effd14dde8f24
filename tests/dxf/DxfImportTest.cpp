// The DXF import: each entity kind, the tile rules, fitting to a repeating tile, the report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "DxfImport.h"
#include "DxfText.h"

namespace murvex::dxf {
namespace {

using dxftest::DxfFile;
using dxftest::Line;
using dxftest::Num;
using dxftest::Polyline;
using dxftest::Record;
using dxftest::TileOption;
using figure::TileSegment;

std::optional<TileFigure> Import(const std::string& text, const ImportOptions& options = {}) {
    const DrawingResult read = ReadDrawing(text);
    if (!read.drawing) {
        ADD_FAILURE() << read.error;
        return std::nullopt;
    }
    ImportResult result = ImportTile(*read.drawing, options);
    if (!result.figure) ADD_FAILURE() << result.error;
    return result.figure;
}

// Segments as (x0 y0 x1 y1) with the lower end first, sorted: independent of the order kept.
using Quad = std::array<double, 4>;
std::vector<Quad> Normalized(const std::vector<TileSegment>& segments) {
    std::vector<Quad> out;
    for (const TileSegment& s : segments) {
        Quad q{double(s.start.x), double(s.start.y), double(s.end.x), double(s.end.y)};
        if (std::tie(q[2], q[3]) < std::tie(q[0], q[1])) q = {q[2], q[3], q[0], q[1]};
        out.push_back(q);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void ExpectSegments(const std::vector<TileSegment>& got, std::vector<Quad> want) {
    std::sort(want.begin(), want.end());
    const std::vector<Quad> have = Normalized(got);
    ASSERT_EQ(have.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(have[i][k], want[i][k], 1e-9) << "segment " << i;
}

// Entities whose segments are known exactly (tile 0 0 10 10).
struct ExactRow {
    const char* name;
    std::string entities;
    std::string blocks;
    std::vector<Quad> want;
};

TEST(DxfImport, StraightEntitiesAndInserts) {
    const std::string blockA =
        Record("BLOCK", {{2, "A"}, {10, "0"}, {20, "0"}}) + Line(0, 0, 1, 0) + Record("ENDBLK", {});
    const std::string blockB = Record("BLOCK", {{2, "B"}, {10, "1"}, {20, "1"}}) +
                               Record("INSERT", {{2, "a"}, {10, "1"}, {20, "1"}}) +
                               Record("ENDBLK", {});
    const std::vector<ExactRow> rows = {
        {"line", Line(1, 2, 3, 4), "", {{1, 2, 3, 4}}},
        {"open lwpolyline",
         Polyline({{{1, 1, 0}, {4, 1, 0}, {4, 5, 0}}}, false),
         "",
         {{1, 1, 4, 1}, {4, 1, 4, 5}}},
        {"old polyline with vertices",
         Record("POLYLINE", {{66, "1"}, {70, "1"}}) + Record("VERTEX", {{10, "1"}, {20, "1"}}) +
             Record("VERTEX", {{10, "5"}, {20, "1"}}) + Record("VERTEX", {{10, "1"}, {20, "6"}}) +
             Record("SEQEND", {}),
         "",
         {{1, 1, 5, 1}, {1, 6, 5, 1}, {1, 1, 1, 6}}},
        {"lwpolyline after one without its count keeps its own vertices",
         Polyline({{{1, 1, 0}, {2, 1, 0}}}, false) +
             Record("LWPOLYLINE", {{70, "0"}, {10, "3"}, {20, "3"}, {10, "3"}, {20, "7"}}),
         "",
         {{1, 1, 2, 1}, {3, 3, 3, 7}}},
        {"insert rotated, scaled, two rows",
         Record("INSERT", {{2, "A"},
                           {10, "2"},
                           {20, "3"},
                           {41, "2"},
                           {42, "2"},
                           {50, "90"},
                           {71, "2"},
                           {45, "1"}}),
         blockA,
         {{2, 3, 2, 5}, {1, 3, 1, 5}}},
        {"nested insert with base points",
         Record("INSERT", {{2, "B"}, {10, "5"}, {20, "5"}}),
         blockA + blockB,
         {{5, 5, 6, 5}}},
        {"spline of degree 1",
         Record("SPLINE", {{71, "1"},
                           {72, "4"},
                           {73, "2"},
                           {40, "0"},
                           {40, "0"},
                           {40, "1"},
                           {40, "1"},
                           {10, "1"},
                           {20, "2"},
                           {10, "6"},
                           {20, "2"}}),
         "",
         {{1, 2, 6, 2}}},
        {"spline through fit points on a line",
         Record("SPLINE", {{71, "3"},
                           {74, "3"},
                           {11, "1"},
                           {21, "1"},
                           {11, "3"},
                           {21, "3"},
                           {11, "9"},
                           {21, "9"}}),
         "",
         {{1, 1, 9, 9}}},
    };
    for (const ExactRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto figure = Import(DxfFile(row.entities, row.blocks), TileOption(0, 0, 10, 10));
        if (figure) ExpectSegments(figure->segments, row.want);
    }
}

// Curves: every chord's ends on the curve and its middle within the chord tolerance of it.
struct CurveRow {
    const char* name;
    std::string entities;
    std::function<Point(double)> exact;  // the curve over 0..1
};

double DistanceToCurve(const std::function<Point(double)>& f, long double x, long double y) {
    double best = HUGE_VAL;
    for (int i = 0; i <= 20000; ++i) {
        const Point p = f(i / 20000.0);
        best = std::min(best, std::hypot(p.x - double(x), p.y - double(y)));
    }
    return best;
}

TEST(DxfImport, CurvesBecomeChordsWithinTheTolerance) {
    constexpr double pi = std::numbers::pi;
    const auto circle = [](double cx, double cy, double r, double a0, double a1) {
        return [=](double t) {
            const double a = a0 + (a1 - a0) * t;
            return Point{cx + r * std::cos(a), cy + r * std::sin(a)};
        };
    };
    const std::vector<CurveRow> rows = {
        {"circle", Record("CIRCLE", {{10, "5"}, {20, "5"}, {40, "4"}}), circle(5, 5, 4, 0, 2 * pi)},
        {"arc", Record("ARC", {{10, "5"}, {20, "5"}, {40, "4"}, {50, "0"}, {51, "90"}}),
         circle(5, 5, 4, 0, pi / 2)},
        {"arc through 0 degrees",
         Record("ARC", {{10, "5"}, {20, "5"}, {40, "3"}, {50, "300"}, {51, "30"}}),
         circle(5, 5, 3, -pi / 3, pi / 6)},
        {"bulge of a half circle", Polyline({{{1, 5, 1}, {9, 5, 0}}}, false),
         circle(5, 5, 4, pi, 2 * pi)},
        {"negative bulge", Polyline({{{1, 5, -1}, {9, 5, 0}}}, false), circle(5, 5, 4, pi, 0)},
        {"mirrored arc",
         Record("ARC", {{10, "-5"},
                        {20, "5"},
                        {40, "4"},
                        {50, "0"},
                        {51, "90"},
                        {210, "0"},
                        {220, "0"},
                        {230, "-1"}}),
         circle(5, 5, 4, pi, pi / 2)},
        {"half ellipse",
         Record(
             "ELLIPSE",
             {{10, "5"}, {20, "5"}, {11, "4"}, {21, "0"}, {40, "0.5"}, {41, "0"}, {42, Num(pi)}}),
         [](double t) {
             return Point{5 + 4 * std::cos(pi * t), 5 + 2 * std::sin(pi * t)};
         }},
        {"rational quarter circle spline",
         Record("SPLINE", {{71, "2"},
                           {72, "6"},
                           {73, "3"},
                           {40, "0"},
                           {40, "0"},
                           {40, "0"},
                           {40, "1"},
                           {40, "1"},
                           {40, "1"},
                           {10, "9"},
                           {20, "5"},
                           {41, "1"},
                           {10, "9"},
                           {20, "9"},
                           {41, Num(std::sqrt(0.5))},
                           {10, "5"},
                           {20, "9"},
                           {41, "1"}}),
         circle(5, 5, 4, 0, pi / 2)},
    };
    for (const CurveRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto figure = Import(DxfFile(row.entities), TileOption(0, 0, 10, 10));
        if (!figure) continue;
        const double tol = figure->report.chordTolerance;
        EXPECT_DOUBLE_EQ(tol, 0.02);
        EXPECT_EQ(figure->report.curves, 1);
        EXPECT_GE(figure->segments.size(), 4u);
        for (const TileSegment& s : figure->segments) {
            EXPECT_LT(DistanceToCurve(row.exact, s.start.x, s.start.y), 1e-3);
            EXPECT_LE(
                DistanceToCurve(row.exact, (s.start.x + s.end.x) / 2, (s.start.y + s.end.y) / 2),
                tol + 1e-3);
        }
    }
}

struct TileRow {
    const char* name;
    std::string entities;
    ImportOptions options;
    Quad tile;
    TileSource source;
    std::size_t segments;
    std::string blocks = {};
    std::string header = {};
};

ImportOptions Scaled(double scale, bool toMillimetres = false) {
    ImportOptions o;
    o.scale = scale;
    o.toMillimetres = toMillimetres;
    return o;
}

TEST(DxfImport, TheTileIsGivenOnATileLayerOrTheExtents) {
    ImportOptions onlyA;
    onlyA.layers = std::vector<std::string>{"a"};
    const std::string rect =
        Polyline({{{100, 200, 0}, {120, 200, 0}, {120, 210, 0}, {100, 210, 0}}}, true, "Tegel");
    const std::vector<TileRow> rows = {
        {"rectangle on the tile layer, its edges left out",
         rect + Line(101, 201, 119, 209, "A"),
         {},
         {100, 200, 120, 210},
         TileSource::TileLayer,
         1},
        {"four lines on the tile layer, in any order and direction",
         Line(120, 210, 100, 210, "tegel") + Line(100, 200, 100, 210, "TEGEL") +
             Line(101, 201, 119, 209, "A") + Line(120, 200, 120, 210, "Tegel") +
             Line(120, 200, 100, 200, "Tegel"),
         {},
         {100, 200, 120, 210},
         TileSource::TileLayer,
         1},
        {"tile layer not chosen",
         rect + Line(101, 201, 119, 209, "A"),
         onlyA,
         {101, 201, 119, 209},
         TileSource::Extents,
         1},
        {"extents",
         Line(3, 4, 13, 9) + Line(3, 9, 5, 9),
         {},
         {3, 4, 13, 9},
         TileSource::Extents,
         2},
        {"extents of a circle",
         Record("CIRCLE", {{10, "5"}, {20, "5"}, {40, "5"}}),
         {},
         {0, 0, 10, 10},
         TileSource::Extents,
         0},
        // LibreCAD's own pattern tiles are drawn so.
        {"extents a hair off whole units, rounded",
         Line(0, 0, 100, 100.00001),
         {},
         {0, 0, 100, 100},
         TileSource::Extents,
         1},
        // Pattern tiles drawn from the origin whose extents miss the tile.
        {"a motif every 50 units in a square of 100",
         Line(0, 0, 30.5, 0) + Line(50, 0, 80.5, 0) + Line(0, 50, 30.5, 76.5) +
             Line(50, 50, 80.5, 76.5),
         {},
         {0, 0, 100, 100},
         TileSource::Origin,
         4},
        {"room left below, the far corner whole",
         Line(0, 16.5, 40, 16.5) + Line(0, 100, 40, 100),
         {},
         {0, 0, 40, 100},
         TileSource::Origin,
         2},
        {"an arc bulging past the border",
         Line(-0.2, 0, 100, 0) +
             Record("ARC", {{10, "50"}, {20, "20"}, {40, "80.6"}, {50, "60"}, {51, "120"}}),
         {},
         {0, 0, 100, 100},
         TileSource::Origin,
         0},
        {"drawn in metres, scaled",
         Line(0, 0, 0.215, 0.065),
         Scaled(1000),
         {0, 0, 215, 65},
         TileSource::Extents,
         1},
        {"metres to millimetres by $INSUNITS",
         Line(0, 0, 0.215, 0.065),
         Scaled(1, true),
         {0, 0, 215, 65},
         TileSource::Extents,
         1,
         "",
         "9\n$INSUNITS\n70\n6\n"},
    };
    for (const TileRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto figure = Import(DxfFile(row.entities, row.blocks, row.header), row.options);
        if (!figure) continue;
        const Tile& t = figure->report.tile;
        const Quad got{t.low.x, t.low.y, t.high.x, t.high.y};
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(got[k], row.tile[k], 1e-9) << k;
        EXPECT_EQ(t.source, row.source);
        EXPECT_EQ(figure->width, int(row.tile[2] - row.tile[0]));
        EXPECT_EQ(figure->height, int(row.tile[3] - row.tile[1]));
        if (row.segments > 0) {
            EXPECT_EQ(figure->segments.size(), row.segments);
        }
    }
}

struct WrapRow {
    const char* name;
    std::string entities;
    std::vector<Quad> want;
    int wrapped, merged, dropped;
};

TEST(DxfImport, FittedToARepeatingTile) {
    const std::vector<WrapRow> rows = {
        {"across the right border", Line(8, 5, 12, 5), {{0, 5, 2, 5}, {8, 5, 10, 5}}, 1, 0, 0},
        {"across a corner", Line(9, 9, 11, 11), {{0, 0, 1, 1}, {9, 9, 10, 10}}, 1, 0, 0},
        {"wholly outside", Line(25, -5, 27, -5), {{5, 5, 7, 5}}, 1, 0, 0},
        {"opposite borders kept once",
         Line(0, 0, 0, 10) + Line(10, 0, 10, 10),
         {{0, 0, 0, 10}},
         1,
         1,
         0},
        {"overlapping collinear", Line(1, 1, 5, 1) + Line(8, 1, 3, 1), {{1, 1, 8, 1}}, 0, 1, 0},
        {"touching collinear", Line(1, 1, 3, 3) + Line(3, 3, 6, 6), {{1, 1, 6, 6}}, 0, 1, 0},
        {"too short", Line(1, 1, 1.0005, 1) + Line(2, 2, 4, 2), {{2, 2, 4, 2}}, 0, 0, 1},
        {"snapped to the border",
         Line(1e-10, 2, 5, 2) + Line(3, 10 - 1e-10, 3, 7),
         {{0, 2, 5, 2}, {3, 7, 3, 10}},
         0,
         0,
         0},
    };
    for (const WrapRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto figure = Import(DxfFile(row.entities), TileOption(0, 0, 10, 10));
        if (!figure) continue;
        ExpectSegments(figure->segments, row.want);
        EXPECT_EQ(figure->report.wrapped, row.wrapped);
        EXPECT_EQ(figure->report.merged, row.merged);
        EXPECT_EQ(figure->report.dropped, row.dropped);
    }
}

// Random lines in a random tile: every segment lies in the tile, and every point of every line,
// taken modulo the tile, lies on a segment.
TEST(DxfImport, RandomLinesRepeatAsDrawn) {
    std::mt19937 random(20);
    std::uniform_real_distribution<double> coordinate(-40, 40);
    for (int round = 0; round < 150; ++round) {
        const int w = 1 + int(random() % 20), h = 1 + int(random() % 20);
        std::string entities;
        std::vector<Quad> lines;
        for (int i = 0; i < 4; ++i) {
            Quad q{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
            if (i == 3) q = {q[0], q[1], q[0] + 3 * w, q[1]};  // along a row of tiles
            lines.push_back(q);
            entities += Line(q[0], q[1], q[2], q[3]);
        }
        const auto figure = Import(DxfFile(entities), TileOption(0, 0, w, h));
        ASSERT_TRUE(figure);
        const auto inside = [&](figure::TilePoint p) {
            return p.x >= 0 && p.x <= w && p.y >= 0 && p.y <= h;
        };
        for (const TileSegment& s : figure->segments)
            EXPECT_TRUE(inside(s.start) && inside(s.end)) << "round " << round;
        for (const Quad& q : lines)
            for (int k = 1; k < 50; ++k) {
                double x = std::fmod(q[0] + (q[2] - q[0]) * k / 50, w) + w;
                double y = std::fmod(q[1] + (q[3] - q[1]) * k / 50, h) + h;
                x = std::fmod(x, w);
                y = std::fmod(y, h);
                // Points on a border are on the segment of the opposite border just as well.
                if (x < 1e-6 || y < 1e-6 || w - x < 1e-6 || h - y < 1e-6) continue;
                double best = HUGE_VAL;
                for (const TileSegment& s : figure->segments) {
                    const Point a{double(s.start.x), double(s.start.y)};
                    const double dx = double(s.end.x) - a.x, dy = double(s.end.y) - a.y;
                    const double u = std::clamp(
                        ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                    best = std::min(best, std::hypot(x - a.x - u * dx, y - a.y - u * dy));
                }
                EXPECT_LT(best, 1e-6) << "round " << round;
            }
    }
}

TEST(DxfImport, UnitsLayersAndSkippedKinds) {
    const std::string units = "9\n$INSUNITS\n70\n1\n";
    const std::string blocks =
        Record("BLOCK", {{2, "K"}}) + Line(0, 0, 1, 1, "0") + Record("ENDBLK", {});
    const std::string entities =
        Line(0, 0, 1, 0, "A") + Record("INSERT", {{8, "B"}, {2, "K"}, {10, "2"}, {20, "2"}}) +
        Record("TEXT", {{1, "x"}}) + Record("TEXT", {{1, "y"}}) + Record("HATCH", {}) +
        Record("LINE", {{67, "1"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "5"}}) +
        Record("ARC", {{10, "1"}, {20, "1"}, {40, "1"}, {210, "1"}, {220, "0"}, {230, "0"}}) +
        Record("POLYLINE", {{70, "8"}}) + Record("VERTEX", {{10, "1"}, {20, "1"}}) +
        Record("SEQEND", {});
    const DrawingResult read = ReadDrawing(DxfFile(entities, blocks, units));
    ASSERT_TRUE(read.drawing) << read.error;
    EXPECT_EQ(read.drawing->units, "INCH");
    EXPECT_FALSE(read.drawing->unitsAssumed);
    EXPECT_EQ(read.drawing->layers, (std::vector<std::string>{"A", "B"}));
    const std::map<std::string, int> skipped{
        {"ARC (3D)", 1}, {"HATCH", 1}, {"POLYLINE (3D)", 1}, {"TEXT", 2}, {"papierruimte", 1}};
    EXPECT_EQ(read.drawing->skipped, skipped);
    // The line of the block, on layer 0, goes with the INSERT's layer B.
    ImportOptions onlyB = TileOption(0, 0, 10, 10);
    onlyB.layers = std::vector<std::string>{"b"};
    const ImportResult b = ImportTile(*read.drawing, onlyB);
    ASSERT_TRUE(b.figure) << b.error;
    ExpectSegments(b.figure->segments, {{2, 2, 3, 3}});

    for (const auto& [code, shown] : {std::pair{"4", "MM"}, {"6", "MM assumed"}}) {
        const DrawingResult r = ReadDrawing(
            DxfFile(Line(0, 0, 1, 1), "", std::string("9\n$INSUNITS\n70\n") + code + "\n"));
        ASSERT_TRUE(r.drawing);
        EXPECT_EQ(r.drawing->units + (r.drawing->unitsAssumed ? " assumed" : ""), shown);
    }
}

}  // namespace
}  // namespace murvex::dxf
