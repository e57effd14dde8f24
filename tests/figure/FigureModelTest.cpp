// The tile: scale, panel and canvas size, snap radius, the transforms and refused sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "FigureModel.h"
#include "RecordingCanvas.h"

namespace murvex::figure {
namespace {

using test::RecordingCanvas;

TEST(FigureTile, WideTileSpansThreeHundredPixels) {
    FigureModel model;
    RecordingCanvas canvas;
    ASSERT_TRUE(InitFiguur(model, canvas, 600, 300));
    EXPECT_EQ(model.Scale(), 2.0);
    EXPECT_EQ(model.PanelWidth(), 304);
    EXPECT_EQ(model.PanelHeight(), 154);
    EXPECT_EQ(model.SnapRadius(), 14.0L);
    EXPECT_EQ(canvas.width, 302);
    EXPECT_EQ(canvas.height, 152);
    EXPECT_EQ(canvas.fills, 1);
    EXPECT_EQ(canvas.penWidth, 3);

    EXPECT_EQ(FiguurToPixel(model, {0, 0}).pixel, (Pixel{0, 150}));
    EXPECT_EQ(FiguurToPixel(model, {600, 300}).pixel, (Pixel{300, 0}));
    EXPECT_EQ(FiguurToPixel(model, {123, 45}).pixel, (Pixel{62, 128}));  // 61.5, 22.5 go up
    EXPECT_EQ(PixelToTile(model, {0, 0}), (TilePoint{0, 300}));
    EXPECT_EQ(PixelToTile(model, {150, 75}), (TilePoint{300, 150}));
    EXPECT_EQ(PixelToTile(model, {302, 152}), (TilePoint{604, -4}));
}

TEST(FigureTile, SquareTileHasAFractionalScale) {
    FigureModel model;
    RecordingCanvas canvas;
    model.thickPen = false;
    ASSERT_TRUE(InitFiguur(model, canvas, 100, 100));
    EXPECT_DOUBLE_EQ(model.Scale(), 1.0 / 3.0);
    EXPECT_EQ(model.CanvasWidth(), 302);
    EXPECT_EQ(model.CanvasHeight(), 302);
    EXPECT_NEAR(static_cast<double>(model.SnapRadius()), 7.0 / 3.0, 1e-12);
    EXPECT_EQ(canvas.penWidth, 1);

    const TilePoint p = PixelToTile(model, {150, 150});
    EXPECT_NEAR(static_cast<double>(p.x), 50.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(p.y), 50.0, 1e-12);
    EXPECT_EQ(FiguurToPixel(model, {50, 50}).pixel, (Pixel{150, 150}));
    EXPECT_EQ(FiguurToPixel(model, {100, 100}).pixel, (Pixel{300, 0}));
}

TEST(FigureTile, VisibleFlagFollowsTheCanvasEdges) {
    FigureModel model;
    RecordingCanvas canvas;
    ASSERT_TRUE(InitFiguur(model, canvas, 600, 300));
    EXPECT_TRUE(FiguurToPixel(model, {604, 300}).visible);  // (302, 0)
    EXPECT_FALSE(FiguurToPixel(model, {606, 0}).visible);   // x 303
    EXPECT_FALSE(FiguurToPixel(model, {0, 302}).visible);   // y -1
    // Far outside: clamped to the pixel range, never wrapped.
    EXPECT_EQ(FiguurToPixel(model, {-1e30L, -1e30L}).pixel, (Pixel{INT_MIN, INT_MAX}));
    EXPECT_EQ(FiguurToPixel(model, {1e30L, 1e30L}).pixel, (Pixel{INT_MAX, INT_MIN}));
}

// Over random tiles: a pixel taken to the tile and back is the same pixel (a click is drawn
// under the mouse), and the tile's corners are the canvas pixels its edges are drawn on, both
// inside the canvas.
TEST(FigureTile, TransformsAreInversesAndTheCornersLieOnTheCanvas) {
    std::mt19937_64 rng(1707);
    std::uniform_int_distribution<int> side(1, 100000);
    for (int i = 0; i < 200; ++i) {
        FigureModel model;
        RecordingCanvas canvas;
        const int w = side(rng);
        const int h = i % 4 == 0 ? w : side(rng);
        ASSERT_TRUE(InitFiguur(model, canvas, w, h));
        SCOPED_TRACE(testing::Message() << "tile " << w << " x " << h);
        const int right = model.TilePixelWidth();
        const int bottom = model.TilePixelHeight();
        EXPECT_EQ(std::max(right, bottom), kCanvasSpan);
        EXPECT_EQ(FiguurToPixel(model, {0, 0}).pixel, (Pixel{0, bottom}));
        EXPECT_EQ(FiguurToPixel(model, {0, static_cast<long double>(h)}).pixel, (Pixel{0, 0}));
        EXPECT_EQ(FiguurToPixel(model, {static_cast<long double>(w), 0}).pixel,
                  (Pixel{right, bottom}));
        EXPECT_LT(right, model.CanvasWidth());
        EXPECT_LT(bottom, model.CanvasHeight());
        std::uniform_int_distribution<int> px(-10, model.CanvasWidth() + 10);
        std::uniform_int_distribution<int> py(-10, model.CanvasHeight() + 10);
        for (int k = 0; k < 50; ++k) {
            const Pixel p{px(rng), py(rng)};
            ASSERT_EQ(FiguurToPixel(model, PixelToTile(model, p)).pixel, p)
                << "pixel " << p.x << ", " << p.y;
        }
    }
}

TEST(FigureTile, NewFigureEmptiesTheGridAndResetsTheState) {
    FigureModel model;
    RecordingCanvas canvas;
    ASSERT_TRUE(InitFiguur(model, canvas, 600, 300));
    TextGrid& g = model.grid;
    g.SetRowCount(4);
    for (int r = 1; r <= 3; ++r)
        for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c)
            g.SetCell(c, r, "1.000");
    g.SetCurrent(2, 3);
    model.previousRow = 2;
    model.currentRow = 3;
    model.interaction.drawing = true;
    model.interaction.rubberShown = true;
    model.interaction.snapOn = false;

    ASSERT_TRUE(InitFiguur(model, canvas, 100, 50));
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.CurrentRow(), 1);
    EXPECT_EQ(g.Cell(0, 1), "1");
    for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c)
        EXPECT_EQ(g.Cell(c, 1), "");
    EXPECT_EQ(model.previousRow, 0);
    EXPECT_EQ(model.currentRow, 0);
    EXPECT_FALSE(model.interaction.drawing);
    EXPECT_FALSE(model.interaction.rubberShown);
    EXPECT_FALSE(model.interaction.snapOn);  // not the new figure's to reset
    EXPECT_EQ(model.CanvasWidth(), 302);
    EXPECT_EQ(model.CanvasHeight(), 152);
}

TEST(FigureTile, RefusedSizesChangeNothing) {
    struct Row {
        const char* name;
        const char* width;
        const char* height;
    };
    const Row rows[] = {
        {"decimal width", "10.5", "10"},
        {"letters", "abc", "10"},
        {"empty height", "10", ""},
        {"zero width", "0", "10"},
        {"both zero", "0", "0"},
        {"negative", "10", "-5"},
        {"beyond 32 bits", "2147483648", "10"},
        {"blank inside", "1 0", "10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FigureModel model;
        RecordingCanvas canvas;
        ASSERT_TRUE(InitFiguur(model, canvas, 600, 300));
        model.grid.SetCell(kColXStart, 1, "5");
        canvas.ClearRecords();
        EXPECT_FALSE(NewFigureFromTexts(model, canvas, row.width, row.height));
        EXPECT_EQ(model.TileWidth(), 600);
        EXPECT_EQ(model.TileHeight(), 300);
        EXPECT_EQ(model.Scale(), 2.0);
        EXPECT_EQ(model.grid.Cell(kColXStart, 1), "5");
        EXPECT_TRUE(canvas.calls.empty());
    }
}

TEST(FigureTile, WholeNumbersWithASign) {
    FigureModel model;
    RecordingCanvas canvas;
    ASSERT_TRUE(NewFigureFromTexts(model, canvas, "+600", "300"));
    EXPECT_EQ(model.TileWidth(), 600);
    EXPECT_EQ(ParseWholeNumber("-12"), -12);
    EXPECT_EQ(ParseWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(ParseWholeNumber("+-1"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("-"), std::nullopt);
}

TEST(FigureTile, NoFigureBeforeTheFirstSize) {
    FigureModel model;
    EXPECT_FALSE(model.HasFigure());
    EXPECT_EQ(model.SnapRadius(), 0.0L);
    EXPECT_EQ(model.CanvasWidth(), 300);
    EXPECT_EQ(model.grid.Cell(1, 0), "X start");
    EXPECT_EQ(model.grid.Cell(4, 0), "Y eind");
}

}  // namespace
}  // namespace murvex::figure
