// The text grid: size changes, cells and the current cell.
#include "TextGrid.h"

#include <gtest/gtest.h>

namespace murvex {
namespace {

TEST(TextGrid, GrowsWithEmptyRowsAndShrinksFromTheEnd) {
    TextGrid g(8, 2);
    EXPECT_EQ(g.ColCount(), 8);
    EXPECT_EQ(g.RowCount(), 2);
    g.SetCell(3, 1, "x");
    g.SetRowCount(4);
    EXPECT_EQ(g.Cell(3, 1), "x");
    EXPECT_EQ(g.Cell(3, 3), "");
    g.SetCell(2, 3, "y");
    g.SetRowCount(3);
    g.SetRowCount(4);
    EXPECT_EQ(g.Cell(2, 3), "");  // a dropped row comes back empty
}

TEST(TextGrid, IgnoresCellsOutsideTheGrid) {
    TextGrid g(3, 2);
    g.SetCell(3, 0, "x");
    g.SetCell(0, -1, "x");
    EXPECT_EQ(g.Cell(3, 0), "");
    EXPECT_EQ(g.Cell(-1, 5), "");
    EXPECT_TRUE(g.Row(9).empty());
}

TEST(TextGrid, KeepsTheCurrentCellInside) {
    TextGrid g(8, 5);
    g.SetCurrent(2, 4);
    EXPECT_EQ(g.CurrentRow(), 4);
    g.SetRowCount(3);
    EXPECT_EQ(g.CurrentRow(), 2);
    EXPECT_EQ(g.CurrentCol(), 2);
    g.SetCurrent(20, -3);
    EXPECT_EQ(g.CurrentCol(), 7);
    EXPECT_EQ(g.CurrentRow(), 0);
    const auto before = g.Revision();
    g.SetCell(1, 1, "a");
    EXPECT_GT(g.Revision(), before);
}

}  // namespace
}  // namespace murvex
