// Drawing rows through the recording canvas, clipping them in the grid, and the row operations.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "FigureEditing.h"
#include "RecordingCanvas.h"

namespace murvex::figure {
namespace {

using test::DrawnLine;
using test::RecordingCanvas;
using Cells = std::array<std::string, 4>;

constexpr PenColor kBlack = PenColor::Black;
constexpr PenColor kRed = PenColor::Red;

// Puts the rows into the grid (numbered as the add command numbers them), row 1 current.
void SetRows(TextGrid& grid, const std::vector<Cells>& rows) {
    grid.SetRowCount(2);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        if (r > 1) {
            grid.SetCurrent(1, grid.RowCount() - 1);
            AddSegmentRow(grid);
        }
        for (int c = 0; c < 4; ++c)
            grid.SetCell(kFirstCoordCol + c, r, rows[i][c]);
    }
    grid.SetCurrent(1, 1);
}

std::vector<Cells> Rows(const TextGrid& grid) {
    std::vector<Cells> rows;
    for (int r = 1; r < grid.RowCount(); ++r)
        rows.push_back({grid.Cell(1, r), grid.Cell(2, r), grid.Cell(3, r), grid.Cell(4, r)});
    return rows;
}

std::vector<std::string> Numbers(const TextGrid& grid) {
    std::vector<std::string> numbers;
    for (int r = 1; r < grid.RowCount(); ++r)
        numbers.push_back(grid.Cell(0, r));
    return numbers;
}

// A 10 x 10 tile: s = 1/30, the canvas 302 x 302, tile (x, y) at pixel (30x, 300 - 30y).
struct TenByTen : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(InitFiguur(model, canvas, 10, 10));
        canvas.ClearRecords();
    }
    FigureModel model;
    RecordingCanvas canvas;
};

const Cells kA{"1", "1", "2", "2"};
const Cells kB{"3", "3", "4", "4"};
const Cells kC{"5", "5", "6", "6"};
const Cells kD{"7", "7", "8", "8"};
const Cells kEmpty{"", "", "", ""};

TEST(FigureRows, AddAndDelete) {
    struct Row {
        const char* name;
        int current;
        bool add;  // else delete
        std::vector<Cells> expected;
        bool deleted;
    };
    const Row rows[] = {
        {"add at row 2 inserts above it", 2, true, {kA, kEmpty, kB, kC, kD}, false},
        {"add at row 1 inserts at the top", 1, true, {kEmpty, kA, kB, kC, kD}, false},
        {"add at the last row appends", 4, true, {kA, kB, kC, kD, kEmpty}, false},
        {"delete row 2 pulls the rest up", 2, false, {kA, kC, kD}, true},
        {"delete the last row", 4, false, {kA, kB, kC}, true},
        {"delete with the header current does nothing", 0, false, {kA, kB, kC, kD}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TextGrid grid = MakeFiguurGrid();
        SetRows(grid, {kA, kB, kC, kD});
        grid.SetCurrent(2, row.current);
        bool deleted = false;
        if (row.add)
            AddSegmentRow(grid);
        else
            deleted = DeleteFiguurRow(grid);
        EXPECT_EQ(deleted, row.deleted);
        EXPECT_EQ(Rows(grid), row.expected);
        const std::vector<std::string> numbers{"1", "2", "3", "4", "5"};
        EXPECT_EQ(Numbers(grid),
                  std::vector<std::string>(numbers.begin(), numbers.begin() + row.expected.size()));
    }
}

TEST(FigureRows, TheOnlyDataRowIsNeverDeleted) {
    TextGrid grid = MakeFiguurGrid();
    SetRows(grid, {kA});
    EXPECT_FALSE(DeleteFiguurRow(grid));
    EXPECT_EQ(Rows(grid), std::vector<Cells>{kA});
}

TEST_F(TenByTen, EnterDrawsInsideClipsCrossingAndDropsOutside) {
    struct Row {
        const char* name;
        Cells typed;
        int row;  // of two data rows
        std::vector<Cells> expected;
        std::vector<DrawnLine> lines;
    };
    const Row rows[] = {
        {"inside: drawn, text kept",
         {"1", "2,5", "4", "9"},
         2,
         {kA, {"1", "2,5", "4", "9"}},
         {{{30, 225}, {120, 30}, kBlack, 3, false}}},
        {"crossing: clipped and rewritten",
         {"5", "5", "-5", "5"},
         2,
         {kA, {"0.000", "5.000", "5.000", "5.000"}},
         {{{0, 150}, {150, 150}, kBlack, 3, false}}},
        {"outside in row 2: deleted", {"20", "20", "30", "30"}, 2, {kA}, {}},
        {"outside in row 1: emptied, kept", {"20", "20", "30", "30"}, 1, {kEmpty, kA}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetRows(model.grid, {kA, kA});
        for (int c = 0; c < 4; ++c)
            model.grid.SetCell(kFirstCoordCol + c, row.row, row.typed[c]);
        model.grid.SetCurrent(1, row.row);
        canvas.ClearRecords();
        DrawEnteredRow(model, canvas);
        EXPECT_EQ(Rows(model.grid), row.expected);
        EXPECT_EQ(canvas.lines, row.lines);
        EXPECT_EQ(canvas.fills, 0);
    }
}

TEST_F(TenByTen, SelectionDrawsTheNewRowRedAndTheOldOneBlack) {
    SetRows(model.grid, {kA, kB, kC});
    ShowSelectedRow(model, canvas, 1);
    canvas.ClearRecords();
    ShowSelectedRow(model, canvas, 3);
    const std::vector<DrawnLine> expected{
        {{30, 270}, {60, 240}, kBlack, 3, false},
        {{150, 150}, {180, 120}, kRed, 3, false},
    };
    EXPECT_EQ(canvas.lines, expected);
    EXPECT_EQ(canvas.penColor, kBlack);
    EXPECT_EQ(model.previousRow, 1);
    EXPECT_EQ(model.currentRow, 3);

    // Selecting the same row again keeps the row left before.
    canvas.ClearRecords();
    ShowSelectedRow(model, canvas, 3);
    EXPECT_EQ(canvas.lines, expected);
}

// "+" makes the new empty row current, and the red segment turns black where it now is.
TEST_F(TenByTen, AddMakesTheNewRowCurrent) {
    struct Row {
        const char* name;
        int selected;
        int added;
        DrawnLine black;  // the selected segment, after the add
    };
    const Row rows[] = {
        {"the last row selected: appended", 3, 4, {{150, 150}, {180, 120}, kBlack, 3, false}},
        {"row 2 selected: inserted above it", 2, 2, {{90, 210}, {120, 180}, kBlack, 3, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SetRows(model.grid, {kA, kB, kC});
        model.grid.SetCurrent(1, row.selected);
        ShowSelectedRow(model, canvas, row.selected);
        canvas.ClearRecords();
        EXPECT_EQ(AddCurrentSegmentRow(model, canvas), row.added);
        EXPECT_EQ(model.grid.RowCount(), 5);
        EXPECT_EQ(model.grid.CurrentRow(), row.added);
        EXPECT_EQ(Rows(model.grid)[row.added - 1], kEmpty);
        EXPECT_EQ(model.currentRow, row.added);
        EXPECT_EQ(canvas.lines, std::vector<DrawnLine>{row.black});
    }
}

TEST_F(TenByTen, RedrawDeletesRowsThatMissTheTile) {
    SetRows(model.grid, {kA,
                         {"20", "20", "30", "30"},
                         {"-5", "5", "5", "5"},
                         {"1", "", "2", "2"},
                         {"-1", "-1", "11", "11"}});
    model.thickPen = false;
    RedrawFiguur(model, canvas);
    EXPECT_EQ(Rows(model.grid),
              (std::vector<Cells>{kA, {"0.000", "5.000", "5.000", "5.000"}, {"1", "", "2", "2"}}));
    EXPECT_EQ(Numbers(model.grid), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(canvas.fills, 1);
    EXPECT_EQ(canvas.width, 302);
    EXPECT_EQ(canvas.height, 302);
    const std::vector<DrawnLine> expected{
        {{0, 150}, {150, 150}, kBlack, 1, false},
        {{30, 270}, {60, 240}, kBlack, 1, false},
    };
    EXPECT_EQ(canvas.lines, expected);
}

// Against the rule as stated: from the last row up, a row that misses is deleted at once.
TEST_F(TenByTen, RedrawRemovesMissesAsDeletingEachAtOnceWould) {
    const Cells inside{"1", "1", "2", "2"};
    const Cells miss{"20", "20", "30", "30"};
    for (unsigned pattern = 0; pattern < 64; ++pattern) {
        SCOPED_TRACE(pattern);
        std::vector<Cells> rows;
        for (int i = 0; i < 6; ++i) {
            Cells c = (pattern >> i) & 1u ? miss : inside;
            c[0] = std::to_string(i + 1);
            if ((pattern >> i) & 1u) c[0] = std::to_string(20 + i);
            rows.push_back(c);
        }
        TextGrid expected = MakeFiguurGrid();
        SetRows(expected, rows);
        for (int r = expected.RowCount() - 1; r >= 1; --r) {
            if (expected.Cell(1, r).size() == 2) {  // a miss
                for (int c = 1; c <= 4; ++c)
                    expected.SetCell(c, r, "");
                expected.SetCurrent(1, r);
                DeleteFiguurRow(expected);
            }
        }
        SetRows(model.grid, rows);
        RedrawFiguur(model, canvas);
        EXPECT_EQ(Rows(model.grid), Rows(expected));
        EXPECT_EQ(Numbers(model.grid), Numbers(expected));
        EXPECT_EQ(model.grid.CurrentRow(), expected.CurrentRow());
    }
}

// Rows typed or read before the first tile exists cannot be drawn, but they are not lost.
TEST(FigureRedraw, WithoutATileKeepsEveryRow) {
    FigureModel model;
    RecordingCanvas canvas;
    SetRows(model.grid, {kA, kB, {"20", "20", "30", "30"}});
    RedrawFiguur(model, canvas);
    EXPECT_EQ(Rows(model.grid), (std::vector<Cells>{kA, kB, {"20", "20", "30", "30"}}));
    EXPECT_TRUE(canvas.lines.empty());
    model.grid.SetCurrent(1, 3);
    DrawEnteredRow(model, canvas);
    EXPECT_EQ(model.grid.RowCount(), 4);
}

TEST_F(TenByTen, GridClickRedrawsOnceAfterANewBackground) {
    SetRows(model.grid, {kA, kB});
    ShowSelectedRow(model, canvas, 2);
    canvas.ClearRecords();
    RedrawAfterBackgroundChange(model, canvas);
    EXPECT_TRUE(canvas.calls.empty());

    model.backgroundChanged = true;
    RedrawAfterBackgroundChange(model, canvas);
    EXPECT_FALSE(model.backgroundChanged);
    EXPECT_EQ(canvas.fills, 1);
    ASSERT_EQ(canvas.lines.size(), 3u);
    EXPECT_EQ(canvas.lines.back(), (DrawnLine{{90, 210}, {120, 180}, kRed, 3, false}));
}

TEST_F(TenByTen, DeleteSelectedSegmentRedraws) {
    SetRows(model.grid, {kA, kB});
    model.grid.SetCurrent(1, 1);
    DeleteSelectedSegment(model, canvas);
    EXPECT_EQ(Rows(model.grid), std::vector<Cells>{kB});
    EXPECT_EQ(canvas.fills, 1);
    EXPECT_EQ(canvas.lines, (std::vector<DrawnLine>{{{90, 210}, {120, 180}, kBlack, 3, false}}));
}

}  // namespace
}  // namespace murvex::figure
