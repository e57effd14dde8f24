// Drawings as users and hostile testers bring them: degenerate entities left out and counted,
// the older header form, what blocks leave out per insertion, the limits that hold before the
// work they bound.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "DxfImport.h"
#include "DxfScan.h"
#include "DxfText.h"

namespace murvex::dxf {
namespace {

using dxftest::DxfFile;
using dxftest::Line;
using dxftest::Polyline;
using dxftest::TileOption;

// A record from "code value code value ...".
std::string Rec(const std::string& kind, const std::string& groups) {
    std::istringstream in(groups);
    std::string out = "0\n" + kind + "\n", code, value;
    while (in >> code >> value)
        out += code + "\n" + value + "\n";
    return out;
}

std::string Block(const std::string& name, const std::string& entities) {
    return Rec("BLOCK", "2 " + name + " 10 0 20 0") + entities + Rec("ENDBLK", "");
}

std::string Array(const std::string& block, const std::string& n, const std::string& step) {
    return Rec("INSERT",
               "2 " + block + " 10 0 20 0 70 " + n + " 71 " + n + " 44 " + step + " 45 " + step);
}

ImportOptions Tile(double x0, double y0, double x1, double y1, double chord) {
    ImportOptions o = TileOption(x0, y0, x1, y1);
    o.chordTolerance = chord;
    return o;
}

// Each drawing reads as other readers read it: what adds nothing or makes no curve is left out
// and counted (per insertion), and each limit holds before the work it bounds.
TEST(DxfDrawings, WhatTheDrawingHoldsAndWhatIsLeftOut) {
    const std::string most = "2147483647", line = Line(0, 0, 10, 0);
    const std::string blocks = Block("LEEG", "") + Block("TEKST", Rec("TEXT", "1 a")) +
                               Block("MIST", Rec("INSERT", "2 NERGENS")) +
                               Block("ROND", Rec("CIRCLE", "10 5 20 5 40 4")) +
                               Block("T", Rec("TEXT", "1 a") + Line(0, 0, 1, 0)) +
                               Block("NESTED", Rec("INSERT", "2 T") + Rec("INSERT", "2 WEG")) +
                               Block("NOOIT", Rec("HATCH", ""));
    const std::string olderHeader = "9\n$HANDSEED\n5\nFFFF\n0\nENDSEC\n9\n$INSUNITS\n70\n1\n";
    const ImportOptions tile = Tile(0, 0, 10, 10, 0.02);
    const DrawingResult one = ReadDrawing(DxfFile(Rec("INSERT", "2 ROND"), blocks));
    ASSERT_TRUE(one.drawing);
    const std::size_t circle = ImportTile(*one.drawing, tile).figure->segments.size();
    struct Row {
        const char* name;
        std::string entities, header;
        std::size_t segments;
        std::map<std::string, int> skipped;
        const char* error = "";
        ImportOptions options = Tile(0, 0, 10, 10, 0.02);
    };
    const std::vector<Row> rows = {
        {"arc of radius 0",
         line + Rec("ARC", "10 1 20 1 40 0 51 90"),
         "",
         1,
         {{"ARC (straal 0)", 1}}},
        {"circle of negative radius",
         line + Rec("CIRCLE", "10 1 20 1 40 -2"),
         "",
         1,
         {{"CIRCLE (straal 0)", 1}}},
        {"ellipse without an axis",
         line + Rec("ELLIPSE", "10 1 20 1 11 0 21 0 40 0.5"),
         "",
         1,
         {{"ELLIPSE (as 0)", 1}}},
        {"spline of too few points",
         line + Rec("SPLINE", "71 3 40 0 10 0 20 0 10 1 20 1"),
         "",
         1,
         {{"SPLINE (graad, punten en knopen passen niet)", 1}}},
        // Fit points that all coincide, with end tangents: no curve, nothing read past them.
        {"fit points on one spot",
         line + Rec("SPLINE", "71 3 12 1 22 0 13 0 23 1 11 2 21 2 11 2 21 2 11 2 21 2"),
         "",
         1,
         {}},
        {"LibreCAD's older header", line, olderHeader, 1, {}},
        // 9 + 4 + 1 texts; the missing block inside NESTED once for each of its 4 insertions.
        {"left out per insertion",
         line + Array("T", "3", "1") + Array("NESTED", "2", "1") + Rec("INSERT", "2 T 66 1") +
             Rec("ATTRIB", "1 x") + Rec("SEQEND", ""),
         "",
         3,
         {{"ATTRIB", 1}, {"INSERT (blok ontbreekt)", 4}, {"TEXT", 14}}},
        // Blocks that add nothing are not expanded, however large their array.
        {"empty block", line + Array("LEEG", most, "10"), "", 1, {}},
        {"block of text", line + Array("TEKST", most, "10"), "", 1, {{"TEXT", 2147483647}}},
        {"block inserting a missing block",
         line + Array("MIST", most, "10"),
         "",
         1,
         {{"INSERT (blok ontbreekt)", 2147483647}}},
        // 10,000 circles: more pieces than the segment limit, merging to one circle's chords.
        {"a figure drawn many times", Array("ROND", "100", "10"), "", circle, {}},
        {"an array beyond the bound", Array("ROND", "1000", "10"), "", 0, {}, "vermenigvuldigen"},
        // A line across more tiles than are cut at once merges to one segment.
        {"a line across many tiles", Line(0, 0, 3e5, 0), "", 1, {}, "", Tile(0, -1, 1, 1, 0.01)},
        // Its radius lies beyond every coordinate limit; the arc stays within 0.005 of its chord.
        {"bulge of 1e-6 over 10000",
         Polyline({{{0, 0, 1e-6}, {10000, 0, 0}}}, false),
         "",
         1,
         {},
         "",
         Tile(0, -1, 10000, 1, 0.01)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DrawingResult read = ReadDrawing(DxfFile(row.entities, blocks, row.header));
        std::string error = read.error;
        if (read.drawing) {
            EXPECT_EQ(read.drawing->skipped, row.skipped);
            const ImportResult result = ImportTile(*read.drawing, row.options);
            error = result.error;
            EXPECT_EQ(result.figure ? result.figure->segments.size() : 0, row.segments);
        }
        EXPECT_NE(error.find(row.error), std::string::npos) << error;
    }
}

// Ellipses other readers draw whole: every chord end on the ellipse of half axes 2 and 1.
TEST(DxfDrawings, EllipsesReadAsOtherReadersDrawThem) {
    for (const std::string groups : {"11 0 21 1 40 2 41 0 42 6.283185307179586",  // ratio above 1
                                     "11 2 21 0 40 0.5 41 0 42 6.2831853072"}) {  // past a turn
        SCOPED_TRACE(groups);
        const DrawingResult read = ReadDrawing(DxfFile(Rec("ELLIPSE", "10 0 20 0 " + groups)));
        ASSERT_TRUE(read.drawing) << read.error;
        const ImportResult result = ImportTile(*read.drawing, Tile(-20, -20, 20, 20, 0.01));
        ASSERT_TRUE(result.figure) << result.error;
        EXPECT_GT(result.figure->segments.size(), 20u);
        for (const figure::TileSegment& s : result.figure->segments)
            for (const figure::TilePoint& p : {s.start, s.end})
                EXPECT_NEAR(std::hypot((double(p.x) - 20) / 2, double(p.y) - 20), 1, 1e-9);
    }
}

// Records of many kinds: the report stays short and what is left out is not kept. An ENDSEC
// out of place, other than the older header's, is still refused.
TEST(DxfDrawings, HostileRecordsStayBounded) {
    std::string kinds;
    for (int i = 0; i < 500; ++i)
        kinds += Rec("SOORT" + std::to_string(i), "8 0 1 " + std::string(100, 'x'));
    const ScanResult scan = ScanDxf(DxfFile(Line(0, 0, 1, 1) + kinds));
    ASSERT_EQ(scan.error, "");
    EXPECT_EQ(scan.skipped.size(), kMaxSkippedKinds + 1);
    int total = 0;
    for (const auto& [kind, count] : scan.skipped)
        total += count;
    EXPECT_EQ(total, 500);
    EXPECT_EQ(scan.text.find("xxxx"), std::string::npos);
    const std::string stray = DxfFile(Line(0, 0, 1, 1));
    const std::size_t end = stray.rfind("0\nENDSEC\n");
    EXPECT_NE(
        ScanDxf(stray.substr(0, end) + "0\nENDSEC\n" + stray.substr(end)).error.find("ENDSEC"),
        std::string::npos);
}

}  // namespace
}  // namespace murvex::dxf
