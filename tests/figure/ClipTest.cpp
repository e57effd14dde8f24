// Clipping segments to a 10 x 10 tile: edges, corners, vertical and horizontal, misses.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "Clip.h"

namespace murvex::figure {
namespace {

struct ClipRow {
    const char* name;
    TileSegment in;
    std::optional<TileSegment> out;
};

TileSegment S(long double x1, long double y1, long double x2, long double y2) {
    return {{x1, y1}, {x2, y2}};
}

void ExpectNear(const TileSegment& actual, const TileSegment& expected) {
    constexpr long double kTol = 1e-15L;
    EXPECT_LE(std::fabs(actual.start.x - expected.start.x), kTol);
    EXPECT_LE(std::fabs(actual.start.y - expected.start.y), kTol);
    EXPECT_LE(std::fabs(actual.end.x - expected.end.x), kTol);
    EXPECT_LE(std::fabs(actual.end.y - expected.end.y), kTol);
}

TEST(ClipFiguurLijn, TenByTenTile) {
    const ClipRow rows[] = {
        {"inside stays", S(1, 2, 3, 4), S(1, 2, 3, 4)},
        {"inside, exchanged so x grows", S(3, 4, 1, 2), S(1, 2, 3, 4)},
        {"on the edges stays", S(0, 0, 10, 10), S(0, 0, 10, 10)},
        {"exchanged, start to the left edge", S(5, 5, -5, 5), S(0, 5, 5, 5)},
        {"horizontal through both sides", S(-5, 5, 15, 5), S(0, 5, 10, 5)},
        {"horizontal out to the right", S(5, 5, 15, 5), S(5, 5, 10, 5)},
        {"vertical up from below", S(4, -1, 4, 6), S(4, 0, 4, 6)},
        {"vertical up through the top", S(4, 6, 4, 12), S(4, 6, 4, 10)},
        {"vertical down from above", S(4, 12, 4, 6), S(4, 10, 4, 6)},
        {"vertical down through the bottom", S(4, 6, 4, -2), S(4, 6, 4, 0)},
        {"vertical through top and bottom", S(4, -1, 4, 11), S(4, 0, 4, 10)},
        {"vertical on the left edge", S(0, -1, 0, 5), S(0, 0, 0, 5)},
        {"rising through the top", S(5, 8, 8, 14), S(5, 8, 6, 10)},
        {"rising from below", S(2, -2, 6, 6), S(3, 0, 6, 6)},
        {"falling from above", S(2, 12, 6, 4), S(3, 10, 6, 4)},
        {"falling through the bottom", S(2, 6, 6, -2), S(2, 6, 5, 0)},
        {"out through the right side", S(5, 5, 15, 7), S(5, 5, 10, 6)},
        {"in at the left, out at the top", S(-2, 4, 4, 16), S(0, 8, 1, 10)},
        {"diagonal through two corners", S(-1, -1, 11, 11), std::nullopt},
        {"touching the top right corner", S(8, 12, 12, 8), std::nullopt},
        {"along the top edge out to the right", S(5, 10, 15, 10), std::nullopt},
        {"wholly right", S(11, 2, 15, 3), std::nullopt},
        {"wholly left", S(-5, 2, -1, 3), std::nullopt},
        {"wholly above", S(2, 12, 5, 15), std::nullopt},
        {"wholly below", S(2, -5, 5, -3), std::nullopt},
        {"vertical right of the tile", S(13, 5, 13, 12), std::nullopt},
        {"vertical left of the tile, up through the top line", S(-3, 5, -3, 12), std::nullopt},
        {"vertical left of the tile, within its height", S(-3, 2, -3, 8), std::nullopt},
        {"vertical left of the tile, down through the bottom line", S(-3, 5, -3, -4), std::nullopt},
    };
    for (const ClipRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<TileSegment> out = ClipFiguurLijn(row.in, 10, 10);
        ASSERT_EQ(out.has_value(), row.out.has_value());
        if (out) ExpectNear(*out, *row.out);
    }
}

// Points inside the tile are never moved, not even by rounding.
TEST(ClipFiguurLijn, KeepsTheInsidePointExactly) {
    const TileSegment in = S(0.1L, 0.3L, 13.7L, 9.9L);
    const std::optional<TileSegment> out = ClipFiguurLijn(in, 10, 10);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->start, in.start);
    EXPECT_EQ(out->end.x, 10.0L);
}

// A steep segment from far below: both crossings are computed through its slope, and rounding
// must not leave the end points in the wrong order.
TEST(ClipFiguurLijn, OrdersTheEndPointsOfASteepSegmentFromFarAway) {
    const TileSegment in = S(143359 / 1000.0L, 3, 13317 / 1000.0L, -999999999999.985717773);
    const std::optional<TileSegment> out = ClipFiguurLijn(in, 256, 2);
    ASSERT_TRUE(out);
    EXPECT_LE(out->start.x, out->end.x);
    EXPECT_NEAR(static_cast<double>(out->start.x), 143.359, 1e-6);
    EXPECT_NEAR(static_cast<double>(out->end.x), 143.359, 1e-6);
    EXPECT_EQ(std::fabs(out->start.y - out->end.y), 2.0L);
}

}  // namespace
}  // namespace murvex::figure
