// Pattern geometry: families, dash phases, shifts, clipping, and input that must not hang.
#include "PatternGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "NumberText.h"

namespace murvex {
namespace {

PatternLine Line(double angle, double x, double y, double shiftX, double shiftY,
                 std::vector<double> dashes = {}) {
    return {angle, x, y, shiftX, shiftY, std::move(dashes)};
}

std::string Text(const DrawnSegment& s) {
    return Fmt(s.x1) + " " + Fmt(s.y1) + " " + Fmt(s.x2) + " " + Fmt(s.y2);
}

std::vector<std::string> Texts(const DrawResult& r) {
    std::vector<std::string> out;
    for (const DrawnSegment& s : r.segments)
        out.push_back(Text(s));
    return out;
}

using Expected = std::vector<std::string>;

struct Row {
    const char* name;
    PatternLine line;
    Box box;
    Expected segments;
};

class Geometry : public testing::TestWithParam<Row> {};

TEST_P(Geometry, DrawsExactlyTheseSegments) {
    const Row& row = GetParam();
    const DrawResult r = DrawPattern({row.line}, row.box);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(Texts(r), row.segments);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Geometry,
    testing::Values(
        // Lines at y = 0, 3, 6, 9: the box edges belong to the box.
        Row{"solidFamily",
            Line(0, 0, 0, 0, 3),
            {0, 0, 10, 10},
            Expected{"0.000 0.000 10.000 0.000", "0.000 3.000 10.000 3.000",
                     "0.000 6.000 10.000 6.000", "0.000 9.000 10.000 9.000"}},
        // Lines below the origin belong to the family as well (k < 0).
        Row{"negativeIndices",
            Line(0, 0, 5, 0, 2),
            {0, 0, 1, 3.5},
            Expected{"0.000 1.000 1.000 1.000", "0.000 3.000 1.000 3.000"}},
        // The dashes start at the origin: 1..3, 4..6, 7..9; the dash ending at 0 and the one
        // starting at 10 only touch the box.
        Row{"dashPhase",
            Line(0, 1, 0, 0, 100, {2, -1}),
            {0, -1, 10, 1},
            Expected{"1.000 0.000 3.000 0.000", "4.000 0.000 6.000 0.000",
                     "7.000 0.000 9.000 0.000"}},
        Row{"clippedDashes",
            Line(0, 0, 0, 0, 100, {4, -2}),
            {1, 0, 8, 0},
            Expected{"1.000 0.000 4.000 0.000", "6.000 0.000 8.000 0.000"}},
        // Line k starts its dashes k * shiftX further along.
        Row{"shiftAlong",
            Line(0, 0, 0, 1, 1, {1, -2}),
            {0, 0, 3, 2},
            Expected{"0.000 0.000 1.000 0.000", "1.000 1.000 2.000 1.000",
                     "2.000 2.000 3.000 2.000"}},
        // A vertical family steps to the left: across is a quarter turn counter-clockwise.
        Row{"verticalStepsLeft",
            Line(90, 10, 0, 0, 4, {2, -3}),
            {0, 0, 10, 6},
            Expected{"10.000 0.000 10.000 2.000", "10.000 5.000 10.000 6.000",
                     "6.000 0.000 6.000 2.000", "6.000 5.000 6.000 6.000",
                     "2.000 0.000 2.000 2.000", "2.000 5.000 2.000 6.000"}},
        Row{"dots",
            Line(0, 0, 0, 0, 10, {0, -2.5}),
            {0, 0, 6, 1},
            Expected{"0.000 0.000 0.000 0.000", "2.500 0.000 2.500 0.000",
                     "5.000 0.000 5.000 0.000"}},
        // Two pen-down entries in a row draw one segment.
        Row{"touchingDashesJoin",
            Line(0, 0, 0, 0, 10, {2, 3, -5}),
            {0, 0, 20, 1},
            Expected{"0.000 0.000 5.000 0.000", "10.000 0.000 15.000 0.000"}},
        Row{"diagonalCornerToCorner",
            Line(45, 0, 0, 0, 1000),
            {0, 0, 2, 2},
            Expected{"0.000 0.000 2.000 2.000"}},
        // 180 degrees runs right to left: the dash starts at the origin and goes to -2.
        Row{"reversed",
            Line(180, 0, 0, 0, 100, {2, -2}),
            {-5, 0, 0, 0},
            Expected{"0.000 0.000 -2.000 0.000", "-4.000 0.000 -5.000 0.000"}},
        Row{"allGapsDrawNothing", Line(0, 0, 0, 0, 1, {-1, -2}), {0, 0, 5, 5}, Expected{}},
        Row{"lineOutsideTheBox", Line(0, 0, 20, 0, 0), {0, 0, 5, 5}, Expected{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeometryGuards, NoShiftAcrossDrawsOneLine) {
    const DrawResult r = DrawPattern({Line(0, 0, 1, 5, 0, {1, -1})}, {0, 0, 4, 4});
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(Texts(r), (Expected{"0.000 1.000 1.000 1.000", "2.000 1.000 3.000 1.000"}));
}

TEST(GeometryGuards, OnlyDotsOrDashesWithoutGapsDrawTheWholeLine) {
    for (const std::vector<double>& dashes :
         {std::vector<double>{0}, std::vector<double>{0, 0}, std::vector<double>{1e-300, 2}}) {
        const DrawResult r = DrawPattern({Line(0, 0, 0, 0, 10, dashes)}, {0, 0, 4, 4});
        EXPECT_EQ(Texts(r), (Expected{"0.000 0.000 4.000 0.000"}));
    }
}

TEST(GeometryGuards, NonFiniteLinesAreLeftOutAndTheRestDrawn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<PatternLine> lines = {
        Line(nan, 0, 0, 0, 1),         Line(0, inf, 0, 0, 1),  Line(0, 0, 0, 0, nan),
        Line(0, 0, 0, 0, 1, {1, nan}), Line(90, 1, 0, 0, 100),
    };
    const DrawResult r = DrawPattern(lines, {0, 0, 2, 2});
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(Texts(r), (Expected{"1.000 0.000 1.000 2.000"}));
    EXPECT_TRUE(DrawPattern(lines, {0, nan, 2, 2}).segments.empty());
    EXPECT_TRUE(DrawPattern({Line(0, 0, 0, 0, 1)}, {2, 0, 0, 2}).segments.empty());
}

TEST(GeometryGuards, DashListsWhoseSumOverflowsDrawNothing) {
    for (const std::vector<double>& dashes : std::vector<std::vector<double>>{
             {1e308, -1e308}, {1, -1e308, -1e308}, {1e308, 1e308, -1}}) {
        SCOPED_TRACE(dashes.size());
        const DrawResult r =
            DrawPattern({Line(0, 0, 0, 0, 1, dashes), Line(90, 1, 0, 0, 100)}, {0, 0, 10, 10});
        EXPECT_FALSE(r.truncated);
        EXPECT_EQ(Texts(r), (Expected{"1.000 0.000 1.000 10.000"}));
    }
}

TEST(GeometryGuards, ARunOfGapsDrawsAsOneGap) {
    std::vector<double> many = {1};
    many.insert(many.end(), 100000, -1e-5);
    const DrawResult r = DrawPattern({Line(0, 0, 0, 0, 1e9, many)}, {0, 0, 100000, 1});
    const DrawResult plain = DrawPattern({Line(0, 0, 0, 0, 1e9, {1, -1})}, {0, 0, 100000, 1});
    EXPECT_FALSE(r.truncated);
    ASSERT_EQ(r.segments.size(), 50000u);
    EXPECT_EQ(Texts(r), Texts(plain));
}

// Long dash lists whose entries draw nothing visible: the work is bounded, not only the output.
TEST(GeometryGuards, DashStepsCountAgainstTheCap) {
    std::vector<double> invisible;
    for (int i = 0; i < 50000; ++i) {
        invisible.push_back(1e-300);
        invisible.push_back(-1e-300);
    }
    invisible.push_back(1);
    invisible.push_back(-1);
    // 10,000 periods of 100,002 entries each, for 10,000 segments under a cap of 20,000.
    const DrawResult r = DrawPattern({Line(0, 0, 0, 0, 1e9, invisible)}, {0, 0, 20000, 1}, 20000);
    EXPECT_TRUE(r.truncated);
    EXPECT_LT(r.segments.size(), 10000u);
    for (const DrawnSegment& s : r.segments)
        EXPECT_EQ(s.x2 - s.x1, 1.0) << Text(s);
}

TEST(GeometryGuards, FarTooDenseFamiliesStopAtTheCap) {
    // 4000 / 1e-9 lines across the box.
    DrawResult r = DrawPattern({Line(0, 0, 0, 0, 1e-9)}, {0, 0, 4000, 4000}, 1000);
    EXPECT_TRUE(r.truncated);
    EXPECT_LE(r.segments.size(), 1000u);
    // Lines that all fall into gaps still end the work.
    r = DrawPattern({Line(0, 0, 0, 1e6, 1e-9, {1, -1e9})}, {5, 0, 6, 4000}, 1000);
    EXPECT_TRUE(r.truncated);
    // Dashes far too short for the box.
    r = DrawPattern({Line(0, 0, 0, 0, 10, {1e-12, -1e-12})}, {0, 0, 4000, 4000}, 1000);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(r.segments.size(), 1000u);
    // Dashes too short to show at all, and gaps alone, however short.
    r = DrawPattern({Line(0, 0, 0, 0, 10, {1e-300, -1e-12})}, {0, 0, 4000, 4000}, 1000);
    EXPECT_TRUE(r.truncated);
    r = DrawPattern({Line(0, 0, 0, 0, 10, {-1e-12})}, {0, 0, 4000, 4000}, 1000);
    EXPECT_FALSE(r.truncated);
    EXPECT_TRUE(r.segments.empty());
}

TEST(GeometryGuards, FarAwayOriginsDoNotHang) {
    // The dash positions cannot be resolved 1e300 away from the origin: the result says so.
    const DrawResult r = DrawPattern({Line(0, -1e300, 0, 0, 1, {1, -1})}, {0, 0, 4, 4});
    EXPECT_TRUE(r.truncated);
    const DrawResult solid = DrawPattern({Line(0, -1e300, 0, 0, 1)}, {0, 0, 4, 4});
    EXPECT_EQ(solid.segments.size(), 5u);
    EXPECT_FALSE(solid.truncated);
    // Nor can the lines be counted one by one 1e300 lines away.
    const DrawResult across = DrawPattern({Line(0, 0, -1e300, 0, 1)}, {0, 0, 4, 4});
    EXPECT_TRUE(across.truncated);
    EXPECT_TRUE(across.segments.empty());
}

TEST(GeometryGuards, TheCapCountsAcrossFamilies) {
    const std::vector<PatternLine> lines = {Line(0, 0, 0, 0, 1), Line(90, 0, 0, 0, 1)};
    const DrawResult all = DrawPattern(lines, {0, 0, 9, 9});
    EXPECT_EQ(all.segments.size(), 20u);
    EXPECT_FALSE(all.truncated);
    const DrawResult capped = DrawPattern(lines, {0, 0, 9, 9}, 15);
    EXPECT_EQ(capped.segments.size(), 15u);
    EXPECT_TRUE(capped.truncated);
}

// A turned family drawn in a turned box gives the same pieces as the plain one, turned.
TEST(GeometryRotation, TurnedFamilyMatchesThePlainOne) {
    const PatternLine plain = Line(0, 0.5, 0.25, 0.75, 3, {2, -1.5, 0, -0.5});
    const DrawResult a = DrawPattern({plain}, {-20, -20, 20, 20});
    const double deg = 33;
    const double c = std::cos(deg * 3.14159265358979323846 / 180);
    const double s = std::sin(deg * 3.14159265358979323846 / 180);
    PatternLine turned = plain;
    turned.angle = deg;
    turned.x = plain.x * c - plain.y * s;
    turned.y = plain.x * s + plain.y * c;
    const DrawResult b = DrawPattern({turned}, {-40, -40, 40, 40});
    // Every piece of the plain drawing that lies wholly inside the circle of radius 20 is found.
    std::size_t matched = 0;
    std::size_t inside = 0;
    for (const DrawnSegment& p : a.segments) {
        if (std::hypot(p.x1, p.y1) > 19 || std::hypot(p.x2, p.y2) > 19) continue;
        ++inside;
        for (const DrawnSegment& q : b.segments) {
            if (std::fabs(q.x1 - (p.x1 * c - p.y1 * s)) < 1e-9 &&
                std::fabs(q.y1 - (p.x1 * s + p.y1 * c)) < 1e-9 &&
                std::fabs(q.x2 - (p.x2 * c - p.y2 * s)) < 1e-9 &&
                std::fabs(q.y2 - (p.x2 * s + p.y2 * c)) < 1e-9) {
                ++matched;
                break;
            }
        }
    }
    EXPECT_GT(inside, 30u);
    EXPECT_EQ(matched, inside);
}

}  // namespace
}  // namespace murvex
