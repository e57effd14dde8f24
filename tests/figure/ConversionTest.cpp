// Figure-to-pattern conversion: the written lines to the last decimal, the case choice, the
// tolerance stages, and the lines and failed rows of "Maak hatch".
#include "Conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "TextGrid.h"

namespace murvex::figure {
namespace {

struct Example {
    const char* name;
    TileSize tile;
    RowCells cells;
    Accuracy accuracy;
    const char* line;  // nullptr: no solution
};

// Worked rows, each to the last of its ten decimals.
const Example kExamples[] = {
    {"Horizontal",
     {100, 50},
     {"10", "10", "60", "10"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 10.0000000000, 10.0000000000, 0.0000000000, 50.0000000000, 50.0000000000, "
     "-50.0000000000"},
    {"VerticalUp",
     {100, 50},
     {"20", "0", "20", "30"},
     Accuracy::Nauwkeurig,
     "90.0000000000, 20.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 30.0000000000, "
     "-20.0000000000"},
    {"VerticalDown",
     {100, 50},
     {"20", "30", "20", "0"},
     Accuracy::Nauwkeurig,
     "270.0000000000, 20.0000000000, 30.0000000000, 0.0000000000, 100.0000000000, 30.0000000000, "
     "-20.0000000000"},
    {"Diagonal",
     {100, 100},
     {"0", "0", "50", "50"},
     Accuracy::Nauwkeurig,
     "45.0000000000, 0.0000000000, 0.0000000000, 70.7106781187, 70.7106781187, 70.7106781187, "
     "-70.7106781187"},
    {"MirroredDiagonal",
     {100, 50},
     {"0", "50", "40", "30"},
     Accuracy::Nauwkeurig,
     "-26.5650511771, 0.0000000000, 50.0000000000, -22.3606797750, 44.7213595500, "
     "44.7213595500, -67.0820393250"},
    {"MirroredDiagonalEnteredRightToLeft",
     {100, 50},
     {"40", "30", "0", "50"},
     Accuracy::Nauwkeurig,
     "-26.5650511771, 0.0000000000, 50.0000000000, -22.3606797750, 44.7213595500, "
     "44.7213595500, -67.0820393250"},
    {"GeneralRising",
     {100, 100},
     {"0", "0", "100", "50"},
     Accuracy::Nauwkeurig,
     "26.5650511771, 0.0000000000, 0.0000000000, 134.1640786500, 44.7213595500, "
     "111.8033988750, -111.8033988750"},
    {"GeneralFalling",
     {100, 100},
     {"10", "80", "40", "70"},
     Accuracy::Nauwkeurig,
     "-18.4349488229, 10.0000000000, 80.0000000000, 221.3594362118, -31.6227766017, "
     "31.6227766017, -284.6049894152"},
    {"FineNauwkeurig",
     {100, 100},
     {"0", "0", "30", "10.05"},
     Accuracy::Nauwkeurig,
     "18.5208494775, 0.0000000000, 0.0000000000, 20776.1882879229, 0.4741040639, "
     "31.6386235478, -21060.7770749918"},
    {"FineMiddel",
     {100, 100},
     {"0", "0", "30", "10.05"},
     Accuracy::Middel,
     "18.5208494775, 0.0000000000, 0.0000000000, 20776.1882879229, 0.4741040639, "
     "31.6386235478, -21060.7770749918"},
    {"FineLaag",
     {100, 100},
     {"0", "0", "30", "10,05"},
     Accuracy::Laag,
     "18.4349488229, 0.0000000000, 0.0000000000, 221.3594362118, 31.6227766017, "
     "31.6386235478, -284.5891424690"},
    {"FourEmptyCells",
     {100, 50},
     {"", "", "", ""},
     Accuracy::Nauwkeurig,
     "270.0000000000, 0.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 0.0000000000, "
     "-50.0000000000"},
    {"UnreadableCellCountsAsZero",
     {100, 50},
     {"abc", "10", "60", "10"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 0.0000000000, 10.0000000000, 0.0000000000, 50.0000000000, 60.0000000000, "
     "-40.0000000000"},
    {"NearlyHorizontalRising",
     {100, 50},
     {"10", "10", "60", "10.2"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 10.0000000000, 10.0000000000, 0.0000000000, 50.0000000000, 50.0003999984, "
     "-49.9996000016"},
    {"NearlyHorizontalFalling",
     {100, 50},
     {"10", "10.2", "60", "10"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 10.0000000000, 10.2000000000, 0.0000000000, 50.0000000000, 50.0003999984, "
     "-49.9996000016"},
    {"NearlyVerticalRising",
     {100, 100},
     {"20", "0", "20.05", "30"},
     Accuracy::Nauwkeurig,
     "90.0000000000, 20.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 30.0000416666, "
     "-69.9999583334"},
    // Steep: no repeat within 149 tile heights at 1.0, found by the looser levels.
    {"SteepFailsNauwkeurig",
     {100, 100},
     {"58.439", "56.591", "61.394", "95.654"},
     Accuracy::Nauwkeurig,
     nullptr},
    {"SteepMiddel",
     {100, 100},
     {"58.439", "56.591", "61.394", "95.654"},
     Accuracy::Middel,
     "85.6676860168, 58.4390000000, 56.5910000000, 5315.0726916399, 1.5108222546, "
     "39.1746090472, -6579.7376883020"},
    {"SteepLaag",
     {100, 100},
     {"58.439", "56.591", "61.394", "95.654"},
     Accuracy::Laag,
     "85.6012946450, 58.4390000000, 56.5910000000, 99.7054485502, 7.6696498885, "
     "39.1746090472, -1264.6658719933"},
    // Lines of the family 0.035 apart: the neighbouring line is the one whose lattice point
    // lies on it exactly (143 widths run, so 1 + 142 x 1 = 1 x 143), not one within 0.1.
    {"SmallTileNeighbourLine",
     {2, 5},
     {"0.347", "1.200", "0.462", "1.198"},
     Accuracy::Nauwkeurig,
     "-1.0015724357, 0.3470000000, 1.2000000000, 284.0440085230, -0.0349596929, 0.1150173900, "
     "-285.9286855646"},
    // Horizontal and vertical come before the diagonal, also in tiles so flat or so tall that
    // the diagonal's tenth of a degree lies within their windows: the dash repeats along the
    // tile side, not along the diagonal, and the lines lie one tile side apart.
    {"FlatTileHorizontalBeforeDiagonal",
     {2000, 1},
     {"0", "0", "50", "0"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 0.0000000000, 0.0000000000, 0.0000000000, 1.0000000000, 50.0000000000, "
     "-1950.0000000000"},
    {"TallTileSteepIsVertical",
     {10, 10000},
     {"0", "0", "1", "700"},
     Accuracy::Nauwkeurig,
     "90.0000000000, 0.0000000000, 0.0000000000, 0.0000000000, 10.0000000000, "
     "700.0007142853, -9299.9992857147"},
    {"TileWithoutWidth", {0, 50}, {"10", "10", "60", "10"}, Accuracy::Nauwkeurig, nullptr},
    // Longer than its repeat distance: one continuous line of the tile width.
    {"LongerThanTheRepeatIsContinuous",
     {100, 100},
     {"0", "0", "100", "0.4"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 0.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 100.0000000000, "
     "-0.0000000000"},
};

TEST(ConvertFiguurLijn, WritesEveryWorkedRowToTheLastDecimal) {
    for (const Example& ex : kExamples) {
        SCOPED_TRACE(ex.name);
        const std::optional<ConvertedLine> line = ConvertFiguurLijn(ex.tile, ex.cells, ex.accuracy);
        if (ex.line == nullptr) {
            EXPECT_FALSE(line.has_value()) << line->text;
        } else {
            ASSERT_TRUE(line.has_value());
            EXPECT_EQ(line->text, ex.line);
        }
    }
}

// Issue 19: a segment falling to the right as steeply as a rising one written vertical is
// vertical too (down from its left, upper, end); a segment near the diagonal is written at the
// diagonal's own angle, so that its repeat and its shift both land on copies of its start.
TEST(ConvertFiguurLijn, MendsFallingNearVerticalAndNearDiagonalAtEveryLevel) {
    const struct {
        const char* name;
        TileSize tile;
        RowCells cells;
        LineCase lineCase;
        const char* line;
    } rows[] = {
        {"BrickEdgeFalling",
         {215, 65},
         {"150", "60", "150.3", "0"},
         LineCase::Vertical,
         "270.0000000000, 150.0000000000, 60.0000000000, 0.0000000000, 215.0000000000, "
         "60.0007499953, -4.9992500047"},
        {"BrickEdgeRising",
         {215, 65},
         {"150", "0", "150.3", "60"},
         LineCase::Vertical,
         "90.0000000000, 150.0000000000, 0.0000000000, 0.0000000000, 215.0000000000, "
         "60.0007499953, -4.9992500047"},
        {"SquareTileFalling",
         {100, 100},
         {"20", "30", "20.05", "0"},
         LineCase::Vertical,
         "270.0000000000, 20.0000000000, 30.0000000000, 0.0000000000, 100.0000000000, "
         "30.0000416666, -69.9999583334"},
        {"BrickDiagonalNotQuite",
         {215, 65},
         {"0", "0", "215", "64.8"},
         LineCase::Diagonal,
         "16.8214098900, 0.0000000000, 0.0000000000, 18.8103175830, 62.2187427744, "
         "224.5529781588, -0.0577962933"},
        {"MirroredNotQuite",
         {100, 50},
         {"0", "50", "40", "29.97"},
         LineCase::Diagonal,
         "-26.5650511771, 0.0000000000, 50.0000000000, -22.3606797750, 44.7213595500, "
         "44.7347840053, -67.0686148697"},
    };
    for (const auto& r : rows) {
        for (const Accuracy level : {Accuracy::Nauwkeurig, Accuracy::Middel, Accuracy::Laag}) {
            SCOPED_TRACE(std::string(r.name) + " " + std::string(AccuracyText(level)));
            const std::optional<ConvertedLine> line = ConvertFiguurLijn(r.tile, r.cells, level);
            ASSERT_TRUE(line.has_value());
            EXPECT_EQ(line->text, r.line);
            EXPECT_EQ(line->lineCase, r.lineCase);
        }
    }
}

struct Step {
    const char* name;
    RowCells cells;  // in a 100 x 100 tile
    Accuracy accuracy;
    long long climb;
    long long run;
    long double tolerance;
};

TEST(ConvertFiguurLijn, ReportsTheLatticeStepAndTheStageItAccepted) {
    // The worked lines fix the rest; these fix the stage each level stops at.
    const RowCells falling = {"10", "80", "40", "70"};
    const RowCells fine = {"0", "0", "30", "10.05"};
    const RowCells steep = {"58.439", "56.591", "61.394", "95.654"};
    const Step steps[] = {
        {"GeneralFalling", falling, Accuracy::Nauwkeurig, -1, 3, 0.1L},
        {"FineNauwkeurig", fine, Accuracy::Nauwkeurig, 67, 200, 0.1L},
        {"FineLaag", fine, Accuracy::Laag, 1, 3, 0.6L},
        {"SteepMiddel", steep, Accuracy::Middel, 66, 5, 10},
        {"SteepLaag", steep, Accuracy::Laag, 13, 1, 22},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.name);
        const std::optional<ConvertedLine> line =
            ConvertFiguurLijn({100, 100}, st.cells, st.accuracy);
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(line->repeat.climb, st.climb);
        EXPECT_EQ(line->repeat.run, st.run);
        EXPECT_EQ(line->tolerance, st.tolerance);
    }
}

TEST(FindRepeat, FindsTheFirstWidthCountOfTheSmallestHeightCount) {
    struct Row {
        const char* name;
        int limit;
        long double offset;
        long double tolerance;
        long double direction;
        std::optional<RepeatStep> expected;
    };
    const long double halfPi = std::numbers::pi_v<long double> / 2;
    const Row rows[] = {
        {"OneHeightOverTwoWidths", 150, 0, 0.1L, std::atan(0.5L), RepeatStep{1, 2}},
        {"NeighbourLineHalfAHeightUp", 150, 50, 0.1L, std::atan(0.5L), RepeatStep{1, 1}},
        {"ThreeHeightsOverTenWidths", 150, 0, 0.1L, std::atan(0.3L), RepeatStep{3, 10}},
        {"LooserStageTakesAnEarlierHeight", 150, 0, 20, std::atan(0.3L), RepeatStep{1, 3}},
        {"TooSteepForTheLimit", 150, 0, 1, std::atan(200.0L), std::nullopt},
        {"SteepWithinALargerLimit", 250, 0, 1, std::atan(200.0L), RepeatStep{200, 1}},
        {"VerticalHasNoRise", 150, 0, 1, halfPi, std::nullopt},
        {"FallingDirection", 150, 0, 1, -std::atan(0.5L), std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::optional<RepeatStep> step =
            FindRepeat({100, 100}, r.limit, r.offset, r.tolerance, r.direction);
        ASSERT_EQ(step.has_value(), r.expected.has_value());
        if (step) {
            EXPECT_EQ(step->climb, r.expected->climb);
            EXPECT_EQ(step->run, r.expected->run);
        }
    }
}

TEST(Accuracy, LevelsBoundTheHeightsAndTheStages) {
    EXPECT_EQ(RepeatLimit(Accuracy::Nauwkeurig), 150);
    EXPECT_EQ(RepeatLimit(Accuracy::Middel), 100);
    EXPECT_EQ(RepeatLimit(Accuracy::Laag), 50);
    const std::vector<long double> fine = {0.1L, 0.2L, 0.4L, 0.6L, 0.8L, 1.0L};
    const std::span<const long double> n = ToleranceStages(Accuracy::Nauwkeurig);
    EXPECT_EQ(std::vector<long double>(n.begin(), n.end()), fine);
    const std::span<const long double> m = ToleranceStages(Accuracy::Middel);
    ASSERT_EQ(m.size(), 20u);
    EXPECT_EQ(m[6], 1.2L);
    EXPECT_EQ(m[9], 1.8L);
    EXPECT_EQ(m[10], 2);
    EXPECT_EQ(m[19], 20);
    const std::span<const long double> l = ToleranceStages(Accuracy::Laag);
    ASSERT_EQ(l.size(), 35u);
    EXPECT_EQ(l[20], 22);
    EXPECT_EQ(l[34], 50);
    EXPECT_TRUE(std::is_sorted(l.begin(), l.end()));

    EXPECT_EQ(AccuracyFromText("Middel"), Accuracy::Middel);
    EXPECT_EQ(AccuracyFromText("Laag"), Accuracy::Laag);
    EXPECT_EQ(AccuracyFromText("Nauwkeurig"), Accuracy::Nauwkeurig);
    EXPECT_EQ(AccuracyFromText("laag"), std::nullopt);
    EXPECT_EQ(AccuracyFromIndex(-1), Accuracy::Nauwkeurig);  // no item chosen
    EXPECT_EQ(AccuracyFromIndex(2), Accuracy::Laag);
}

TEST(FigureHatchLines, WritesTheHeaderEveryRowAndTheClosingLineAndListsFailedRows) {
    TextGrid grid(5, 6);
    const RowCells rows[] = {{"10", "10", "60", "10"},
                             {"58.439", "56.591", "61.394", "95.654"},
                             {"", "", "", ""},
                             {"0", "0", "50", "50"},
                             {"58.439", "56.591", "61.394", "95.654"}};
    for (int r = 1; r <= 5; ++r) {
        for (int c = 1; c <= 4; ++c)
            grid.SetCell(c, r, std::string(rows[r - 1][c - 1]));
    }
    test::FakePlatform platform;
    const FigureHatch hatch = FigureHatchLines({100, 100}, grid, {"INCH", "DRAFTING", "hek, 2 m"},
                                               Accuracy::Nauwkeurig, &platform);
    const LineList expected = {
        ";%UNITS=INCH",
        ";",
        "*hek, 2 m",
        ";%TYPE=DRAFTING",
        ";",
        "0.0000000000, 10.0000000000, 10.0000000000, 0.0000000000, 100.0000000000, "
        "50.0000000000, -50.0000000000",
        // An empty line would end the pattern in a CAD program; the empty row 3 is no segment.
        "; Geen oplossing gevonden voor lijn: 2",
        "45.0000000000, 0.0000000000, 0.0000000000, 70.7106781187, 70.7106781187, "
        "70.7106781187, -70.7106781187",
        "; Geen oplossing gevonden voor lijn: 5",
        ";",
    };
    EXPECT_EQ(hatch.lines, expected);
    EXPECT_EQ(hatch.failedRows, (std::vector<int>{2, 5}));
    EXPECT_EQ(FailedRowMessages(hatch.failedRows),
              (std::vector<std::string>{"Geen oplossing gevonden voor lijn: 2",
                                        "Geen oplossing gevonden voor lijn: 5"}));
    // Each converted row under the busy cursor, the previous one back after it.
    std::vector<Cursor> cursors;
    for (int r = 0; r < 4; ++r)
        cursors.insert(cursors.end(), {Cursor::Busy, Cursor::Default});
    EXPECT_EQ(platform.cursorChanges, cursors);

    // Without a platform (the command line) the same lines.
    EXPECT_EQ(
        FigureHatchLines({100, 100}, grid, {"INCH", "DRAFTING", "hek, 2 m"}, Accuracy::Nauwkeurig)
            .lines,
        expected);
}

}  // namespace
}  // namespace murvex::figure
