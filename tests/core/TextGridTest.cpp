// The text grid: size changes, cells and the current cell.
#include "TextGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

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

// Random edits; against every earlier state whose revision the grid still knows, each row that
// differs now (in text or in being there) lies in ChangedSince. A state before a change of the
// columns is no longer known.
TEST(TextGrid, ChangedSinceHoldsEveryRowThatDiffers) {
    std::mt19937 random(7);
    TextGrid grid(5, 2);
    std::vector<TextGrid> states{grid};
    int known = 0;
    for (int step = 0; step < 400; ++step) {
        const unsigned kind = random() % 8;
        if (kind < 5) {
            grid.SetCell(static_cast<int>(random() % 5), static_cast<int>(random() % 14),
                         std::to_string(random() % 3));
        } else if (kind < 7) {
            grid.SetRowCount(1 + static_cast<int>(random() % 12));
        } else {
            grid.SetColCount(4 + static_cast<int>(random() % 3));
        }
        for (const TextGrid& old : states) {
            const std::optional<RowSpan> span = grid.ChangedSince(old.Revision());
            if (!span) continue;
            ++known;
            ASSERT_EQ(old.ColCount(), grid.ColCount()) << step;
            for (int row = 0; row < std::max(old.RowCount(), grid.RowCount()); ++row) {
                if (row < old.RowCount() && row < grid.RowCount() && old.Row(row) == grid.Row(row))
                    continue;
                EXPECT_TRUE(row >= span->first && row <= span->last) << step << " row " << row;
            }
        }
        states.push_back(grid);
        if (states.size() > 40) states.erase(states.begin());
    }
    EXPECT_GT(known, 500);
}

}  // namespace
}  // namespace murvex
