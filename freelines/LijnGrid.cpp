// The free line grid: its set-up, adding and deleting rows, and the lines "Maak Hatch" writes.
#include "LijnGrid.h"

#include <algorithm>

#include "SaveHatch.h"
#include "Text.h"

namespace murvex::freelines {

namespace {

void CopyDataCells(TextGrid& grid, int fromRow, int toRow) {
    for (int c = kFirstDataCol; c <= LastDataCol(grid); ++c)
        grid.SetCell(c, toRow, grid.Cell(c, fromRow));
}

void EmptyDataCells(TextGrid& grid, int row) {
    for (int c = kFirstDataCol; c <= LastDataCol(grid); ++c)
        grid.SetCell(c, row, std::string());
}

}  // namespace

const std::array<std::string_view, kColCount>& LijnGridHeaders() {
    static const std::array<std::string_view, kColCount> headers{
        "Nr.", "Hoek", "X start", "Y start", "X shift", "Y shift", "Pen Down", "Pen Up"};
    return headers;
}

int LastDataCol(const TextGrid& grid) {
    return std::max(grid.ColCount() - 1, kLastDataCol);
}

std::string DataColumnHeader(int col) {
    if (col < kColCount) return std::string(LijnGridHeaders()[static_cast<std::size_t>(col)]);
    const int pair = (col - kColCount) / 2 + 2;
    return ((col - kColCount) % 2 == 0 ? "Pen Down " : "Pen Up ") + IntText(pair);
}

namespace {

// Column count for data columns up to last: the eight, then whole dash pairs.
void SetDataColumns(TextGrid& grid, int last) {
    last = std::max(last, kLastDataCol);
    if ((last - kLastDataCol) % 2 != 0) ++last;
    const int before = grid.ColCount();
    grid.SetColCount(last + 1);
    for (int c = before; c <= last; ++c)
        grid.SetCell(c, 0, DataColumnHeader(c));
}

}  // namespace

void FitDashColumns(TextGrid& grid) {
    int last = kLastDataCol;
    for (int r = 1; r < grid.RowCount(); ++r) {
        const std::vector<std::string>& row = grid.Row(r);
        for (int c = static_cast<int>(row.size()) - 1; c > last; --c) {
            if (!row[static_cast<std::size_t>(c)].empty()) {
                last = c;
                break;
            }
        }
    }
    SetDataColumns(grid, last);
}

void GrowDashColumns(TextGrid& grid, int fields) {
    const int last = kFirstDataCol + fields - 1;
    if (last > LastDataCol(grid)) SetDataColumns(grid, last);
}

void SetupLijnGrid(TextGrid& grid) {
    const auto& headers = LijnGridHeaders();
    for (int c = 0; c < kColCount; ++c)
        grid.SetCell(c, 0, std::string(headers[c]));
    grid.SetCell(0, 1, "1");
}

TextGrid MakeLijnGrid() {
    TextGrid grid(kColCount, 2);
    SetupLijnGrid(grid);
    grid.SetCurrent(kFirstDataCol, 1);
    return grid;
}

void InsertRowAtCurrent(TextGrid& grid) {
    const int n = grid.RowCount();
    const int s = grid.CurrentRow();
    const int col = grid.CurrentCol();
    grid.SetRowCount(n + 1);
    grid.SetCell(0, n, IntText(n));
    // The header row never moves: with no data row current the new row is appended.
    if (s >= n - 1 || s < 1) {
        grid.SetCurrent(col, s);
        return;
    }
    for (int r = n; r >= s + 1; --r)
        CopyDataCells(grid, r - 1, r);
    EmptyDataCells(grid, s);
    grid.SetCurrent(col, s);
}

void DeleteCurrentRow(TextGrid& grid) {
    const int n = grid.RowCount();
    const int s = grid.CurrentRow();
    if (s <= 0 || n <= 2) return;
    for (int r = s; r <= n - 2; ++r)
        CopyDataCells(grid, r + 1, r);
    EmptyDataCells(grid, n - 1);
    grid.SetRowCount(n - 1);
}

void ReduceToOneDataRow(TextGrid& grid) {
    const int n = grid.RowCount();
    if (n <= 2) return;
    // Deleting row 1 over and over pulls every later row through it, so the last row's texts
    // remain; deleting any later row never touches row 1.
    if (grid.CurrentRow() == 1) CopyDataCells(grid, n - 1, 1);
    EmptyDataCells(grid, n - 1);
    grid.SetRowCount(2);
}

std::string RowLine(const TextGrid& grid, int row) {
    std::string line = grid.Cell(kFirstDataCol, row);
    if (line.empty()) return line;
    for (int c = kFirstDataCol + 1; c <= LastDataCol(grid); ++c) {
        const std::string& cell = grid.Cell(c, row);
        if (cell.empty()) continue;
        line += ", ";
        line += cell;
    }
    return line;
}

std::string EmptyRowComment(int row) {
    return "; Rij zonder hoek: " + IntText(row);
}

LineList BuildFreeLineHatch(const TextGrid& grid, const PatternHeader& header, PatternStyle style) {
    const bool compatible = style == PatternStyle::Compatible;
    LineList lines;
    lines.reserve(static_cast<std::size_t>(grid.RowCount()) + 5);
    AppendHeaderLines(lines, header);
    for (int r = 1; r < grid.RowCount(); ++r) {
        std::string line = RowLine(grid, r);
        // Readers end the pattern at an empty line; the row number tells the user which row.
        if (compatible && Trim(line).empty()) line = EmptyRowComment(r);
        lines.push_back(std::move(line));
    }
    lines.emplace_back(kSeparatorLine);
    if (compatible) MakeCompatible(lines);
    return lines;
}

bool SaveFreeLineHatch(const TextGrid& grid, const PatternHeader& header, Platform& platform,
                       FileDialog& saveDialog, WindowHandle owner, PatternStyle style) {
    const LineList lines = BuildFreeLineHatch(grid, header, style);
    return SaveHatchFile(lines, platform, saveDialog, owner);
}

}  // namespace murvex::freelines
