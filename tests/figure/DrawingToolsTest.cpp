// The drawing tools beside the specified protocol, through the interaction's events, on a 300 x
// 300 tile (s = 1: tile (x, y) is mouse pixel (x, 300 - y) at zoom 1).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "FigureUndo.h"
#include "Interaction.h"
#include "RecordingCanvas.h"
#include "Selection.h"
#include "Snaps.h"
#include "View.h"

namespace murvex::figure {
namespace {

using Cells = std::array<std::string, 4>;

Pixel At(int x, int y) {
    return {x, 300 - y};
}

struct Tools : ::testing::Test {
    void SetUp() override {
        model = FigureModel();
        ASSERT_TRUE(InitFiguur(model, canvas, 300, 300));
    }
    void SetRows(const std::vector<Cells>& rows) {
        model.grid.SetRowCount(2 + static_cast<int>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            for (int c = 0; c < 4; ++c)
                model.grid.SetCell(1 + c, static_cast<int>(i) + 1, rows[i][c]);
        }
    }
    Reaction ClickAt(Pixel p) {
        MouseMove(model, canvas, p);
        return Click(model, canvas, p);
    }
    Cells Row(int row) const {
        return {model.grid.Cell(1, row), model.grid.Cell(2, row), model.grid.Cell(3, row),
                model.grid.Cell(4, row)};
    }
    int Last() const { return model.grid.RowCount() - 1; }
    FigureModel model;
    test::RecordingCanvas canvas;
};

TEST_F(Tools, EachSnapTakesItsPointAndShowsItsKind) {
    struct Case {
        const char* name;
        bool SnapSettings::*on;
        std::vector<Cells> rows;
        Pixel mouse;
        std::string x, y;
        SnapKind kind;
    };
    const Case cases[] = {
        {"grid of 25", &SnapSettings::grid, {}, At(37, 61), "25.000", "50.000", SnapKind::Grid},
        {"mid point",
         &SnapSettings::midPoints,
         {{"100", "100", "200", "100"}},
         At(153, 104),
         "150.000",
         "100.000",
         SnapKind::MidPoint},
        {"intersection",
         &SnapSettings::intersections,
         {{"100", "100", "200", "200"}, {"100", "200", "200", "100"}},
         At(153, 148),
         "150.000",
         "150.000",
         SnapKind::Intersection},
        {"nearest point",
         &SnapSettings::nearest,
         {{"100", "100", "200", "200"}},
         At(150, 154),
         "152.000",
         "152.000",
         SnapKind::Nearest},
        {"tile corner",
         &SnapSettings::tile,
         {},
         At(296, 4),
         "300.000",
         "0.000",
         SnapKind::TileCorner},
        {"tile edge",
         &SnapSettings::tile,
         {},
         At(150, 297),
         "150.000",
         "300.000",
         SnapKind::TileEdge},
        {"the right copy's start",
         &SnapSettings::neighbours,
         {{"2", "100", "50", "100"}},
         At(297, 102),
         "302.000",
         "100.000",
         SnapKind::Neighbour},
        {"an end point before a mid point",
         &SnapSettings::midPoints,
         {{"100", "100", "106", "100"}},
         At(103, 101),
         "100.000",
         "100.000",
         SnapKind::EndPoint},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        SetRows(c.rows);
        model.interaction.snaps.gridSpacing = 25;
        model.interaction.snaps.*c.on = true;
        const Reaction moved = MouseMove(model, canvas, c.mouse);
        ASSERT_TRUE(moved.marker);
        EXPECT_EQ(moved.marker->kind, c.kind);
        Click(model, canvas, c.mouse);
        EXPECT_EQ(model.grid.Cell(kColXStart, Last()), c.x);
        EXPECT_EQ(model.grid.Cell(kColYStart, Last()), c.y);
        // With "Snap On" cleared nothing snaps.
        SetUp();
        SetRows(c.rows);
        model.interaction.snaps.*c.on = true;
        SetSnap(model, false);
        EXPECT_FALSE(MouseMove(model, canvas, c.mouse).marker->kind != SnapKind::None);
    }
}

// The index finds what a look at every row finds: the end point snap of the rows, in their order.
TEST_F(Tools, IndexedEndPointSnapEqualsTheRowByRowSnap) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coord(-20, 320);
    for (int round = 0; round < 20; ++round) {
        std::vector<Cells> rows;
        for (int i = 0; i < 60; ++i) {
            rows.push_back({std::to_string(coord(random)), std::to_string(coord(random)),
                            std::to_string(coord(random)), std::to_string(coord(random))});
        }
        SetRows(rows);
        for (int probe = 0; probe < 200; ++probe) {
            const TilePoint p{static_cast<long double>(coord(random)),
                              static_cast<long double>(coord(random))};
            const auto indexed = FindSnap(model, p);
            const auto byRow = SnapToPoint(model, p);
            ASSERT_EQ(indexed.has_value(), byRow.has_value());
            if (byRow) {
                EXPECT_EQ(indexed->point, *byRow);
            }
        }
    }
}

TEST_F(Tools, TypedForms) {
    struct Case {
        const char* name;
        const char* text;
        char separator;
        Cells row;  // after the box closed with OK; empty: refused
    };
    const Case cases[] = {
        {"relative", "@215,0", '.', {"50.000", "100.000", "265.000", "100.000"}},
        {"relative, comma locale", "@2,5;-10", ',', {"50.000", "100.000", "52.500", "90.000"}},
        {"absolute", "30;40", '.', {"50.000", "100.000", "30.000", "40.000"}},
        {"absolute, point locale", "30,5,40", '.', {}},
        {"length and angle", "<50<90", '.', {"50.000", "100.000", "50.000", "150.000"}},
        {"relative length and angle", "@50<180", '.', {"50.000", "100.000", "0.000", "100.000"}},
        {"clipped like a typed length", "@400,0", '.', {"50.000", "100.000", "300.000", "100.000"}},
        {"a plain number stays a length", "2,5e1", '.', {"50.000", "100.000", "75.000", "100.000"}},
        {"no angle", "<50", '.', {}},
        {"three numbers", "@1;2;3", ',', {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ClickAt(At(50, 100));
        MouseMove(model, canvas, At(120, 100));
        ASSERT_TRUE(KeyPress(model, c.text[0], KeyFocus::FigureTab, 0, 0).openTypedLengthBox);
        const Reaction r = TypedLengthAccepted(model, canvas, c.text, c.separator);
        if (c.row[0].empty()) {
            EXPECT_EQ(r.warning, std::optional<std::string>(kInvalidLengthText));
        } else {
            EXPECT_EQ(Row(1), c.row);
            EXPECT_FALSE(model.interaction.drawing);
        }
    }
}

TEST_F(Tools, PolarAnglesLockNearTheirRays) {
    struct Case {
        const char* name;
        int step;
        Pixel mouse;
        double degrees;  // of the segment drawn; below 0: not locked
    };
    const Case cases[] = {
        {"near 30", 30, At(100 + 86, 100 + 53), 30},
        {"near 45", 45, At(100 + 70, 100 + 73), 45},
        {"near 15 below the axis", 15, At(100 + 96, 100 - 28), -15},
        {"far from any 45 ray", 45, At(100 + 90, 100 + 20), -1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        model.interaction.polarOn = true;
        model.interaction.polarStep = c.step;
        ClickAt(At(100, 100));
        ClickAt(c.mouse);
        const TileSegment s = RowSegment(model.grid, 1);
        const double angle = std::atan2(static_cast<double>(s.end.y - s.start.y),
                                        static_cast<double>(s.end.x - s.start.x)) *
                             180 / 3.14159265358979323846;
        if (c.degrees > -1000) {
            EXPECT_NEAR(angle, c.degrees, 0.01);
        } else {
            EXPECT_EQ(Row(1), (Cells{"100.000", "100.000", "190.000", "120.000"}));
        }
    }
}

TEST_F(Tools, ZoomKeepsThePointUnderTheMouseAndTheSnapRadiusInPixels) {
    const TilePoint before = PixelToTile(model, {120, 80});
    ASSERT_TRUE(ZoomAbout(model, canvas, {120, 80}, 4));
    const TilePoint after = PixelToTile(model, {120, 80});
    EXPECT_NEAR(static_cast<double>(after.x), static_cast<double>(before.x), 1e-9);
    EXPECT_NEAR(static_cast<double>(after.y), static_cast<double>(before.y), 1e-9);
    EXPECT_EQ(model.ViewSnapRadius(), 7.0L / 4);
    // The limits: a thousand pixels per unit, and a thousandth.
    EXPECT_TRUE(ZoomAbout(model, canvas, {0, 0}, 1e9));
    EXPECT_NEAR(static_cast<double>(PixelsPerUnit(model)), 1000, 1e-9);
    EXPECT_FALSE(ZoomAbout(model, canvas, {0, 0}, 2));
    EXPECT_TRUE(ZoomAbout(model, canvas, {0, 0}, 1e-12L));
    EXPECT_NEAR(static_cast<double>(PixelsPerUnit(model)), 0.001, 1e-15);
    // Passend at the designed size is the designed view exactly.
    FitTile(model, canvas);
    EXPECT_EQ(FiguurToPixel(model, {300, 0}).pixel, (Pixel{300, 300}));
    EXPECT_EQ(PixelToTile(model, {150, 150}), (TilePoint{150, 150}));
    // A pan moves the picture with the mouse.
    ASSERT_TRUE(PanBy(model, canvas, 10, -20));
    EXPECT_EQ(FiguurToPixel(model, {0, 300}).pixel, (Pixel{10, -20}));
}

TEST_F(Tools, GridSpacingRefusesBadValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double bad : {0.0, -1.0, nan, 0.2}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(SetGridSpacing(model, bad));
        EXPECT_EQ(model.interaction.snaps.gridSpacing, 10);
    }
    EXPECT_TRUE(SetGridSpacing(model, 0.5));  // 601 x 601 points
}

TEST_F(Tools, DraggedEndPointSnapsAndIsOneStep) {
    SetRows({{"100", "100", "200", "100"}, {"50", "50", "50", "250"}});
    EnterSelectionMode(model, canvas);
    FigureSteps steps;
    const FigureSnapshot before = Snapshot(model);
    Press(model, canvas, At(202, 101));
    MouseMove(model, canvas, At(120, 200));
    MouseMove(model, canvas, At(53, 247));  // within 7 pixels of the other row's end
    const Reaction r = Release(model, canvas, At(53, 247));
    EXPECT_TRUE(r.releaseHandled);
    EXPECT_EQ(Row(1), (Cells{"100", "100", "50.000", "250.000"}));
    const auto step = steps.Ran(before, model);
    ASSERT_TRUE(step);
    EXPECT_EQ(RowSegment(step->rows, 1).end, (TilePoint{200, 100}));
    // A press and release on the spot is the click that selects.
    Press(model, canvas, At(100, 100));
    EXPECT_FALSE(Release(model, canvas, At(101, 100)).releaseHandled);
}

TEST_F(Tools, WindowSelectsTheRowsInsideAndDeleteTakesThemAll) {
    SetRows({{"10", "10", "40", "40"}, {"100", "100", "200", "200"}, {"20", "20", "30", "35"}});
    EnterSelectionMode(model, canvas);
    Press(model, canvas, At(5, 50));
    EXPECT_TRUE(MouseMove(model, canvas, At(45, 5)).window->shown);
    EXPECT_TRUE(Release(model, canvas, At(45, 5)).releaseHandled);
    EXPECT_EQ(WindowRows(model), (std::vector<int>{1, 3}));
    DeleteSelection(model, canvas);
    EXPECT_EQ(Row(1), (Cells{"100", "100", "200", "200"}));
    EXPECT_EQ(model.grid.RowCount(), 3);  // the row and the empty one at the end
}

TEST_F(Tools, ChainStartsEachSegmentAtTheLastEndAndEachIsAStep) {
    model.interaction.chainOn = true;
    FigureSteps steps;
    int recorded = 0;
    for (const Pixel p : {At(10, 10), At(100, 10), At(100, 100)}) {
        const FigureSnapshot before = Snapshot(model);
        ClickAt(p);
        if (steps.Ran(before, model)) ++recorded;
    }
    EXPECT_EQ(Row(1), (Cells{"10.000", "10.000", "100.000", "10.000"}));
    EXPECT_EQ(Row(2), (Cells{"100.000", "10.000", "100.000", "100.000"}));
    EXPECT_EQ(Row(3), (Cells{"100.000", "100.000", "", ""}));
    EXPECT_EQ(recorded, 2);
    KeyDown(model, canvas, Key::Escape, false, KeyFocus::FigureTab);
    EXPECT_FALSE(model.interaction.drawing);
}

TEST_F(Tools, CopyMoveAndMirrorTheSelection) {
    struct Case {
        const char* name;
        SelectionEdit edit;
        long double a, b;
        std::vector<Cells> after;  // the data rows
    };
    const Case cases[] = {
        {"copy",
         SelectionEdit::Copy,
         10,
         5,
         {{"10", "10", "40", "10"}, {"20.000", "15.000", "50.000", "15.000"}}},
        {"move", SelectionEdit::Move, -5, 0, {{"5.000", "10.000", "35.000", "10.000"}}},
        {"move, clipped at the border",
         SelectionEdit::Move,
         -20,
         0,
         {{"0.000", "10.000", "20.000", "10.000"}}},
        {"mirror left-right in x = 100",
         SelectionEdit::MirrorLeftRight,
         100,
         0,
         {{"190.000", "10.000", "160.000", "10.000"}}},
        {"mirror up-down in y = 150",
         SelectionEdit::MirrorUpDown,
         150,
         0,
         {{"10.000", "290.000", "40.000", "290.000"}}},
        {"moved off the tile: gone", SelectionEdit::Move, 400, 0, {{"", "", "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        SetRows({{"10", "10", "40", "10"}});
        model.grid.SetRowCount(2);
        model.grid.SetCurrent(1, 1);
        ASSERT_TRUE(EditSelection(model, canvas, c.edit, c.a, c.b));
        ASSERT_EQ(model.grid.RowCount(), 1 + static_cast<int>(c.after.size()));
        for (std::size_t i = 0; i < c.after.size(); ++i)
            EXPECT_EQ(Row(static_cast<int>(i) + 1), c.after[i]);
    }
}

}  // namespace
}  // namespace murvex::figure
