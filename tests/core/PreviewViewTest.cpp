// The preview's view: fitting a box, zooming about a pixel, panning and the scale bar's length.
#include "PreviewView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace murvex {
namespace {

TEST(PreviewView, FitShowsTheWholeBoxCentred) {
    struct Row {
        const char* name;
        Box box;
        int width, height, margin;
        double scale;
        Box visible;  // what the picture shows
    };
    const Row rows[] = {
        {"wide box in a square picture", {0, 0, 200, 100}, 220, 220, 10, 1.0, {-10, -60, 210, 160}},
        {"tall box, away from the origin",
         {-50, 10, 0, 110},
         300,
         120,
         10,
         1.0,
         {-175, 0, 125, 120}},
        {"margin held to a quarter of the side",
         {0, 0, 10, 10},
         20,
         20,
         100,
         1.0,
         {-5, -5, 15, 15}},
        {"no height: the width decides", {0, 5, 100, 5}, 120, 60, 10, 1.0, {-10, -25, 110, 35}},
        {"a point keeps scale 1", {3, 4, 3, 4}, 10, 10, 0, 1.0, {-2, -1, 8, 9}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ViewTransform v = FitView(row.box, row.width, row.height, row.margin);
        EXPECT_DOUBLE_EQ(v.scale, row.scale);
        const Box seen = v.Visible(row.width, row.height);
        EXPECT_NEAR(seen.x0, row.visible.x0, 1e-9);
        EXPECT_NEAR(seen.y0, row.visible.y0, 1e-9);
        EXPECT_NEAR(seen.x1, row.visible.x1, 1e-9);
        EXPECT_NEAR(seen.y1, row.visible.y1, 1e-9);
    }
    const ViewTransform nan =
        FitView({std::numeric_limits<double>::quiet_NaN(), 0, 1, 1}, 100, 100, 0);
    EXPECT_TRUE(std::isfinite(nan.left) && std::isfinite(nan.top) && nan.scale > 0);
}

TEST(PreviewView, ZoomKeepsThePointUnderTheMouse) {
    const ViewTransform start{100, 500, 2.0};
    struct Row {
        const char* name;
        double px, py, factor;
        double scale;
    };
    const Row rows[] = {
        {"in at a corner", 0, 0, 2, 4},
        {"in off centre", 317, 45, 1.2, 2.4},
        {"out", 80, 600, 0.5, 1},
        {"held at the largest scale", 10, 20, 100, 8},
        {"held at the smallest scale", 10, 20, 0.001, 0.5},
        {"no factor: nothing changes", 10, 20, 0, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ViewTransform v = ZoomAbout(start, row.px, row.py, row.factor, 0.5, 8);
        EXPECT_DOUBLE_EQ(v.scale, row.scale);
        const ViewPoint before = start.ToDrawing(row.px, row.py);
        const ViewPoint after = v.ToDrawing(row.px, row.py);
        EXPECT_NEAR(after.x, before.x, 1e-9);
        EXPECT_NEAR(after.y, before.y, 1e-9);
    }
}

TEST(PreviewView, PanMovesTheDrawingWithTheMouse) {
    const ViewTransform start{100, 500, 4.0};
    const ViewTransform v = PanBy(start, 40, -20);
    // The drawing point that was at (10, 10) is now at (50, -10).
    const ViewPoint p = start.ToDrawing(10, 10);
    const ViewPoint q = v.ToPixel(p.x, p.y);
    EXPECT_NEAR(q.x, 50, 1e-9);
    EXPECT_NEAR(q.y, -10, 1e-9);
    EXPECT_DOUBLE_EQ(v.scale, 4.0);
}

TEST(PreviewView, ScaleBarIsTheLongestRoundLengthThatFits) {
    struct Row {
        const char* name;
        double scale, maxPixels;
        double length;
    };
    const Row rows[] = {
        {"exactly a power of ten", 1.0, 100, 100},
        {"a five", 1.0, 99, 50},
        {"a two", 1.0, 49, 20},
        {"a one", 1.0, 19, 10},
        {"small units", 1000.0, 150, 0.1},
        {"large units", 0.001, 160, 100000},
        {"a thousandth that is not exact in binary", 1000.0, 1, 0.001},
        {"two hundred-thousandths", 1e5, 2.5, 0.00002},
        {"five millionths", 1e6, 5, 0.000005},
        {"no scale", 0.0, 100, 0},
        {"no room", 1.0, 0, 0},
        {"infinite scale", std::numeric_limits<double>::infinity(), 100, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double length = ScaleBarLength(row.scale, row.maxPixels);
        // Exactly the double nearest to the decimal length, on every system.
        EXPECT_EQ(length, row.length);
        if (length > 0) {
            EXPECT_LE(length * row.scale, row.maxPixels * (1 + 1e-12));
        }
    }
}

}  // namespace
}  // namespace murvex
