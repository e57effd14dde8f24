// A rectangle of text cells with a header row, a number column and a current cell.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace murvex {

// The rows first to last (inclusive) that changed: their texts, or whether they exist (rows
// added or dropped at the end). Empty when first > last.
struct RowSpan {
    int first = 0;
    int last = -1;
    bool Empty() const { return first > last; }
};

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
    // The rows changed after the grid was at revision, so that a view or an index follows a
    // large grid row by row: the smallest span holding them all. Nothing when the grid no longer
    // knows (long ago, or the columns changed): then everything may have changed.
    std::optional<RowSpan> ChangedSince(unsigned long revision) const;
    // From now on the changes before this revision are unknown (the grid was replaced whole).
    void ForgetChanges();

  private:
    // Notes rows first to last as changed at the present revision.
    void Note(int first, int last);

    struct Change {
        unsigned long revision;  // the changes up to this revision, after the entry before
        RowSpan rows;
    };
    static constexpr std::size_t kKeptChanges = 32;
    int colCount_;
    std::vector<std::vector<std::string>> rows_;
    int currentCol_ = 0;
    int currentRow_ = 0;
    unsigned long revision_ = 0;
    std::vector<Change> changes_;   // oldest first
    unsigned long knownSince_ = 0;  // every change after this revision is in changes_
};

}  // namespace murvex
