// Drawing, locking, snapping, typed lengths and selection through the interaction's events, on a
// 300 x 300 tile (s = 1: tile (x, y) is mouse pixel (x, 300 - y); a start point (x, y) is drawn
// on pixel (x, 300 - y) too).
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FigureEditing.h"
#include "Interaction.h"
#include "RecordingCanvas.h"

namespace murvex::figure {
namespace {

using test::DrawnLine;
using test::RecordingCanvas;
using Cells = std::array<std::string, 4>;

// The mouse pixel of a tile point.
Pixel At(int x, int y) {
    return {x, 300 - y};
}

Cells RowCells(const TextGrid& grid, int row) {
    return {grid.Cell(1, row), grid.Cell(2, row), grid.Cell(3, row), grid.Cell(4, row)};
}

// The not-xor lines drawn an odd number of times since the last fill: what is still inverted.
std::vector<std::pair<int, int>> Inverted(const RecordingCanvas& canvas) {
    std::map<std::array<int, 4>, int> count;
    for (const DrawnLine& l : canvas.lines) {
        if (l.notXor) ++count[{l.from.x, l.from.y, l.to.x, l.to.y}];
    }
    std::vector<std::pair<int, int>> ends;
    for (const auto& [line, n] : count) {
        if (n % 2 == 1) ends.push_back({line[2], line[3]});
    }
    return ends;
}

struct Drawing : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(InitFiguur(model, canvas, 300, 300));
        canvas.ClearRecords();
    }
    void SetRows(const std::vector<Cells>& rows) {
        model.grid.SetRowCount(1 + static_cast<int>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            for (int c = 0; c < 4; ++c)
                model.grid.SetCell(1 + c, static_cast<int>(i) + 1, rows[i][c]);
        }
    }
    // A move to the pixel and a click there, as the window sends them.
    Reaction ClickAt(Pixel p) {
        MouseMove(model, canvas, p);
        return Click(model, canvas, p);
    }
    int Last() const { return model.grid.RowCount() - 1; }
    FigureModel model;
    RecordingCanvas canvas;
};

TEST_F(Drawing, FirstClickSnapsToTheFirstNearPoint) {
    const Cells far{"10", "10", "20", "20"};
    struct Row {
        const char* name;
        std::vector<Cells> rows;
        bool snap;
        Pixel click;
        Cells expectedStart;  // X start, Y start of the new row
    };
    const Row rows[] = {
        {"6 px off in x and y snaps",
         {{"100", "100", "200", "200"}},
         true,
         At(106, 94),
         {"100.000", "100.000"}},
        {"7 px off in x does not",
         {{"100", "100", "200", "200"}},
         true,
         At(107, 100),
         {"107.000", "100.000"}},
        {"7 px off in y does not",
         {{"100", "100", "200", "200"}},
         true,
         At(100, 93),
         {"100.000", "93.000"}},
        {"an earlier row wins",
         {{"50", "50", "104", "104"}, {"100", "100", "250", "250"}},
         true,
         At(103, 103),
         {"104.000", "104.000"}},
        {"the start point wins over the end point",
         {far, {"100", "100", "102", "102"}},
         true,
         At(101, 101),
         {"100.000", "100.000"}},
        {"a point with an empty cell is skipped",
         {{"100", "", "102", "102"}},
         true,
         At(101, 101),
         {"102.000", "102.000"}},
        {"snapping off",
         {{"100", "100", "200", "200"}},
         false,
         At(103, 103),
         {"103.000", "103.000"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SetRows(row.rows);
        SetSnap(model, row.snap);
        const Reaction r = ClickAt(row.click);
        ASSERT_EQ(model.grid.RowCount(), static_cast<int>(row.rows.size()) + 2);
        EXPECT_EQ(RowCells(model.grid, Last()),
                  (Cells{row.expectedStart[0], row.expectedStart[1], "", ""}));
        EXPECT_EQ(r.selectedRow, Last());
        EXPECT_TRUE(model.interaction.drawing);
    }
}

TEST_F(Drawing, SecondClickLocksAndSnaps) {
    // Every segment starts at tile (100, 100): start pixel (100, 200).
    struct Row {
        const char* name;
        bool snap;
        bool shift;
        Pixel mouse;
        Pixel rubberEnd;    // where the rubber line ends: the locked pixel
        Cells expectedEnd;  // X eind, Y eind
    };
    const Row rows[] = {
        {"5 px above the start row locks horizontally",
         true,
         false,
         {150, 195},
         {150, 200},
         {"150.000", "100.000"}},
        {"6 px above does not lock", true, false, {150, 194}, {150, 194}, {"150.000", "106.000"}},
        {"5 px beside the start column locks vertically",
         true,
         false,
         {105, 150},
         {100, 150},
         {"100.000", "150.000"}},
        {"6 px beside does not lock", true, false, {106, 150}, {106, 150}, {"106.000", "150.000"}},
        {"Shift, larger x offset: horizontal",
         true,
         true,
         {180, 150},
         {180, 200},
         {"180.000", "100.000"}},
        {"Shift, larger y offset: vertical",
         true,
         true,
         {150, 100},
         {100, 100},
         {"100.000", "200.000"}},
        {"Shift, a tie: vertical", true, true, {160, 140}, {100, 140}, {"100.000", "160.000"}},
        {"snapping off: no lock", false, false, {150, 198}, {150, 198}, {"150.000", "102.000"}},
        {"snapping off with Shift: no lock",
         false,
         true,
         {180, 150},
         {180, 150},
         {"180.000", "150.000"}},
        {"a snapped click without Shift takes the point",
         true,
         false,
         {202, 203},
         {202, 200},
         {"200.000", "98.000"}},
        {"a snapped click with Shift keeps the lock",
         true,
         true,
         {202, 203},
         {202, 200},
         {"200.000", "100.000"}},
        {"the open segment's own start takes part",
         true,
         false,
         {104, 196},
         {104, 200},
         {"100.000", "100.000"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SetRows({{"200", "98", "200", "20"}});
        SetSnap(model, row.snap);
        ClickAt(At(100, 100));
        KeyDown(model, canvas, Key::Other, row.shift, KeyFocus::FigureTab);
        canvas.ClearRecords();
        MouseMove(model, canvas, row.mouse);
        ASSERT_FALSE(canvas.lines.empty());
        EXPECT_EQ(canvas.lines.back(),
                  (DrawnLine{{100, 200}, row.rubberEnd, PenColor::Black, 3, true}));
        Click(model, canvas, row.mouse);
        EXPECT_EQ(RowCells(model.grid, 2),
                  (Cells{"100.000", "100.000", row.expectedEnd[0], row.expectedEnd[1]}));
        EXPECT_FALSE(model.interaction.drawing);
        EXPECT_TRUE(Inverted(canvas).empty());
        EXPECT_EQ(canvas.lines.back().notXor, false);  // the segment itself, drawn for good
    }
}

TEST_F(Drawing, MouseMoveOnlyInvertsTheRubberLine) {
    SetRows({{"10", "10", "20", "20"}, {"30", "30", "40", "40"}});
    ClickAt(At(100, 100));
    canvas.ClearRecords();
    MouseMove(model, canvas, {150, 150});
    MouseMove(model, canvas, {160, 150});
    using C = RecordingCanvas::Call;
    EXPECT_EQ(canvas.calls, (std::vector<C>{C::NotXorLine, C::NotXorLine, C::NotXorLine}));
    EXPECT_EQ(Inverted(canvas), (std::vector<std::pair<int, int>>{{160, 150}}));
}

TEST_F(Drawing, StatusText) {
    struct Row {
        const char* name;
        bool snap;
        std::vector<Pixel> clicks;  // placed before the move
        Pixel mouse;
        const char* expected;
    };
    const Row rows[] = {
        {"top left pixel, nothing open", true, {}, {0, 0}, "X:0.000, Y:300.000"},
        {"to the left, locked",
         true,
         {At(150, 150)},
         {100, 150},
         "X:100.000, Y:150.000 L:50.000 <180.000"},
        {"straight down, locked",
         true,
         {At(150, 150)},
         {150, 250},
         "X:150.000, Y:50.000 L:100.000 <270.000"},
        {"on the start pixel points down",
         true,
         {At(150, 150)},
         {150, 150},
         "X:150.000, Y:150.000 L:0.000 <270.000"},
        {"30 degrees below the axis to the right",
         false,
         {At(10, 290)},
         {275, 163},
         "X:275.000, Y:137.000 L:305.997 <330.000"},
        {"up and right",
         false,
         {At(150, 150)},
         At(180, 190),
         "X:180.000, Y:190.000 L:50.000 <53.130"},
        {"up and left",
         false,
         {At(150, 150)},
         At(120, 190),
         "X:120.000, Y:190.000 L:50.000 <126.870"},
        {"down and left",
         false,
         {At(150, 150)},
         At(120, 110),
         "X:120.000, Y:110.000 L:50.000 <233.130"},
        {"down and right",
         false,
         {At(150, 150)},
         At(180, 110),
         "X:180.000, Y:110.000 L:50.000 <306.870"},
        {"after a segment is closed",
         true,
         {At(150, 150), At(200, 200)},
         {0, 0},
         "X:0.000, Y:300.000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SetSnap(model, row.snap);
        for (Pixel p : row.clicks)
            ClickAt(p);
        EXPECT_EQ(MouseMove(model, canvas, row.mouse).status, row.expected);
    }
}

// A length typed in the box; a text the box refuses is the typed forms' table (DrawingToolsTest).
TEST_F(Drawing, TypedLength) {
    enum class Box { Ok, Cancel };
    struct Row {
        const char* name;
        Pixel start;
        Pixel mouse;
        Box box;
        const char* text;
        Cells expected;  // the row after the box closed
        bool stillDrawing;
    };
    const Row rows[] = {
        {"25 down and to the right, not snapped to the point 1 away",
         At(100, 100),
         At(130, 60),
         Box::Ok,
         "25",
         {"100.000", "100.000", "115.000", "80.000"},
         false},
        {"25 up and to the left",
         At(100, 100),
         At(70, 140),
         Box::Ok,
         "25",
         {"100.000", "100.000", "85.000", "120.000"},
         false},
        {"25 along the locked horizontal, to the left",
         At(100, 100),
         {50, 202},
         Box::Ok,
         "25",
         {"100.000", "100.000", "75.000", "100.000"},
         false},
        {"25 along the locked vertical, up",
         At(100, 100),
         {100, 100},
         Box::Ok,
         "2,5e1",
         {"100.000", "100.000", "100.000", "125.000"},
         false},
        {"ending outside the tile: clipped",
         At(290, 150),
         {295, 150},
         Box::Ok,
         "25",
         {"290.000", "150.000", "300.000", "150.000"},
         false},
        {"Escape in the box: stays open",
         At(100, 100),
         At(130, 60),
         Box::Cancel,
         "25",
         {"100.000", "100.000", "", ""},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SetRows({{"116", "81", "116", "81"}});
        ClickAt(row.start);
        MouseMove(model, canvas, row.mouse);
        const Reaction opened = KeyPress(model, row.text[0], KeyFocus::FigureTab, 0, 0);
        ASSERT_TRUE(opened.openTypedLengthBox);
        Reaction closed;
        if (row.box == Box::Ok)
            closed = TypedLengthAccepted(model, canvas, row.text);
        else
            TypedLengthCancelled(model);
        EXPECT_EQ(RowCells(model.grid, 2), row.expected);
        EXPECT_EQ(model.interaction.drawing, row.stillDrawing);
        EXPECT_FALSE(model.interaction.typedLengthMode);
        EXPECT_EQ(closed.warning, std::nullopt);
        EXPECT_EQ(model.grid.RowCount(), 3);
    }
}

TEST_F(Drawing, DigitOpensTheBoxBesideTheLockedMouse) {
    const KeyFocus tab = KeyFocus::FigureTab;
    EXPECT_FALSE(KeyPress(model, '2', tab, 40, 30).openTypedLengthBox) << "nothing open";
    ClickAt(At(100, 100));
    MouseMove(model, canvas, {130, 203});  // locked to (130, 200)
    EXPECT_FALSE(KeyPress(model, 'x', tab, 40, 30).openTypedLengthBox) << "not a digit";
    // A digit typed into an edit, a combo box or a cell editor, or on another tab, is the
    // control's own.
    for (const KeyFocus other : {KeyFocus::TextControl, KeyFocus::OtherTab}) {
        const Reaction r = KeyPress(model, '2', other, 40, 30);
        EXPECT_FALSE(r.openTypedLengthBox);
        EXPECT_FALSE(r.keySwallowed);
        EXPECT_FALSE(model.interaction.typedLengthMode);
    }
    const Reaction r = KeyPress(model, '7', tab, 40, 30);
    ASSERT_TRUE(r.openTypedLengthBox);
    const TypedLengthBox& box = *r.openTypedLengthBox;
    EXPECT_EQ((std::array<int, 4>{box.left, box.top, box.width, box.height}),
              (std::array<int, 4>{180, 350, 122, 22}));
    EXPECT_EQ(box.text, "7");
    EXPECT_TRUE(r.keySwallowed);
    EXPECT_FALSE(KeyPress(model, '8', tab, 40, 30).openTypedLengthBox) << "the box is open";
    // After Cancel the mouse places the end again.
    TypedLengthCancelled(model);
    Click(model, canvas, {130, 203});
    EXPECT_EQ(RowCells(model.grid, 1), (Cells{"100.000", "100.000", "130.000", "100.000"}));
}

TEST_F(Drawing, EscapeAndSelectionModeAbandonTheOpenSegment) {
    enum class Event { Escape, OtherKey, SelectionMode };
    struct Row {
        const char* name;
        Event event;
        KeyFocus focus;
        bool abandoned;
        bool swallowed;
    };
    const Row rows[] = {
        {"Escape on the figure tab", Event::Escape, KeyFocus::FigureTab, true, true},
        {"Escape in an edit: the edit keeps its key", Event::Escape, KeyFocus::TextControl, true,
         false},
        {"Escape on another tab", Event::Escape, KeyFocus::OtherTab, true, false},
        {"another key on the figure tab", Event::OtherKey, KeyFocus::FigureTab, false, false},
        {"selection mode", Event::SelectionMode, KeyFocus::FigureTab, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SetRows({{"10", "10", "20", "20"}});
        ClickAt(At(100, 100));
        MouseMove(model, canvas, At(150, 150));
        Reaction r;
        switch (row.event) {
            case Event::Escape:
                r = KeyDown(model, canvas, Key::Escape, false, row.focus);
                break;
            case Event::OtherKey:
                r = KeyDown(model, canvas, Key::Other, false, row.focus);
                break;
            case Event::SelectionMode:
                r = EnterSelectionMode(model, canvas);
                break;
        }
        EXPECT_EQ(r.keySwallowed, row.swallowed);
        EXPECT_EQ(model.interaction.drawing, !row.abandoned);
        // The row the first point appended goes with the segment.
        ASSERT_EQ(model.grid.RowCount(), row.abandoned ? 2 : 3);
        if (!row.abandoned) {
            EXPECT_EQ(RowCells(model.grid, 2), (Cells{"100.000", "100.000", "", ""}));
        }
        EXPECT_EQ(model.grid.CurrentRow(), model.grid.RowCount() - 1);
        // The rubber line and the length in the status go with the segment at once.
        EXPECT_EQ(Inverted(canvas).size(), row.abandoned ? 0u : 1u);
        if (row.abandoned) {
            EXPECT_EQ(r.status, std::optional<std::string>("X:150.000, Y:150.000"));
        }
        MouseMove(model, canvas, At(160, 160));
        EXPECT_EQ(Inverted(canvas).size(), row.abandoned ? 0u : 1u);
    }
}

// However the segment is abandoned, the grid is what it was before its first point: a row the
// point appended goes, an empty last row it was written in stays, emptied.
TEST_F(Drawing, AbandoningGivesBackTheGridOfBeforeTheFirstPoint) {
    enum class Way { Escape, SelectionMode };
    const std::vector<std::vector<Cells>> figures{
        {{}},
        {{"10", "10", "20", "20"}},
        {{"10", "10", "20", "20"}, {}},
        {{"10", "10", "20", "20"}, {"30", "30", "40", "40"}},
    };
    for (const Way way : {Way::Escape, Way::SelectionMode}) {
        for (const std::vector<Cells>& figure : figures) {
            SCOPED_TRACE(testing::Message()
                         << "way " << static_cast<int>(way) << ", " << figure.size() << " rows");
            SetUp();
            model.interaction.selectionMode = false;
            SetRows(figure);
            const TextGrid before = model.grid;
            ClickAt(At(100, 100));
            MouseMove(model, canvas, At(150, 150));
            ASSERT_TRUE(model.interaction.drawing);
            switch (way) {
                case Way::Escape:
                    KeyDown(model, canvas, Key::Escape, false, KeyFocus::FigureTab);
                    break;
                case Way::SelectionMode:
                    EnterSelectionMode(model, canvas);
                    break;
            }
            EXPECT_FALSE(model.interaction.drawing);
            ASSERT_EQ(model.grid.RowCount(), before.RowCount());
            for (int r = 1; r < before.RowCount(); ++r)
                EXPECT_EQ(RowCells(model.grid, r), RowCells(before, r)) << "row " << r;
        }
    }
}

TEST_F(Drawing, NewStartAfterEscapeErasesTheOldRubberLine) {
    ClickAt(At(100, 100));
    MouseMove(model, canvas, At(150, 150));
    KeyDown(model, canvas, Key::Escape, false, KeyFocus::FigureTab);
    Click(model, canvas, At(150, 150));  // no move between: the old line is still shown
    MouseMove(model, canvas, At(200, 150));
    EXPECT_EQ(Inverted(canvas), (std::vector<std::pair<int, int>>{{200, 150}}));
}

TEST_F(Drawing, Cursors) {
    EXPECT_EQ(SetSnap(model, false).cursor, CanvasCursor::Kruis);
    EXPECT_EQ(EnterSelectionMode(model, canvas).cursor, CanvasCursor::Arrow);
    // Selection mode keeps its arrow whatever snapping becomes.
    EXPECT_EQ(SetSnap(model, true).cursor, CanvasCursor::Arrow);
    EXPECT_EQ(SetSnap(model, false).cursor, CanvasCursor::Arrow);
    EXPECT_EQ(EnterDrawingMode(model).cursor, CanvasCursor::Kruis);
    SetSnap(model, true);
    EXPECT_EQ(EnterDrawingMode(model).cursor, CanvasCursor::Teken);
}

TEST_F(Drawing, SelectionClick) {
    const std::vector<Cells> figure{
        {"100", "100", "200", "100"},  // horizontal
        {"20", "200", "80", "260"},    // 45 degrees
        {"250", "150", "250", "50"},   // vertical, drawn downward
        {"252", "50", "252", "150"},   // vertical, 2 to the right of row 3
    };
    struct Row {
        const char* name;
        Pixel click;
        int selected;  // 0: nothing
    };
    const Row rows[] = {
        {"4 px above a horizontal segment", At(150, 104), 1},
        {"4 px below it", At(150, 96), 1},
        {"5 px above it", At(150, 105), 0},
        {"4 px beyond its end, on its line", At(204, 100), 1},
        {"5 px beyond its end", At(205, 100), 0},
        {"5 px before its start", At(95, 100), 0},
        {"exactly on the 45-degree segment", At(50, 230), 2},
        {"7 px beside the 45-degree segment (4.95 px away)", At(57, 230), 2},
        {"8 px beside it (5.66 px away)", At(58, 230), 0},
        {"both verticals near: the earlier row wins", At(251, 100), 3},
        {"4 px right of the second vertical only", At(256, 100), 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SetRows(figure);
        model.grid.SetCurrent(1, 2);
        EnterSelectionMode(model, canvas);
        canvas.ClearRecords();
        const Reaction r = ClickAt(row.click);
        EXPECT_EQ(RowCells(model.grid, 1), figure[0]) << "nothing rewritten";
        if (row.selected == 0) {
            EXPECT_EQ(canvas.fills, 0);
            EXPECT_TRUE(canvas.lines.empty());
            EXPECT_EQ(model.grid.CurrentRow(), 2);
            continue;
        }
        EXPECT_EQ(r.selectedRow, row.selected);
        EXPECT_EQ(model.grid.CurrentRow(), row.selected);
        EXPECT_EQ(canvas.fills, 1);
        ASSERT_FALSE(canvas.lines.empty());
        const TileSegment s = RowSegment(model.grid, row.selected);
        EXPECT_EQ(canvas.lines.back(),
                  (DrawnLine{FiguurToPixel(model, s.start).pixel, FiguurToPixel(model, s.end).pixel,
                             PenColor::Red, 3, false}));
    }
}

TEST_F(Drawing, SelectionFollowsItsRowWhenTheRedrawDeletesOneAbove) {
    SetRows({{"400", "400", "500", "500"}, {"100", "100", "200", "100"}});
    // A segment left open with its rubber line shown ends on the click.
    ClickAt(At(20, 20));
    MouseMove(model, canvas, At(150, 102));
    EnterSelectionMode(model, canvas);
    const Reaction r = Click(model, canvas, At(150, 102));
    ASSERT_EQ(model.grid.RowCount(), 2);  // the open segment's row and the missing row 1 went
    EXPECT_EQ(r.selectedRow, 1);
    EXPECT_EQ(canvas.lines.back(), (DrawnLine{{100, 200}, {200, 200}, PenColor::Red, 3, false}));
    // The redraw took the rubber line with it: the next move inverts nothing.
    canvas.ClearRecords();
    MouseMove(model, canvas, At(20, 20));
    EXPECT_TRUE(canvas.lines.empty());
}

}  // namespace
}  // namespace murvex::figure
