// The rectangular repeat of known patterns, and what one tile of it draws.
#include <gtest/gtest.h>

#include <string>

#include "PatternRepeat.h"

namespace murvex {
namespace {

struct RepeatRow {
    const char* name;
    const char* lines;  // pattern lines, one per line
    RepeatStatus status;
    double width;
    double height;
    double scale;  // the power of ten that makes the sides whole; 0 for none
};

void PrintTo(const RepeatRow& row, std::ostream* os) {
    *os << row.name;
}

class RepeatRows : public testing::TestWithParam<RepeatRow> {};

TEST_P(RepeatRows, SmallestRepeat) {
    const RepeatRow& row = GetParam();
    const std::string text = row.lines;
    RepeatBounds bounds;
    bounds.tolerance = ToleranceOfText(text);
    const PatternRepeat r = FindPatternRepeat(ParsePatternText(text), bounds);
    EXPECT_EQ(r.status, row.status) << r.reason;
    if (row.status != RepeatStatus::Found) {
        EXPECT_FALSE(r.reason.empty());
        return;
    }
    EXPECT_NEAR(r.width, row.width, 1e-6 * row.width);
    EXPECT_NEAR(r.height, row.height, 1e-6 * row.height);
    EXPECT_EQ(r.scale, row.scale);
    EXPECT_EQ(r.reason.empty(), row.scale != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, RepeatRows,
    testing::Values(
        // Solid lines repeat along themselves at any distance: the tile is square.
        RepeatRow{"SolidHorizontal", "0, 0,0, 0,10", RepeatStatus::Found, 10, 10, 1},
        RepeatRow{"DashedHorizontal", "0, 0,0, 0,10, 7,-5", RepeatStatus::Found, 12, 10, 1},
        // A dash list that repeats itself within its length.
        RepeatRow{"DashListTwice", "0, 0,0, 0,10, 3,-3,3,-3", RepeatStatus::Found, 6, 10, 1},
        // Each line's dashes start 4 further along: five lines up before they line up again.
        RepeatRow{"ShiftAlong", "0, 0,0, 4,10, 15,-5", RepeatStatus::Found, 20, 50, 1},
        // Every family counts: across, dashes of 4 and lines 5 apart; up, lines 3 apart and dashes
        // of 2.
        RepeatRow{"TwoFamilies", "0, 0,0, 0,3, 2,-2\n90, 0,0, 0,5, 1,-1", RepeatStatus::Found, 20,
                  6, 1},
        // Kruisverband at the defaults: headers every 110, stretchers 220, the long course 1210.
        RepeatRow{"Kruisverband",
                  "0, 0,0, 0,125, 100,-10\n0, 0,62.5, 0,250, 210,-10\n"
                  "0, 165,187.5, 0,250, 210,-1000\n90, 0,0, 0,110, 50,-75\n"
                  "90, 0,62.5, 0,220, 50,-200\n90, 165,187.5, 0,1210, 50,-200",
                  RepeatStatus::Found, 2420, 250, 1},
        // One tile height over two widths, as the figure conversion writes it (tile 100 x 100).
        RepeatRow{"FigureRising",
                  "26.5650511771, 0.0000000000, 0.0000000000, 134.1640786500, 44.7213595500, "
                  "111.8033988750, -111.8033988750",
                  RepeatStatus::Found, 100, 100, 1},
        // Only together: the same dashed lines half a shift apart both ways, and the dashes of
        // one a third of their period along from the other's.
        RepeatRow{"HalfAShiftApart",
                  "0, 0,0, 0,10, 3,-3\n0, 2,5, 0,10, 3,-3\n0, 4,0, 0,10, 3,-3\n"
                  "0, 0,5, 0,10, 3,-3\n0, 2,0, 0,10, 3,-3\n0, 4,5, 0,10, 3,-3",
                  RepeatStatus::Found, 2, 5, 1},
        // The same, each written rounded on its own: the gaps differ in the last decimal.
        RepeatRow{"HalfAShiftApartRounded",
                  "0, 0,0, 0,10, 3,-2.9999999999\n0, 0,5, 0,10, 3,-3.0000000000",
                  RepeatStatus::Found, 6, 5, 1},
        // Nearly vertical, as the figure conversion wrote it (tile 74 x 390): the turn's error
        // is magnified a thousandfold in the height, which is whole all the same.
        RepeatRow{"FigureNearlyVertical",
                  "-89.9421728554, 50.2994762689, 270.8999994714, -389.9998013664, 0.3936168208, "
                  "199.2001003988, -73120.8372427450",
                  RepeatStatus::Found, 74, 390, 1},
        RepeatRow{"Tenths", "0, 0,0, 0,0.3, 0.1,-0.2\n90, 0,0, 0,0.3, 0.1,-0.2",
                  RepeatStatus::Found, 0.3, 0.3, 10},
        // At 45 degrees the repeat is the shift times the square root of two.
        RepeatRow{"Diagonal", "45, 0,0, 0,5", RepeatStatus::Found, 7.0710678, 7.0710678, 0},
        RepeatRow{"IrrationalDirection", "30, 0,0, 0,10, 5,-5", RepeatStatus::NoRepeat, 0, 0, 0},
        RepeatRow{"DrawnOnce", "30, 0,0, 0,0, 5,-5", RepeatStatus::LineDrawnOnce, 0, 0, 0},
        RepeatRow{"OverTheBound", "0, 0,0, 0,10, 3,-4\n0, 0,5, 0,10, 5000,-15000.1",
                  RepeatStatus::NoRepeat, 0, 0, 0},
        RepeatRow{"Dense", "0, 0,0, 0,0.01, 0.01,-0.01\n90, 0,0, 0,997, 1,-996",
                  RepeatStatus::TooManySegments, 0, 0, 0},
        RepeatRow{"NothingDrawn", "0, 0,0, 0,10, -5", RepeatStatus::NoLines, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToleranceOfText, ExactUpToSixDecimalsElseHalfTheLastDecimal) {
    EXPECT_DOUBLE_EQ(ToleranceOfText("*A\n0, 0,0, 0,10, 5,-5\n"), kExactTolerance);
    EXPECT_DOUBLE_EQ(ToleranceOfText("*A\n0.000, 0,0, 0,62.123456\n;1.1234567\n"), kExactTolerance);
    // Half the last decimal, within the last bits of the system's pow.
    EXPECT_NEAR(ToleranceOfText("*A\n26.5650511771, 0,0, 0,62.5\n"), 5e-11, 1e-22);
}

// Pieces of one line that touch are one segment, the same line twice is drawn once, the top
// edge is left to the bottom one, and dots stay.
TEST(DrawTile, JoinsAndKeepsDots) {
    const std::string text =
        "0, 0,0, 0,10, 6,-4\n0, 3,0, 0,10, 3,-7\n0, 0,0, 0,10, 6,-4\n"
        "90, 5,5, 0,10, 0,-10\n0, 0,0, 0,10, 0,-10";
    const TileDrawing t = DrawTile(ParsePatternText(text), 10, 10, 1e-6);
    // y=0 [0,6], the dot at (5, 5) and the one at (0, 0) (whose copies at the other three corners
    // belong to the next tiles); y=10 is y=0's copy in the next tile.
    ASSERT_EQ(t.segments.size(), 3u);
    EXPECT_EQ(t.dots, 2u);
    EXPECT_EQ(t.joined, 8u);
    bool dot = false;
    for (const DrawnSegment& s : t.segments) {
        if (s.x1 == s.x2 && s.y1 == s.y2) dot = dot || (s.x1 == 5 && s.y1 == 5);
        if (s.y1 == 0 && s.y2 == 0 && s.x1 != s.x2) {
            EXPECT_DOUBLE_EQ(std::min(s.x1, s.x2), 0);
            EXPECT_DOUBLE_EQ(std::max(s.x1, s.x2), 6);
        }
    }
    EXPECT_TRUE(dot);
}

}  // namespace
}  // namespace murvex
