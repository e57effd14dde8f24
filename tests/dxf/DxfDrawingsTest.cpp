// Drawings as users and hostile testers bring them: degenerate entities left out and counted,
// the older header form, and the limits that hold before the work they bound.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "DxfImport.h"
#include "DxfScan.h"
#include "DxfText.h"

namespace murvex::dxf {
namespace {

using dxftest::DxfFile;
using dxftest::Line;
using dxftest::Num;
using dxftest::Polyline;
using dxftest::Record;
using dxftest::TileOption;

struct Imported {
    std::map<std::string, int> skipped;
    std::size_t segments = 0;
    int merged = 0;
    std::string error;
};

Imported ImportText(const std::string& text, const ImportOptions& options) {
    Imported out;
    const DrawingResult read = ReadDrawing(text);
    if (!read.drawing) {
        out.error = read.error;
        return out;
    }
    out.skipped = read.drawing->skipped;
    const ImportResult result = ImportTile(*read.drawing, options);
    if (!result.figure) {
        out.error = result.error;
        return out;
    }
    out.segments = result.figure->segments.size();
    out.merged = result.figure->report.merged;
    return out;
}

// A degenerate entity is left out and counted; the rest of the drawing still reads.
TEST(DxfDrawings, DegenerateEntitiesAreSkippedAndCounted) {
    struct Row {
        const char* name;
        std::string entity;
        const char* kind;
    };
    const std::vector<Row> rows = {
        {"arc of radius 0", Record("ARC", {{10, "1"}, {20, "1"}, {40, "0"}, {51, "90"}}),
         "ARC (straal 0)"},
        {"circle of negative radius", Record("CIRCLE", {{10, "1"}, {20, "1"}, {40, "-2"}}),
         "CIRCLE (straal 0)"},
        {"ellipse without an axis",
         Record("ELLIPSE", {{10, "1"}, {20, "1"}, {11, "0"}, {21, "0"}, {40, "0.5"}}),
         "ELLIPSE (as 0)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Imported got =
            ImportText(DxfFile(Line(0, 0, 10, 0) + row.entity), TileOption(0, 0, 10, 10));
        EXPECT_EQ(got.error, "");
        EXPECT_EQ(got.segments, 1u);
        EXPECT_EQ(got.skipped, (std::map<std::string, int>{{row.kind, 1}}));
    }
}

std::vector<figure::TileSegment> Segments(const std::string& entity) {
    const DrawingResult read = ReadDrawing(DxfFile(entity));
    EXPECT_TRUE(read.drawing) << read.error;
    if (!read.drawing) return {};
    ImportOptions options = TileOption(-20, -20, 20, 20);
    options.chordTolerance = 0.01;
    const ImportResult result = ImportTile(*read.drawing, options);
    EXPECT_TRUE(result.figure) << result.error;
    return result.figure ? result.figure->segments : std::vector<figure::TileSegment>{};
}

// The largest distance of any segment end from the curve given as a distance function.
template <class Distance>
double Worst(const std::vector<figure::TileSegment>& segments, Distance distance) {
    double worst = 0;
    for (const figure::TileSegment& s : segments)
        for (const figure::TilePoint& p : {s.start, s.end})
            worst = std::max(worst, distance(double(p.x) - 20, double(p.y) - 20));
    return worst;
}

// Entities that other readers draw as a whole curve or a straight edge, read so here.
TEST(DxfDrawings, NearlyDegenerateCurvesAreReadAsTheirShape) {
    // A first axis of (0, 1) with ratio 2 is the ellipse of half axes 2 (x) and 1 (y).
    const auto onEllipse = [](double x, double y) { return std::fabs(std::hypot(x / 2, y) - 1); };
    const std::vector<figure::TileSegment> swapped =
        Segments(Record("ELLIPSE", {{10, "0"},
                                    {20, "0"},
                                    {11, "0"},
                                    {21, "1"},
                                    {40, "2"},
                                    {41, "0"},
                                    {42, "6.283185307179586"}}));
    EXPECT_GT(swapped.size(), 20u);
    EXPECT_LT(Worst(swapped, onEllipse), 1e-9);
    // An end written a hair past a full turn is a full ellipse, not an empty one.
    const std::vector<figure::TileSegment> full =
        Segments(Record("ELLIPSE", {{10, "0"},
                                    {20, "0"},
                                    {11, "2"},
                                    {21, "0"},
                                    {40, "0.5"},
                                    {41, "0"},
                                    {42, "6.2831853072"}}));
    EXPECT_GT(full.size(), 20u);
    EXPECT_LT(Worst(full, onEllipse), 1e-9);
    // A bulge of 1e-6 over a chord of 10000: its radius is beyond every coordinate limit, the
    // edge stays within 0.0025 of its chord and is drawn as one.
    const DrawingResult read =
        ReadDrawing(DxfFile(Polyline({{{0, 0, 1e-6}, {10000, 0, 0}}}, false)));
    ASSERT_TRUE(read.drawing) << read.error;
    ImportOptions chord = TileOption(0, -1, 10000, 1);
    chord.chordTolerance = 0.01;
    const ImportResult bulge = ImportTile(*read.drawing, chord);
    ASSERT_TRUE(bulge.figure) << bulge.error;
    EXPECT_EQ(bulge.figure->segments.size(), 1u);
}

// LibreCAD's older header: an ENDSEC right after $HANDSEED, then more variables.
TEST(DxfDrawings, TheOlderHeaderFormIsRead) {
    const std::string text =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$HANDSEED\n5\nFFFF\n"
        "0\nENDSEC\n9\n$INSUNITS\n70\n1\n9\n$DIMSTYLE\n2\nStandard\n"
        "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" +
        Line(0, 0, 10, 10) + "0\nENDSEC\n0\nEOF\n";
    const DrawingResult read = ReadDrawing(text);
    ASSERT_TRUE(read.drawing) << read.error;
    EXPECT_EQ(read.drawing->units, "INCH");
    EXPECT_EQ(read.drawing->primitives.size(), 1u);
    // A second ENDSEC anywhere else is still no section's end.
    const std::string stray = DxfFile(Line(0, 0, 1, 1));
    const std::size_t entitiesEnd = stray.rfind("0\nENDSEC\n");
    EXPECT_NE(ReadDrawing(stray.substr(0, entitiesEnd) + "0\nENDSEC\n" + stray.substr(entitiesEnd))
                  .error.find("ENDSEC zonder sectie"),
              std::string::npos);
}

std::string Block(const std::string& name, const std::string& entities) {
    return Record("BLOCK", {{2, name}, {10, "0"}, {20, "0"}}) + entities + Record("ENDBLK", {});
}

std::string ArrayInsert(const std::string& block, const std::string& rows, double spacing = 10) {
    return Record("INSERT", {{2, block},
                             {10, "0"},
                             {20, "0"},
                             {70, rows},
                             {71, rows},
                             {44, Num(spacing)},
                             {45, Num(spacing)}});
}

// Each limit is checked before the work it bounds, and names its real reason.
TEST(DxfDrawings, LimitsHoldBeforeTheWork) {
    const std::string most = "2147483647";
    const std::string blocks = Block("LEEG", "") + Block("TEKST", Record("TEXT", {{1, "a"}})) +
                               Block("MIST", Record("INSERT", {{2, "NERGENS"}})) +
                               Block("ROND", Record("CIRCLE", {{10, "5"}, {20, "5"}, {40, "4"}}));
    struct Row {
        const char* name;
        std::string entities;
        ImportOptions options;
        std::size_t segments;
        const char* error;
    };
    ImportOptions tile = TileOption(0, 0, 10, 10);
    tile.chordTolerance = 0.02;
    const std::size_t circle =
        ImportText(DxfFile(Record("INSERT", {{2, "ROND"}}), blocks), tile).segments;
    ASSERT_GT(circle, 20u);
    const std::vector<Row> rows = {
        // Blocks that add nothing are not expanded, however large their array.
        {"empty block", Line(0, 0, 10, 0) + ArrayInsert("LEEG", most), tile, 1, ""},
        {"block of text", Line(0, 0, 10, 0) + ArrayInsert("TEKST", most), tile, 1, ""},
        {"block inserting a missing block", Line(0, 0, 10, 0) + ArrayInsert("MIST", most), tile, 1,
         ""},
        // 10,000 circles: more pieces than the segment limit, that merge to one circle's chords.
        {"a figure drawn many times", ArrayInsert("ROND", "100"), tile, circle, ""},
        // A line across more tiles than are cut at once merges to one segment.
        {"a line across many tiles", Line(0, 0, 3e5, 0), TileOption(0, -1, 1, 1), 1, ""},
        {"an array beyond the bound", ArrayInsert("ROND", "1000"), tile, 0, "vermenigvuldigen"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Imported got = ImportText(DxfFile(row.entities, blocks), row.options);
        EXPECT_NE(got.error.find(row.error), std::string::npos) << got.error;
        EXPECT_EQ(got.segments, row.segments);
    }
}

// What a block leaves out counts once for every insertion; a block never inserted counts not.
TEST(DxfDrawings, SkippedEntitiesCountPerInsertion) {
    const std::string blocks =
        Block("T", Record("TEXT", {{1, "a"}}) + Line(0, 0, 1, 0)) +
        Block("NESTED", Record("INSERT", {{2, "T"}}) + Record("INSERT", {{2, "WEG"}})) +
        Block("NOOIT", Record("HATCH", {}));
    const std::string entities = Line(0, 0, 10, 10) + ArrayInsert("T", "3", 1) +
                                 ArrayInsert("NESTED", "2", 1) +
                                 Record("INSERT", {{2, "T"}, {66, "1"}}) +
                                 Record("ATTRIB", {{1, "x"}}) + Record("SEQEND", {});
    const DrawingResult read = ReadDrawing(DxfFile(entities, blocks));
    ASSERT_TRUE(read.drawing) << read.error;
    // 9 + 4 + 1 texts; the missing block inside NESTED once per its 4 insertions.
    const std::map<std::string, int> want{
        {"ATTRIB", 1}, {"INSERT (blok ontbreekt)", 4}, {"TEXT", 14}};
    EXPECT_EQ(read.drawing->skipped, want);
}

// Records of any number of groups and kinds: memory in proportion to what is handed on, the
// report of a bounded length, a fit spline of coinciding points inside its data.
TEST(DxfDrawings, HostileRecordsStayBounded) {
    std::string kinds;
    for (int i = 0; i < 500; ++i)
        kinds += Record("SOORT" + std::to_string(i), {{8, "0"}, {1, std::string(100, 'x')}});
    const ScanResult scan = ScanDxf(DxfFile(Line(0, 0, 1, 1) + kinds));
    ASSERT_EQ(scan.error, "");
    EXPECT_EQ(scan.skipped.size(), kMaxSkippedKinds + 1);
    int total = 0;
    for (const auto& [kind, count] : scan.skipped)
        total += count;
    EXPECT_EQ(total, 500);
    // A record left out is not kept: its groups are not in what dxflib reads.
    EXPECT_EQ(scan.text.find("xxxx"), std::string::npos);

    // A header section without its name, then group-9 records: read in one pass.
    std::string nameless = "0\nSECTION\n";
    for (int i = 0; i < 1000; ++i)
        nameless += "9\n$X\n";
    EXPECT_EQ(ScanDxf(nameless + "0\nENDSEC\n0\nEOF\n").error, "");

    // Fit points that all coincide, with end tangents: no curve, and nothing read past them.
    const std::string fit = Record("SPLINE", {{70, "8"},
                                              {71, "3"},
                                              {12, "1"},
                                              {22, "0"},
                                              {13, "0"},
                                              {23, "1"},
                                              {11, "2"},
                                              {21, "2"},
                                              {11, "2"},
                                              {21, "2"},
                                              {11, "2"},
                                              {21, "2"}});
    const Imported got = ImportText(DxfFile(Line(0, 0, 10, 0) + fit), TileOption(0, 0, 10, 10));
    EXPECT_EQ(got.error, "");
    EXPECT_EQ(got.segments, 1u);
}

}  // namespace
}  // namespace murvex::dxf

namespace murvex::dxf {
namespace {

// Random drawings: lines and a TEGEL rectangle in a block, inserted turned by a quarter turn or
// more and mirrored or not. The tile is the placed rectangle, the segments are the placed lines.
TEST(DxfDrawings, RandomBlocksTurnedAndMirroredKeepTheirTileAndLines) {
    std::mt19937 random(31);
    std::uniform_int_distribution<int> quarter(0, 3), coin(0, 1), count(1, 6);
    std::uniform_real_distribution<double> x(0.5, 19.5), y(0.5, 9.5), place(-1000, 1000);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::array<double, 4>> lines;
        std::string block =
            Record("BLOCK", {{2, "F"}, {10, "0"}, {20, "0"}}) +
            Polyline({{{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {0, 10, 0}}}, true, "TEGEL");
        for (int i = count(random); i > 0; --i) {
            lines.push_back({x(random), y(random), x(random), y(random)});
            block += Line(lines.back()[0], lines.back()[1], lines.back()[2], lines.back()[3]);
        }
        block += Record("ENDBLK", {});
        const int turn = 90 * quarter(random);
        const double sx = coin(random) ? -1 : 1;
        const double px = std::round(place(random)), py = std::round(place(random));
        const std::string insert = Record(
            "INSERT",
            {{2, "F"}, {10, Num(px)}, {20, Num(py)}, {41, Num(sx)}, {50, std::to_string(turn)}});
        SCOPED_TRACE("turn " + std::to_string(turn) + " mirror " + Num(sx));
        const DrawingResult read = ReadDrawing(DxfFile(insert, block));
        ASSERT_TRUE(read.drawing) << read.error;
        const ImportResult result = ImportTile(*read.drawing, {});
        ASSERT_TRUE(result.figure) << result.error;
        const TileFigure& f = *result.figure;
        EXPECT_EQ(f.report.tile.source, TileSource::TileLayer);
        // Placed: mirrored in x, turned, moved; exact for quarter turns.
        const int c = turn == 0     ? 1
                      : turn == 180 ? -1
                                    : 0,
                  s = turn == 90    ? 1
                      : turn == 270 ? -1
                                    : 0;
        const auto placed = [&](double bx, double by) {
            return std::array<double, 2>{c * sx * bx - s * by + px, s * sx * bx + c * by + py};
        };
        const std::array<double, 2> a = placed(0, 0), b = placed(20, 10);
        const double lowX = std::min(a[0], b[0]), lowY = std::min(a[1], b[1]);
        EXPECT_NEAR(f.report.tile.low.x, lowX, 1e-9);
        EXPECT_NEAR(f.report.tile.low.y, lowY, 1e-9);
        EXPECT_EQ(f.width, turn % 180 == 0 ? 20 : 10);
        EXPECT_EQ(f.height, turn % 180 == 0 ? 10 : 20);
        std::vector<std::array<double, 4>> want;
        for (const auto& l : lines) {
            const auto p = placed(l[0], l[1]), q = placed(l[2], l[3]);
            want.push_back({p[0] - lowX, p[1] - lowY, q[0] - lowX, q[1] - lowY});
        }
        ASSERT_EQ(f.segments.size(), want.size());
        for (const figure::TileSegment& seg : f.segments) {
            const bool found = std::any_of(want.begin(), want.end(), [&](const auto& w) {
                const auto near = [](long double u, double v) {
                    return std::fabs(double(u) - v) < 1e-6;
                };
                return (near(seg.start.x, w[0]) && near(seg.start.y, w[1]) &&
                        near(seg.end.x, w[2]) && near(seg.end.y, w[3])) ||
                       (near(seg.start.x, w[2]) && near(seg.start.y, w[3]) &&
                        near(seg.end.x, w[0]) && near(seg.end.y, w[1]));
            });
            EXPECT_TRUE(found) << double(seg.start.x) << " " << double(seg.start.y);
        }
    }
}

}  // namespace
}  // namespace murvex::dxf
