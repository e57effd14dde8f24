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
    const int before = RowCount();
    if (count < rows_.size()) rows_.resize(count);
    while (rows_.size() < count)
        rows_.emplace_back(static_cast<std::size_t>(colCount_));
    SetCurrent(currentCol_, currentRow_);
    ++revision_;
    Note(std::min(before, RowCount()), std::max(before, RowCount()) - 1);
}

void TextGrid::SetColCount(int cols) {
    const int count = std::max(cols, 1);
    if (count == colCount_) return;
    colCount_ = count;
    for (std::vector<std::string>& row : rows_)
        row.resize(static_cast<std::size_t>(colCount_));
    SetCurrent(currentCol_, currentRow_);
    ++revision_;
    ForgetChanges();
}

const std::string& TextGrid::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TextGrid::SetCell(int col, int row, std::string text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
    ++revision_;
    Note(row, row);
}

const std::vector<std::string>& TextGrid::Row(int row) const {
    if (row < 0 || row >= RowCount()) return kEmptyRow;
    return rows_[static_cast<std::size_t>(row)];
}

void TextGrid::Note(int first, int last) {
    if (first > last) return;
    // Another change of the same rows (the cells of one row) moves the last entry on; any other
    // change is an entry of its own, so that a caller that knows the last entry is told only of
    // the rows changed since.
    if (!changes_.empty() && changes_.back().rows.first == first &&
        changes_.back().rows.last == last) {
        changes_.back().revision = revision_;
        return;
    }
    if (changes_.size() == kKeptChanges) {
        knownSince_ = changes_.front().revision;
        changes_.erase(changes_.begin());
    }
    changes_.push_back({revision_, {first, last}});
}

void TextGrid::ForgetChanges() {
    changes_.clear();
    knownSince_ = revision_;
}

std::optional<RowSpan> TextGrid::ChangedSince(unsigned long revision) const {
    if (revision < knownSince_ || revision > revision_) return std::nullopt;
    RowSpan span;
    // Newest first: the entries at or before revision are known to the caller.
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
        // An entry reaching past revision may hold changes from before it too: a wider span
        // than needed is still right.
        if (it->revision <= revision) break;
        span = span.Empty() ? it->rows
                            : RowSpan{std::min(span.first, it->rows.first),
                                      std::max(span.last, it->rows.last)};
    }
    return span;
}

void TextGrid::SetCurrent(int col, int row) {
    currentCol_ = std::clamp(col, 0, colCount_ - 1);
    currentRow_ = std::clamp(row, 0, RowCount() - 1);
}

}  // namespace murvex
