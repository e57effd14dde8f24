// Undo and redo for a tab whose grid is its only store: the grid's state before each command.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "TextGrid.h"

namespace murvex {

// True when the two grids hold the same columns, rows and texts (the current cell and the
// revision do not count: moving about is not a change).
bool SameCells(const TextGrid& a, const TextGrid& b);

// Makes target hold the snapshot's rows, texts and current cell. The target's revision moves on
// (it never goes back), so views that watch it refresh.
void RestoreGrid(TextGrid& target, const TextGrid& snapshot);

// A rough measure of the memory a snapshot holds, in bytes.
std::size_t GridBytes(const TextGrid& grid);

// A bounded history of grid states. Each step is the grid as it was before a command; the redo
// side holds the states that undo stepped back from. The bound counts steps on both sides
// together, and the bytes of every snapshot kept; when either is passed the oldest undo steps
// go first, then the farthest redo steps. A single state larger than the byte budget is not
// kept at all.
class GridHistory {
  public:
    static constexpr std::size_t kDefaultMaxSteps = 200;
    static constexpr std::size_t kDefaultByteBudget = 32u << 20;  // 32 MiB

    explicit GridHistory(std::size_t maxSteps = kDefaultMaxSteps,
                         std::size_t byteBudget = kDefaultByteBudget);

    // Records a command that turned before into after; nothing happens when the cells are the
    // same (not a step). A recorded step clears the redo side. True when recorded.
    bool Record(const TextGrid& before, const TextGrid& after);

    // The state to show instead of current, which goes to the redo side; nothing when there is
    // no step to take back.
    std::optional<TextGrid> Undo(const TextGrid& current);
    // The state undo stepped back from, current going to the undo side; nothing when none.
    std::optional<TextGrid> Redo(const TextGrid& current);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }
    std::size_t Bytes() const { return bytes_; }
    void Clear();

  private:
    struct Entry {
        TextGrid grid;
        std::size_t bytes;
    };
    void Trim();

    std::size_t maxSteps_;
    std::size_t byteBudget_;
    std::deque<Entry> undo_;  // oldest first
    std::deque<Entry> redo_;  // next redo last
    std::size_t bytes_ = 0;
};

}  // namespace murvex
