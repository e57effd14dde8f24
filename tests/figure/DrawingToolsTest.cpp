// The drawing tools beside the specified protocol, through the interaction's events, on a 300 x
// 300 tile (s = 1: tile (x, y) is mouse pixel (x, 300 - y) at zoom 1).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "Clip.h"
#include "FigureEditing.h"
#include "FigureUndo.h"
#include "Interaction.h"
#include "NumberText.h"
#include "RecordingCanvas.h"
#include "Selection.h"
#include "Snaps.h"
#include "TypedInput.h"
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

// Each snap takes its point and shows its kind; exact points win over free ones (an end point, a
// mid point or a grid point in the snap window before a point somewhere on an edge), and the
// tile's corners can snap without its edges.
TEST_F(Tools, EachSnapTakesItsPointAndShowsItsKind) {
    struct Case {
        const char* name;
        std::vector<bool SnapSettings::*> on;
        double spacing;
        std::vector<Cells> rows;
        Pixel mouse;
        std::string x, y;
        SnapKind kind;
    };
    using S = SnapSettings;
    const Case cases[] = {
        {"grid of 25", {&S::grid}, 25, {}, At(37, 61), "25.000", "50.000", SnapKind::Grid},
        {"mid point",
         {&S::midPoints},
         25,
         {{"100", "100", "200", "100"}},
         At(153, 104),
         "150.000",
         "100.000",
         SnapKind::MidPoint},
        {"intersection",
         {&S::intersections},
         25,
         {{"100", "100", "200", "200"}, {"100", "200", "200", "100"}},
         At(153, 148),
         "150.000",
         "150.000",
         SnapKind::Intersection},
        {"nearest point",
         {&S::nearest},
         25,
         {{"100", "100", "200", "200"}},
         At(150, 154),
         "152.000",
         "152.000",
         SnapKind::Nearest},
        {"tile corner", {&S::tile}, 25, {}, At(296, 4), "300.000", "0.000", SnapKind::TileCorner},
        {"tile edge", {&S::tile}, 25, {}, At(150, 297), "150.000", "300.000", SnapKind::TileEdge},
        {"the right copy's start",
         {&S::neighbours},
         25,
         {{"2", "100", "50", "100"}},
         At(297, 102),
         "302.000",
         "100.000",
         SnapKind::Neighbour},
        {"an end point before a mid point",
         {&S::midPoints},
         25,
         {{"100", "100", "106", "100"}},
         At(103, 101),
         "100.000",
         "100.000",
         SnapKind::EndPoint},
        {"a grid point before the tile edge",
         {&S::grid, &S::tile},
         5,
         {},
         At(136, 297),
         "135.000",
         "295.000",
         SnapKind::Grid},
        {"the edge when no grid point is near",
         {&S::grid, &S::tile},
         50,
         {},
         At(120, 297),
         "120.000",
         "300.000",
         SnapKind::TileEdge},
        {"a grid point before the nearest point",
         {&S::grid, &S::nearest},
         5,
         {{"0", "1", "300", "2"}},
         At(151, 3),
         "150.000",
         "5.000",
         SnapKind::Grid},
        {"an end point before a grid point",
         {&S::grid},
         5,
         {{"101", "101", "200", "150"}},
         At(102, 102),
         "101.000",
         "101.000",
         SnapKind::EndPoint},
        {"a mid point before a grid point",
         {&S::grid, &S::midPoints},
         5,
         {{"100", "100", "200", "102"}},
         At(152, 102),
         "150.000",
         "101.000",
         SnapKind::MidPoint},
        {"tile corners alone: a corner",
         {&S::tileCorners},
         5,
         {},
         At(296, 4),
         "300.000",
         "0.000",
         SnapKind::TileCorner},
        {"tile corners alone: no edge",
         {&S::tileCorners},
         5,
         {},
         At(150, 297),
         "150.000",
         "297.000",
         SnapKind::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        SetRows(c.rows);
        model.interaction.snaps.gridSpacing = c.spacing;
        for (bool S::*on : c.on)
            model.interaction.snaps.*on = true;
        const Reaction moved = MouseMove(model, canvas, c.mouse);
        ASSERT_TRUE(moved.marker);
        EXPECT_EQ(moved.marker->kind, c.kind);
        Click(model, canvas, c.mouse);
        EXPECT_EQ(model.grid.Cell(kColXStart, Last()), c.x);
        EXPECT_EQ(model.grid.Cell(kColYStart, Last()), c.y);
        // With "Snap On" cleared nothing snaps.
        SetUp();
        SetRows(c.rows);
        for (bool S::*on : c.on)
            model.interaction.snaps.*on = true;
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
            // Row by row, as the click's snap is specified.
            std::optional<TilePoint> byRow;
            const long double r = model.ViewSnapRadius();
            for (int row = 1; row < model.grid.RowCount() && !byRow; ++row) {
                if (!RowComplete(model.grid, row)) continue;  // the empty last row
                const TileSegment s = RowSegment(model.grid, row);
                for (const TilePoint& q : {s.start, s.end}) {
                    if (!byRow && std::fabs(q.x - p.x) < r && std::fabs(q.y - p.y) < r) byRow = q;
                }
            }
            const auto indexed = FindSnap(model, p);
            ASSERT_EQ(indexed.has_value(), byRow.has_value());
            EXPECT_EQ(SnapToPoint(model, p), byRow);
            if (byRow) {
                EXPECT_EQ(indexed->point, *byRow);
            }
        }
    }
}

// The typed grammar is the same in every locale; the user's separator only shapes the warning.
// Points in either writing are the property test's below; here the forms that could be misread.
TEST_F(Tools, TypedForms) {
    struct Case {
        const char* name;
        const char* text;
        Cells row;  // after the box closed with OK; empty: refused, the segment still open
    };
    const Case cases[] = {
        {"relative", "@215,0", {"50.000", "100.000", "265.000", "100.000"}},
        {"x,y that reads as one number is a length",
         "30,40",
         {"50.000", "100.000", "80.400", "100.000"}},
        {"absolute with a decimal point", "30.5,40", {"50.000", "100.000", "30.500", "40.000"}},
        {"absolute with ;", "30;40", {"50.000", "100.000", "30.000", "40.000"}},
        {"two commas could be read two ways", "30,5,40", {}},
        {"@ with two commas", "@2,5,0", {}},
        {"length and angle", "<50<90", {"50.000", "100.000", "50.000", "150.000"}},
        {"relative length and angle", "@50<180", {"50.000", "100.000", "0.000", "100.000"}},
        {"length with a decimal comma at an angle",
         "@2,5<0",
         {"50.000", "100.000", "52.500", "100.000"}},
        {"clipped like a typed length", "@400,0", {"50.000", "100.000", "300.000", "100.000"}},
        {"a plain number stays a length", "2,5e1", {"50.000", "100.000", "75.000", "100.000"}},
        {"a length with a decimal comma", "100,5", {"50.000", "100.000", "150.500", "100.000"}},
        {"no angle", "<50", {}},
        {"three numbers", "@1;2;3", {}},
    };
    for (const char separator : {'.', ','}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", separator " << separator);
            SetUp();
            ClickAt(At(50, 100));
            MouseMove(model, canvas, At(120, 100));
            ASSERT_TRUE(KeyPress(model, c.text[0], KeyFocus::FigureTab, 0, 0).openTypedLengthBox);
            const Reaction r = TypedLengthAccepted(model, canvas, c.text, separator);
            if (c.row[0].empty()) {
                ASSERT_TRUE(r.warning);
                EXPECT_EQ(r.warning->rfind(kInvalidLengthText, 0), 0u);
                EXPECT_NE(r.warning->find("@50,20"), std::string::npos) << "the forms are named";
                EXPECT_EQ(r.warning->find(";") != std::string::npos, separator == ',');
                EXPECT_TRUE(model.interaction.drawing);
                EXPECT_EQ(Row(1), (Cells{"50.000", "100.000", "", ""}));
            } else {
                EXPECT_EQ(Row(1), c.row);
                EXPECT_FALSE(model.interaction.drawing);
            }
        }
    }
}

// Any two numbers typed as a point reads back as those numbers, written with a decimal point and
// a comma between them or with decimal commas and a ";".
TEST_F(Tools, TypedPointsReadTheSameWithEitherDecimalSeparator) {
    std::mt19937 random(32);
    std::uniform_int_distribution<long> thousandths(-999999, 999999);
    for (int i = 0; i < 2000; ++i) {
        const long a = thousandths(random);
        const long b = thousandths(random);
        const std::string pa = Fmt(static_cast<double>(a) / 1000);
        const std::string pb = Fmt(static_cast<double>(b) / 1000);
        auto comma = [](std::string t) {
            t[t.find('.')] = ',';
            return t;
        };
        for (const std::string& text :
             {std::string("@").append(pa).append(",").append(pb),
              std::string("@").append(comma(pa)).append(";").append(comma(pb))}) {
            SCOPED_TRACE(text);
            const std::optional<TypedInput> input = ParseTypedInput(text);
            ASSERT_TRUE(input);
            EXPECT_EQ(input->form, TypedInput::Form::Relative);
            EXPECT_EQ(Fmt(static_cast<double>(input->a)), pa);
            EXPECT_EQ(Fmt(static_cast<double>(input->b)), pb);
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
    steps.Reset(model);
    Press(model, canvas, At(202, 101));
    MouseMove(model, canvas, At(120, 200));
    MouseMove(model, canvas, At(53, 247));  // within 7 pixels of the other row's end
    const Reaction r = Release(model, canvas, At(53, 247));
    EXPECT_TRUE(r.releaseHandled);
    EXPECT_EQ(Row(1), (Cells{"100", "100", "50.000", "250.000"}));
    const auto step = steps.Ran(model);
    ASSERT_TRUE(step);
    // The step keeps the one row as it was.
    ASSERT_EQ(step->firstRow, 1);
    ASSERT_EQ(step->rows.size(), 1u);
    EXPECT_EQ(step->rows[0][kColXEind], "200");
    // A press and release on the spot is the click that selects.
    Press(model, canvas, At(100, 100));
    EXPECT_FALSE(Release(model, canvas, At(101, 100)).releaseHandled);
    // Delete with the button held takes the dragged row away: the release moves no other row.
    Press(model, canvas, At(50, 250));
    MouseMove(model, canvas, At(150, 150));
    DeleteSelectedSegment(model, canvas);
    EXPECT_FALSE(Release(model, canvas, At(150, 150)).selectedRow);
    EXPECT_EQ(Row(1), (Cells{"50", "50", "50", "250"}));
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
    steps.Reset(model);
    int recorded = 0;
    for (const Pixel p : {At(10, 10), At(100, 10), At(100, 100)}) {
        ClickAt(p);
        if (steps.Ran(model)) ++recorded;
    }
    EXPECT_EQ(Row(1), (Cells{"10.000", "10.000", "100.000", "10.000"}));
    EXPECT_EQ(Row(2), (Cells{"100.000", "10.000", "100.000", "100.000"}));
    EXPECT_EQ(Row(3), (Cells{"100.000", "100.000", "", ""}));
    EXPECT_EQ(recorded, 2);
    KeyDown(model, canvas, Key::Escape, false, KeyFocus::FigureTab);
    EXPECT_FALSE(model.interaction.drawing);
}

TEST_F(Tools, CopyMoveAndMirrorWrapByWholeTiles) {
    struct Case {
        const char* name;
        SelectionEdit edit;
        long double a, b;
        bool keep;
        EditResult result;
        std::vector<Cells> after;  // the data rows
    };
    const Cells original{"10", "10", "40", "10"};
    const Case cases[] = {
        {"copy",
         SelectionEdit::Copy,
         10,
         5,
         true,
         EditResult::Done,
         {original, {"20.000", "15.000", "50.000", "15.000"}}},
        {"move",
         SelectionEdit::Move,
         -5,
         0,
         true,
         EditResult::Done,
         {{"5.000", "10.000", "35.000", "10.000"}}},
        {"moved across the left edge: the part outside comes in at the right",
         SelectionEdit::Move,
         -20,
         0,
         true,
         EditResult::Done,
         {{"290.000", "10.000", "300.000", "10.000"}, {"0.000", "10.000", "20.000", "10.000"}}},
        {"mirror left-right in x = 100 keeps the original",
         SelectionEdit::MirrorLeftRight,
         100,
         0,
         true,
         EditResult::Done,
         {original, {"190.000", "10.000", "160.000", "10.000"}}},
        {"mirror up-down in y = 0, original not kept, wraps to the top edge",
         SelectionEdit::MirrorUpDown,
         0,
         0,
         false,
         EditResult::Done,
         {{"10.000", "290.000", "40.000", "290.000"}}},
        {"copy by 0,0 is refused",
         SelectionEdit::Copy,
         0,
         0,
         true,
         EditResult::OntoItself,
         {original}},
        {"copy by a whole tile is refused",
         SelectionEdit::Copy,
         300,
         -600,
         true,
         EditResult::OntoItself,
         {original}},
        {"mirror onto itself is refused",
         SelectionEdit::MirrorLeftRight,
         25,
         0,
         true,
         EditResult::OntoItself,
         {original}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        SetRows({original});
        model.grid.SetRowCount(2);
        model.grid.SetCurrent(1, 1);
        ShowSelectedRow(model, canvas, 1);  // the row shown red is what the edit takes
        ASSERT_EQ(EditSelection(model, canvas, c.edit, c.a, c.b, c.keep), c.result);
        ASSERT_EQ(model.grid.RowCount(), 1 + static_cast<int>(c.after.size()));
        for (std::size_t i = 0; i < c.after.size(); ++i)
            EXPECT_EQ(Row(static_cast<int>(i) + 1), c.after[i]);
    }
}

// Whatever the offset, the parts lie in the tile, run parallel to the segment and add up to its
// length: nothing is cut off.
TEST_F(Tools, WrappedPartsAreTheWholeSegment) {
    std::mt19937 random(2032);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_real_distribution<double> offset(-2000, 2000);
    for (int i = 0; i < 3000; ++i) {
        const long double w = 1 + std::floor(unit(random) * 400);
        const long double h = 1 + std::floor(unit(random) * 400);
        const TilePoint a{unit(random) * w, unit(random) * h};
        const TilePoint b{unit(random) * w, unit(random) * h};
        const long double dx = offset(random);
        const long double dy = offset(random);
        const long double length = std::hypot(b.x - a.x, b.y - a.y);
        const std::vector<TileSegment> parts =
            WrapIntoTile({{a.x + dx, a.y + dy}, {b.x + dx, b.y + dy}}, w, h);
        long double sum = 0;
        for (const TileSegment& p : parts) {
            const long double px = p.end.x - p.start.x;
            const long double py = p.end.y - p.start.y;
            sum += std::hypot(px, py);
            for (const TilePoint& q : {p.start, p.end})
                ASSERT_TRUE(q.x >= 0 && q.x <= w && q.y >= 0 && q.y <= h);
            EXPECT_NEAR(static_cast<double>((b.x - a.x) * py - (b.y - a.y) * px), 0,
                        1e-6 * static_cast<double>(length * length));
        }
        EXPECT_NEAR(static_cast<double>(sum), static_cast<double>(length), 1e-6);
    }
}

// Delete takes what is shown selected: after an empty window nothing, after a selection that row.
TEST_F(Tools, DeleteTakesWhatIsShownSelected) {
    SetRows({{"10", "10", "40", "40"}, {"100", "100", "200", "200"}});
    EnterSelectionMode(model, canvas);
    ClickAt(At(150, 150));
    ASSERT_EQ(ShownSelectedRow(model), 2);
    // An empty window clears the red.
    Press(model, canvas, At(250, 50));
    MouseMove(model, canvas, At(290, 20));
    Release(model, canvas, At(290, 20));
    EXPECT_EQ(ShownSelectedRow(model), 0);
    EXPECT_EQ(EditSelection(model, canvas, SelectionEdit::Move, 5, 0), EditResult::NothingSelected);
    DeleteSelection(model, canvas);
    EXPECT_EQ(Row(2), (Cells{"100", "100", "200", "200"}));
    // Selected again, a redraw keeps it red, and Delete takes it.
    ClickAt(At(150, 150));
    RedrawWithSelection(model, canvas);
    EXPECT_EQ(ShownSelectedRow(model), 2);
    DeleteSelection(model, canvas);
    EXPECT_EQ(model.grid.RowCount(), 3);
    EXPECT_EQ(Row(2), (Cells{"", "", "", ""}));
    // After a delete nothing is shown selected: a second Delete takes nothing.
    DeleteSelection(model, canvas);
    EXPECT_EQ(Row(1), (Cells{"10", "10", "40", "40"}));
}

// A picture fitted to the tile covers the tile at every zoom and pan.
TEST_F(Tools, ThePictureFollowsTheTile) {
    std::mt19937 random(41);
    std::uniform_int_distribution<int> pixel(0, 300);
    std::uniform_int_distribution<int> notches(-3, 3);
    for (int i = 0; i < 200; ++i) {
        if (i % 2) {
            WheelZoom(model, canvas, {pixel(random), pixel(random)}, 120 * notches(random));
        } else {
            PanBy(model, canvas, notches(random) * 7, notches(random) * 5);
        }
        const CanvasRect r =
            PictureOnCanvas(model, model.TilePixelWidth(), model.TilePixelHeight());
        const Pixel topLeft = FiguurToPixel(model, {0, 300}).pixel;
        const Pixel bottomRight = FiguurToPixel(model, {300, 0}).pixel;
        ASSERT_NEAR(r.left, topLeft.x, 0.5);
        ASSERT_NEAR(r.top, topLeft.y, 0.5);
        ASSERT_NEAR(r.left + r.width, bottomRight.x, 0.5);
        ASSERT_NEAR(r.top + r.height, bottomRight.y, 0.5);
    }
}

// In a larger window the canvas takes all the room of the designed square panel.
TEST_F(Tools, TheCanvasTakesTheRoomOfALargerWindow) {
    struct Case {
        const char* name;
        int w, h, windowWidth, windowHeight;
        int width, height;  // the canvas's extra size
    };
    const Case cases[] = {
        {"designed size: the tile's shape", 215, 65, 0, 0, 0, 0},
        {"a wide tile fills the height too", 215, 65, 100, 60, 100, 60 + 302 - 95},
        {"a square tile", 300, 300, 100, 60, 100, 60},
        {"a smaller window", 215, 65, -20, -10, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(InitFiguur(model, canvas, c.w, c.h));
        const CanvasExtra extra = CanvasRoom(model, c.windowWidth, c.windowHeight);
        EXPECT_EQ(extra.width, c.width);
        EXPECT_EQ(extra.height, c.height);
        // Given that room, a fitted tile fits it again.
        SetExtraCanvasSize(model, canvas, extra.width, extra.height);
        const Pixel corner = FiguurToPixel(model, {static_cast<long double>(c.w), 0}).pixel;
        EXPECT_TRUE(corner.x == model.CanvasWidth() - 2 || corner.y == model.CanvasHeight() - 2)
            << corner.x << "," << corner.y;
    }
}

}  // namespace
}  // namespace murvex::figure
