// The compatible way of writing: short numbers that keep their values, the name line, empty
// lines, and figure lines fitted to 80 characters within the tile.
#include "CompatiblePattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "NumberText.h"
#include "PatternCheck.h"
#include "PatternGeometry.h"

namespace murvex {
namespace {

std::vector<double> FieldsOf(const PatternLine& line) {
    std::vector<double> fields = {line.angle, line.x, line.y, line.shiftX, line.shiftY};
    fields.insert(fields.end(), line.dashes.begin(), line.dashes.end());
    return fields;
}

TEST(CompatiblePattern, ShortNumbers) {
    struct Row {
        const char* text;
        bool keepZeroSign;
        const char* expected;
    };
    const Row rows[] = {
        {"12.500", false, "12.5"},     {"90.000", false, "90"}, {"100", false, "100"},
        {"0.000", false, "0"},         {"-0.000", false, "0"},  {"-0.000", true, "-0"},
        {"-0.0000000000", true, "-0"}, {"+3.10", false, "3.1"}, {" 7.0 ", false, "7"},
        {"1e2", false, "1e2"},         {"abc", false, "abc"},   {".50", false, ".50"},
        {"-12.0500", false, "-12.05"}, {"", false, ""},         {"5.", false, "5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ShortNumber(row.text, row.keepZeroSign), row.expected);
    }
}

TEST(CompatiblePattern, ShortLinesAndTheOtherLines) {
    struct Row {
        const char* name;
        const char* line;
        const char* expected;
    };
    const Row rows[] = {
        {"bond line with spaced separators", "0 , 0, 0, 125.000 , 100.000, -10.000",
         "0,0,0,125,100,-10"},
        {"a gap of 0 stays a gap", "26.5650511771, 0.0000000000, -0.0000000000, 1.5, 2, 3, -0.000",
         "26.5650511771,0,0,1.5,2,3,-0"},
        {"header", ";%UNITS=MM", ";%UNITS=MM"},
        {"comment", "; Geen oplossing gevonden voor lijn: 2",
         "; Geen oplossing gevonden voor lijn: 2"},
        {"typed text", "45, 0, abc, 0, 10", "45, 0, abc, 0, 10"},
        {"too few fields", "45, 0, 0, 0", "45, 0, 0, 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ShortPatternLine(row.line), row.expected);
    }
    EXPECT_EQ(CompatibleNameLine("naam arcering"), "*naam arcering, naam arcering");
    EXPECT_EQ(CompatibleNameLine("Tegel, 1"), "*Tegel, 1");
}

TEST(CompatiblePattern, ShortLinesKeepEveryValue) {
    std::mt19937 random(24);
    std::uniform_real_distribution<double> value(-1e5, 1e5);
    std::uniform_int_distribution<int> decimals(0, 10);
    for (int i = 0; i < 2000; ++i) {
        std::string line;
        for (int f = 0; f < 7; ++f) {
            if (f > 0) line += ", ";
            // Whole numbers and zeros too, where the point goes.
            const double v = i % 3 == 0 ? std::trunc(value(random)) : value(random);
            line += FmtDecimals(i % 5 == 0 ? 0.0 : v, decimals(random));
        }
        SCOPED_TRACE(line);
        const std::string shortLine = ShortPatternLine(line);
        const auto before = ParsePatternLine(line);
        const auto after = ParsePatternLine(shortLine);
        ASSERT_TRUE(before && after);
        EXPECT_EQ(FieldsOf(*before), FieldsOf(*after));
        EXPECT_EQ(shortLine.find(' '), std::string::npos);
    }
}

TEST(CompatiblePattern, CopyDeviationMeasuresMovedCopies) {
    const PatternLine line{30, 1, 2, 40, 25, {10, -30}};
    EXPECT_EQ(CopyDeviation(line, line, 100, 50), 0);

    PatternLine moved = line;
    moved.x += 3e-4;
    moved.y -= 4e-4;
    EXPECT_NEAR(CopyDeviation(line, moved, 100, 50), 5e-4, 1e-12);

    // A turned line moves its copies in proportion to their distance from its origin: at most
    // the far corner of 100 x 100 tiles, plus a dash length.
    PatternLine turned = line;
    turned.angle += 1e-6;
    const double reach = std::hypot(100.0 * 100 - 1, 100.0 * 50 - 2) + 40;
    const double turn = 1e-6 * std::numbers::pi / 180;
    const double deviation = CopyDeviation(line, turned, 100, 50);
    EXPECT_GT(deviation, turn * reach / 2);
    EXPECT_LT(deviation, turn * reach * 2);

    PatternLine noGap = line;
    noGap.dashes.pop_back();
    EXPECT_TRUE(std::isinf(CopyDeviation(line, noGap, 100, 50)));
    PatternLine flat = line;
    flat.shiftY = 0;
    EXPECT_TRUE(std::isinf(CopyDeviation(flat, flat, 100, 50)));
}

// Lines as the figure conversion writes them: seven numbers with ten decimals.
TEST(CompatiblePattern, FittedLinesStayWithinTheTileOrStayWhole) {
    std::mt19937 random(8);
    std::uniform_real_distribution<double> angle(-90, 90);
    std::uniform_real_distribution<double> unit(0, 1);
    int rounded = 0;
    for (int i = 0; i < 500; ++i) {
        const double w = 10 + 990 * unit(random);
        const double h = 10 + 990 * unit(random);
        const double scale = std::pow(10.0, 4 * unit(random));
        std::string line = Fmt10(angle(random));
        for (const double v :
             {w * unit(random), h * unit(random), scale * unit(random), h * unit(random) + 0.5,
              w * unit(random) + 0.1, -scale * unit(random) - 0.1}) {
            line += ", " + Fmt10(v);
        }
        SCOPED_TRACE(line);
        const FittedLine fitted = FitPatternLine(line, w, h);
        const auto exact = ParsePatternLine(line);
        const auto written = ParsePatternLine(fitted.text);
        ASSERT_TRUE(exact && written);
        if (!fitted.rounded) {
            EXPECT_EQ(fitted.text, ShortPatternLine(line));
            continue;
        }
        ++rounded;
        EXPECT_LE(fitted.text.size(), kCadLineLimit);
        EXPECT_LE(CopyDeviation(*exact, *written, w, h), kCompatibleTolerance * std::min(w, h));
        EXPECT_EQ(CopyDeviation(*exact, *written, w, h), fitted.deviation);
    }
    EXPECT_GT(rounded, 100);
    // A short line is never touched.
    EXPECT_EQ(FitPatternLine("45, 0, 0, 0, 10", 100, 100).text, "45,0,0,0,10");
}

// Lines FreeCAD draws otherwise than the other readers, and the same lines as it draws them
// alike; a line every reader draws alike keeps its text. Angles past a turn and zero gaps are the
// random lines' below; here what they cannot hit.
TEST(CompatiblePattern, ReaderNeutralLines) {
    struct Row {
        const char* name;
        const char* line;
        const char* expected;
    };
    const Row rows[] = {
        {"turned past 180: reversed", "-60,5,50,0,100,30,-70", "120,20,24.0192378865,0,100,30,-70"},
        {"turned exactly 180", "180,1,2,3,4", "0,1,2,3,4"},
        {"shift across negative: both shifts negated", "45,0,0,3,-10,5,-5", "45,0,0,-3,10,5,-5"},
        {"already neutral", "90, 0, 0, 0, 10, 5, -5", "90, 0, 0, 0, 10, 5, -5"},
        {"no pattern line", ";%UNITS=MM", ";%UNITS=MM"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReaderNeutralLine(row.line), row.expected);
    }
}

// Every segment of `a` has one of `b` within 1e-6 at both ends.
bool SameSegments(const std::vector<DrawnSegment>& a, const std::vector<DrawnSegment>& b) {
    if (a.size() != b.size()) return false;
    const auto near = [](const DrawnSegment& s, const DrawnSegment& t) {
        const auto d = [](double x1, double y1, double x2, double y2) {
            return std::hypot(x1 - x2, y1 - y2) < 1e-6;
        };
        return (d(s.x1, s.y1, t.x1, t.y1) && d(s.x2, s.y2, t.x2, t.y2)) ||
               (d(s.x1, s.y1, t.x2, t.y2) && d(s.x2, s.y2, t.x1, t.y1));
    };
    return std::all_of(a.begin(), a.end(), [&](const DrawnSegment& s) {
        return std::any_of(b.begin(), b.end(), [&](const DrawnSegment& t) { return near(s, t); });
    });
}

// The neutral line draws what the line draws, whatever its angle, shift and dashes.
TEST(CompatiblePattern, NeutralLinesDrawTheSameSegments) {
    std::mt19937 random(31);
    std::uniform_real_distribution<double> angle(-400, 400), at(-50, 50), along(-30, 30),
        across(8, 20), dash(0.5, 15);
    std::uniform_int_distribution<int> pairs(0, 3), zeroGap(0, 3);
    const Box box{0, 0, 100, 100};
    for (int i = 0; i < 300; ++i) {
        std::string line = Fmt(angle(random)) + "," + Fmt(at(random)) + "," + Fmt(at(random)) +
                           "," + Fmt(along(random)) + "," + Fmt(across(random));
        for (int k = pairs(random); k > 0; --k) {
            line += ',';
            line += Fmt(dash(random));
            line += ',';
            line += zeroGap(random) == 0 ? std::string("-0") : Fmt(-dash(random));
        }
        SCOPED_TRACE(line);
        const std::string neutral = ReaderNeutralLine(line);
        const auto before = ParsePatternLine(line);
        const auto after = ParsePatternLine(neutral);
        ASSERT_TRUE(before && after) << neutral;
        EXPECT_GE(after->angle, 0);
        EXPECT_LT(after->angle, 180);
        EXPECT_GE(after->shiftY, 0);
        EXPECT_TRUE(std::none_of(after->dashes.begin(), after->dashes.end(),
                                 [](double d) { return d == 0 && std::signbit(d); }));
        if (!after->dashes.empty()) {
            EXPECT_GE(after->dashes.front(), 0);
        }
        EXPECT_TRUE(
            SameSegments(DrawPattern({*before}, box).segments, DrawPattern({*after}, box).segments))
            << neutral;
    }
}

// The readers' own files are checked for every writer; here what only the list shows.
TEST(CompatiblePattern, ListGetsADescriptionAndNoEmptyLine) {
    LineList lines = {";%UNITS=MM", ";", "*", ";%TYPE=MODEL", "0, 0, 0, 0, 10.000", " ", ";"};
    MakeCompatible(lines);
    EXPECT_EQ(lines, (LineList{";%UNITS=MM", ";", "*, ", ";%TYPE=MODEL", "0,0,0,0,10", ";", ";"}));
}

}  // namespace
}  // namespace murvex
