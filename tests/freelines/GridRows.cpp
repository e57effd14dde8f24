// Small helpers for looking at and filling the free line grid in tests.
#include "GridRows.h"

#include "LijnGrid.h"

namespace murvex::freelines::test {

Rows DataRows(const TextGrid& grid) {
    Rows rows;
    for (int r = 1; r < grid.RowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = kFirstDataCol; c <= LastDataCol(grid); ++c)
            row.push_back(grid.Cell(c, r));
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Numbers(const TextGrid& grid) {
    std::vector<std::string> numbers;
    for (int r = 1; r < grid.RowCount(); ++r)
        numbers.push_back(grid.Cell(0, r));
    return numbers;
}

TextGrid GridWith(const Rows& rows) {
    TextGrid grid = MakeLijnGrid();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            grid.SetCurrent(kFirstDataCol, grid.RowCount() - 1);
            InsertRowAtCurrent(grid);
        }
        const int r = grid.RowCount() - 1;
        GrowDashColumns(grid, static_cast<int>(rows[i].size()));
        for (std::size_t c = 0; c < rows[i].size(); ++c) {
            grid.SetCell(kFirstDataCol + static_cast<int>(c), r, rows[i][c]);
        }
    }
    grid.SetCurrent(kFirstDataCol, 1);
    return grid;
}

std::vector<std::string> Row7(std::vector<std::string> cells) {
    return RowOf(std::move(cells), 7);
}

std::vector<std::string> RowOf(std::vector<std::string> cells, std::size_t count) {
    cells.resize(count);
    return cells;
}

}  // namespace murvex::freelines::test
