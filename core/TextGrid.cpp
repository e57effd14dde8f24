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
    rows = std::max(rows, 1);
    rows_.resize(static_cast<std::size_t>(rows),
                 std::vector<std::string>(static_cast<std::size_t>(colCount_)));
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
