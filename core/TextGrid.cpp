// A rectangle of text cells with a header row, a number column and a current cell.
#include "TextGrid.h"

#include <algorithm>

namespace murvex {

namespace {
const std::string kEmpty;
const std::vector<std::string> kEmptyRow;
}  // namespace

TextGrid::TextGrid(int colCount, int rowCount) : colCount_(std::max(colCount, 1)) {
    SetRowCount(rowCount);
    SetCurrent(1, 1);
}

void TextGrid::SetRowCount(int rows) {
    const std::size_t count = static_cast<std::size_t>(std::max(rows, 1));
    // Row by row: resize() with a prototype row would build and copy one extra row per call,
    // and the reader grows the grid one row at a time.
    if (count < rows_.size()) rows_.resize(count);
    while (rows_.size() < count)
        rows_.emplace_back(static_cast<std::size_t>(colCount_));
    SetCurrent(currentCol_, currentRow_);
    ++revision_;
}

void TextGrid::SetColCount(int cols) {
    const int count = std::max(cols, 1);
    if (count == colCount_) return;
    colCount_ = count;
    for (std::vector<std::string>& row : rows_)
        row.resize(static_cast<std::size_t>(colCount_));
    SetCurrent(currentCol_, currentRow_);
    ++revision_;
}

const std::string& TextGrid::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TextGrid::SetCell(int col, int row, std::string text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
    ++revision_;
}

const std::vector<std::string>& TextGrid::Row(int row) const {
    if (row < 0 || row >= RowCount()) return kEmptyRow;
    return rows_[static_cast<std::size_t>(row)];
}

void TextGrid::SetCurrent(int col, int row) {
    currentCol_ = std::clamp(col, 0, colCount_ - 1);
    currentRow_ = std::clamp(row, 0, RowCount() - 1);
}

}  // namespace murvex
