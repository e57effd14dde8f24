// Undo and redo for a tab whose state lives in its grid.
#include "GridHistory.h"

#include <algorithm>

namespace murvex {

bool SameCells(const TextGrid& a, const TextGrid& b) {
    if (a.ColCount() != b.ColCount() || a.RowCount() != b.RowCount()) return false;
    for (int row = 0; row < a.RowCount(); ++row) {
        if (a.Row(row) != b.Row(row)) return false;
    }
    return true;
}

void RestoreGrid(TextGrid& target, const TextGrid& snapshot) {
    if (target.ColCount() != snapshot.ColCount()) {
        // A grid of another shape: taken whole, with a revision past both.
        const unsigned long revision = std::max(target.Revision(), snapshot.Revision());
        target = snapshot;
        target.ForgetChanges();
        while (target.Revision() <= revision)
            target.SetRowCount(target.RowCount());
    } else {
        target.SetRowCount(snapshot.RowCount());
        for (int row = 0; row < snapshot.RowCount(); ++row) {
            for (int col = 0; col < snapshot.ColCount(); ++col) {
                if (target.Cell(col, row) != snapshot.Cell(col, row)) {
                    target.SetCell(col, row, snapshot.Cell(col, row));
                }
            }
        }
        // Even a restore that changes no text is a change for a view.
        target.SetRowCount(target.RowCount());
    }
    target.SetCurrent(snapshot.CurrentCol(), snapshot.CurrentRow());
}

std::size_t GridBytes(const TextGrid& grid) {
    std::size_t bytes = sizeof(TextGrid);
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (const std::string& cell : grid.Row(row)) {
            bytes += sizeof(std::string);
            // Texts beyond the short-string buffer live on the heap.
            if (cell.size() >= sizeof(std::string)) bytes += cell.capacity() + 1;
        }
        bytes += sizeof(std::vector<std::string>);
    }
    return bytes;
}

template class StateHistory<TextGrid>;

}  // namespace murvex
