// Undo and redo for a tab whose grid is its only store.
#include "GridHistory.h"

#include <algorithm>
#include <utility>

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

GridHistory::GridHistory(std::size_t maxSteps, std::size_t byteBudget)
    : maxSteps_(maxSteps), byteBudget_(byteBudget) {}

bool GridHistory::Record(const TextGrid& before, const TextGrid& after) {
    if (SameCells(before, after)) return false;
    for (const Entry& e : redo_)
        bytes_ -= e.bytes;
    redo_.clear();
    const std::size_t bytes = GridBytes(before);
    undo_.push_back({before, bytes});
    bytes_ += bytes;
    Trim();
    return true;
}

std::optional<TextGrid> GridHistory::Undo(const TextGrid& current) {
    if (undo_.empty()) return std::nullopt;
    Entry previous = std::move(undo_.back());
    undo_.pop_back();
    bytes_ -= previous.bytes;
    const std::size_t bytes = GridBytes(current);
    redo_.push_back({current, bytes});
    bytes_ += bytes;
    Trim();
    return std::move(previous.grid);
}

std::optional<TextGrid> GridHistory::Redo(const TextGrid& current) {
    if (redo_.empty()) return std::nullopt;
    Entry next = std::move(redo_.back());
    redo_.pop_back();
    bytes_ -= next.bytes;
    const std::size_t bytes = GridBytes(current);
    undo_.push_back({current, bytes});
    bytes_ += bytes;
    Trim();
    return std::move(next.grid);
}

void GridHistory::Clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
}

void GridHistory::Trim() {
    while (undo_.size() + redo_.size() > maxSteps_ || bytes_ > byteBudget_) {
        if (!undo_.empty()) {
            bytes_ -= undo_.front().bytes;
            undo_.pop_front();
        } else if (!redo_.empty()) {
            bytes_ -= redo_.front().bytes;
            redo_.pop_front();
        } else {
            break;
        }
    }
}

}  // namespace murvex
