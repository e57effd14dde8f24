// A rectangle of text cells with a header row, a number column and a current cell.
#pragma once

#include <string>
#include <vector>

namespace murvex {

// Cells are addressed (column, row); row 0 is the header row and column 0 the "Nr." column.
// Growing the row count adds empty rows; shrinking drops the last rows.
class TextGrid {
  public:
    TextGrid(int colCount, int rowCount);

    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows);
    // Growing the column count adds empty cells to every row; shrinking drops the last columns.
    void SetColCount(int cols);

    // Out-of-range reads give the empty text; out-of-range writes are ignored.
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    const std::vector<std::string>& Row(int row) const;

    int CurrentCol() const { return currentCol_; }
    int CurrentRow() const { return currentRow_; }
    // Clamped into the grid.
    void SetCurrent(int col, int row);

    // Incremented on every change, so a view can tell when to refresh.
    unsigned long Revision() const { return revision_; }

  private:
    int colCount_;
    std::vector<std::vector<std::string>> rows_;
    int currentCol_ = 0;
    int currentRow_ = 0;
    unsigned long revision_ = 0;
};

}  // namespace murvex
