// The free line grid: set-up, adding and deleting rows, and the lines of "Maak Hatch".
#include "LijnGrid.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "GridRows.h"
#include "SaveHatch.h"
#include "TempDir.h"

namespace murvex::freelines {
namespace {

using test::DataRows;
using test::GridWith;
using test::Numbers;
using test::Row7;
using test::RowOf;
using test::Rows;

const Rows kFour{Row7({"a"}), Row7({"b", "1"}), Row7({"c", "", "2"}), Row7({"d"})};

TEST(LijnGrid, StartsWithTheHeadersAndOneNumberedRow) {
    const TextGrid grid = MakeLijnGrid();
    EXPECT_EQ(grid.ColCount(), 8);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Row(0), (std::vector<std::string>{"Nr.", "Hoek", "X start", "Y start", "X shift",
                                                     "Y shift", "Pen Down", "Pen Up"}));
    EXPECT_EQ(Numbers(grid), std::vector<std::string>{"1"});
    EXPECT_EQ(DataRows(grid), Rows{Row7({})});
    EXPECT_EQ(grid.CurrentRow(), 1);
}

TEST(LijnGridAdd, InTheLastRowAppendsAnEmptyRow) {
    TextGrid grid = GridWith({kFour[0], kFour[1], kFour[2]});
    grid.SetCurrent(4, 3);
    InsertRowAtCurrent(grid);
    EXPECT_EQ(DataRows(grid), (Rows{kFour[0], kFour[1], kFour[2], Row7({})}));
    EXPECT_EQ(Numbers(grid), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(grid.CurrentRow(), 3);
    EXPECT_EQ(grid.CurrentCol(), 4);
}

TEST(LijnGridAdd, InTheMiddleInsertsAnEmptyRowAtTheCurrentRow) {
    TextGrid grid = GridWith(kFour);
    grid.SetCurrent(2, 2);
    InsertRowAtCurrent(grid);
    EXPECT_EQ(DataRows(grid), (Rows{kFour[0], Row7({}), kFour[1], kFour[2], kFour[3]}));
    EXPECT_EQ(Numbers(grid), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(grid.CurrentRow(), 2);
    EXPECT_EQ(grid.CurrentCol(), 2);
}

TEST(LijnGridAdd, InTheFirstOfTwoRowsInserts) {
    TextGrid grid = GridWith({kFour[0], kFour[1]});
    grid.SetCurrent(1, 1);
    InsertRowAtCurrent(grid);
    EXPECT_EQ(DataRows(grid), (Rows{Row7({}), kFour[0], kFour[1]}));
}

TEST(LijnGridAdd, NeverMovesTheHeaderRow) {
    TextGrid grid = GridWith({kFour[0], kFour[1]});
    grid.SetCurrent(1, 0);
    InsertRowAtCurrent(grid);
    EXPECT_EQ(grid.Cell(1, 0), "Hoek");
    EXPECT_EQ(DataRows(grid), (Rows{kFour[0], kFour[1], Row7({})}));
    EXPECT_EQ(Numbers(grid), (std::vector<std::string>{"1", "2", "3"}));
}

TEST(LijnGridDelete, MovesTheRowsBelowUp) {
    TextGrid grid = GridWith({kFour[0], kFour[1], kFour[2]});
    grid.SetCurrent(3, 2);
    DeleteCurrentRow(grid);
    EXPECT_EQ(DataRows(grid), (Rows{kFour[0], kFour[2]}));
    EXPECT_EQ(Numbers(grid), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(grid.CurrentRow(), 2);
}

// Rows with dash columns move whole: adding and deleting rows never leaves a dash value behind.
TEST(LijnGridDashColumns, MoveWithTheirRowsAndGoWithTheLastLongRow) {
    TextGrid grid = GridWith({Row7({"1"}), RowOf({"2", "0", "0", "0", "1", "5", "-1", "3"}, 8)});
    EXPECT_EQ(grid.ColCount(), 10);  // a whole pair for an odd count
    EXPECT_EQ(grid.Cell(8, 0), "Pen Down 2");
    EXPECT_EQ(grid.Cell(9, 0), "Pen Up 2");
    grid.SetCurrent(1, 1);
    InsertRowAtCurrent(grid);
    EXPECT_EQ(DataRows(grid), (Rows{RowOf({}, 9), RowOf({"1"}, 9),
                                    RowOf({"2", "0", "0", "0", "1", "5", "-1", "3"}, 9)}));
    EXPECT_EQ(RowLine(grid, 3), "2, 0, 0, 0, 1, 5, -1, 3");
    grid.SetCurrent(1, 3);
    DeleteCurrentRow(grid);
    FitDashColumns(grid);
    EXPECT_EQ(grid.ColCount(), kColCount);
    EXPECT_EQ(DataRows(grid), (Rows{Row7({}), Row7({"1"})}));
}

TEST(LijnGridDelete, NeverDeletesTheLastDataRow) {
    TextGrid grid = GridWith({kFour[1]});
    DeleteCurrentRow(grid);
    EXPECT_EQ(DataRows(grid), Rows{kFour[1]});
    EXPECT_EQ(Numbers(grid), std::vector<std::string>{"1"});
}

TEST(LijnGridDelete, DoesNothingWithTheHeaderRowCurrent) {
    TextGrid grid = GridWith({kFour[0], kFour[1]});
    grid.SetCurrent(1, 0);
    DeleteCurrentRow(grid);
    EXPECT_EQ(DataRows(grid), (Rows{kFour[0], kFour[1]}));
    EXPECT_EQ(grid.Cell(1, 0), "Hoek");
}

TEST(LijnGridDelete, ARowDeletedAndAddedBackComesBackEmpty) {
    struct Case {
        const char* name;
        int deleteRow;
    };
    for (const Case& c : {Case{"last row", 4}, Case{"middle row", 2}, Case{"first row", 1}}) {
        SCOPED_TRACE(c.name);
        TextGrid grid = GridWith(kFour);
        grid.SetCurrent(1, c.deleteRow);
        DeleteCurrentRow(grid);
        grid.SetCurrent(1, grid.RowCount() - 1);
        InsertRowAtCurrent(grid);
        EXPECT_EQ(DataRows(grid).back(), Row7({}));
        EXPECT_EQ(Numbers(grid), (std::vector<std::string>{"1", "2", "3", "4"}));
    }
}

TEST(LijnGrid, NumbersStayOneToNThroughMixedEdits) {
    TextGrid grid = MakeLijnGrid();
    const int currentRows[] = {1, 1, 2, 3, 1, 4, 2, 5, 1, 2};
    for (int i = 0; i < 10; ++i) {
        grid.SetCurrent(1, currentRows[i]);
        if (i % 3 == 2) {
            DeleteCurrentRow(grid);
        } else {
            InsertRowAtCurrent(grid);
        }
        std::vector<std::string> expected;
        for (int r = 1; r < grid.RowCount(); ++r)
            expected.push_back(std::to_string(r));
        ASSERT_EQ(Numbers(grid), expected) << "after step " << i;
    }
}

// The reader empties the grid down to one row in a single step; it must leave exactly what
// deleting the current row again and again leaves.
TEST(LijnGrid, ReduceToOneDataRowMatchesRepeatedDeletes) {
    for (int dataRows = 1; dataRows <= 5; ++dataRows) {
        for (int current = 1; current <= dataRows; ++current) {
            SCOPED_TRACE("rows " + std::to_string(dataRows) + ", current " +
                         std::to_string(current));
            Rows rows(kFour.begin(), kFour.begin() + std::min(dataRows, 4));
            if (dataRows == 5) rows.push_back(Row7({"e", "5"}));
            TextGrid slow = GridWith(rows);
            slow.SetCurrent(3, current);
            TextGrid fast = slow;
            while (slow.RowCount() > 2)
                DeleteCurrentRow(slow);
            ReduceToOneDataRow(fast);
            EXPECT_EQ(DataRows(fast), DataRows(slow));
            EXPECT_EQ(Numbers(fast), Numbers(slow));
            EXPECT_EQ(fast.CurrentRow(), slow.CurrentRow());
            EXPECT_EQ(fast.CurrentCol(), slow.CurrentCol());
            // The rows dropped on the way come back empty.
            fast.SetRowCount(dataRows + 1);
            slow.SetRowCount(dataRows + 1);
            EXPECT_EQ(DataRows(fast), DataRows(slow));
        }
    }
}

TEST(LijnGrid, ReduceWithTheHeaderRowCurrentKeepsTheFirstRow) {
    TextGrid grid = GridWith(kFour);
    grid.SetCurrent(1, 0);
    ReduceToOneDataRow(grid);
    EXPECT_EQ(DataRows(grid), Rows{kFour[0]});
    EXPECT_EQ(grid.Cell(1, 0), "Hoek");
}

struct WriterCase {
    const char* name;
    std::vector<std::string> cells;
    std::string line;
};

class MaakHatchRow : public ::testing::TestWithParam<WriterCase> {};

TEST_P(MaakHatchRow, WritesTheCellsOfOneRow) {
    const TextGrid grid = GridWith({Row7(GetParam().cells)});
    EXPECT_EQ(RowLine(grid, 1), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, MaakHatchRow,
    ::testing::Values(
        WriterCase{"AllSeven",
                   {"0", "0", "0", "0", "6.35", "6.35", "-6.35"},
                   "0, 0, 0, 0, 6.35, 6.35, -6.35"},
        WriterCase{"EmptyCellsAreSkipped", {"90", "", "5", "", "10"}, "90, 5, 10"},
        WriterCase{"EmptyHoekGivesAnEmptyLine", {"", "1", "2", "3", "4", "5", "6"}, ""},
        WriterCase{"TextsAsTyped", {" 45", "1,5", "x", "0 ", "", "", "+3"}, " 45, 1,5, x, 0 , +3"},
        WriterCase{"PenUpKeepsItsSign", {"0", "0", "0", "0", "1", "2", "3"}, "0, 0, 0, 0, 1, 2, 3"},
        WriterCase{"OnlyHoek", {"30"}, "30"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MaakHatch, WritesTheExampleFile) {
    const TextGrid grid = GridWith({Row7({"45", "0", "0", "0", "3.175"})});
    EXPECT_EQ(
        BuildFreeLineHatch(grid, PatternHeader{}),
        (LineList{";%UNITS=MM", ";", "*naam arcering", ";%TYPE=MODEL", "45, 0, 0, 0, 3.175", ";"}));
}

TEST(MaakHatch, WritesTypedTextsAndEveryRowInOrder) {
    const TextGrid grid = GridWith({Row7({"1"}), Row7({}), Row7({"3", "0"})});
    const PatternHeader texts{"cm ", "DRAFTING", "Tegels, wall tiles"};
    EXPECT_EQ(BuildFreeLineHatch(grid, texts), (LineList{";%UNITS=cm ", ";", "*Tegels, wall tiles",
                                                         ";%TYPE=DRAFTING", "1", "", "3, 0", ";"}));
}

TEST(MaakHatch, AnUntouchedGridStillGivesTheHeadersAndOneEmptyLine) {
    EXPECT_EQ(BuildFreeLineHatch(MakeLijnGrid(), PatternHeader{}),
              (LineList{";%UNITS=MM", ";", "*naam arcering", ";%TYPE=MODEL", "", ";"}));
}

TEST(MaakHatch, SavesThroughTheSaveFlowAndLeavesTheGridAlone) {
    murvex::test::TempDir dir;
    murvex::test::FakePlatform platform;
    FileDialog dialog = MakeSaveHatchDialog();
    const std::string file = dir.File("vrij");
    platform.dialogAnswers = {file};
    const TextGrid grid = GridWith({Row7({"45", "0", "0", "0", "3.175"})});
    const TextGrid before = grid;
    SaveFreeLineHatch(grid, PatternHeader{}, platform, dialog, 7);
    EXPECT_EQ(murvex::test::ReadText(file + ".pat"),
              ";%UNITS=MM\r\n;\r\n*naam arcering\r\n;%TYPE=MODEL\r\n45, 0, 0, 0, 3.175\r\n;\r\n");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.dialogs.at(0).owner, 7);
    EXPECT_EQ(DataRows(grid), DataRows(before));
}

}  // namespace
}  // namespace murvex::freelines
