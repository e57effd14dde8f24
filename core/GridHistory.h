// Undo and redo for a tab whose state lives in its grid: the state before each command.
#pragma once

#include <concepts>
#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

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

// A grid is a state by itself: its cells are what counts.
inline bool SameState(const TextGrid& a, const TextGrid& b) {
    return SameCells(a, b);
}
inline std::size_t StateBytes(const TextGrid& grid) {
    return GridBytes(grid);
}

// What a history can keep: a value with SameState (equal for undo: no step between them) and
// StateBytes (its weight against the byte budget), both found beside the type.
template <class State>
concept HistoryState = std::copyable<State> && requires(const State& a, const State& b) {
    { SameState(a, b) } -> std::convertible_to<bool>;
    { StateBytes(a) } -> std::convertible_to<std::size_t>;
};

// A bounded history of states. Each step is the state as it was before a command; the redo
// side holds the states that undo stepped back from. The bound counts steps on both sides
// together, and the bytes of every snapshot kept; when either is passed the oldest undo steps
// go first, then the farthest redo steps. A single state larger than the byte budget is not
// kept at all.
template <HistoryState State>
class StateHistory {
  public:
    static constexpr std::size_t kDefaultMaxSteps = 200;
    static constexpr std::size_t kDefaultByteBudget = 32u << 20;  // 32 MiB

    explicit StateHistory(std::size_t maxSteps = kDefaultMaxSteps,
                          std::size_t byteBudget = kDefaultByteBudget)
        : maxSteps_(maxSteps), byteBudget_(byteBudget) {}

    // Records a command that turned before into after; nothing happens when the states are
    // the same (not a step). A recorded step clears the redo side. True when recorded.
    bool Record(const State& before, const State& after) {
        if (SameState(before, after)) return false;
        for (const Entry& e : redo_)
            bytes_ -= e.bytes;
        redo_.clear();
        Push(undo_, before);
        return true;
    }

    // The state to show instead of current, which goes to the redo side; nothing when there is
    // no step to take back.
    std::optional<State> Undo(const State& current) { return Step(undo_, redo_, current); }
    // The state undo stepped back from, current going to the undo side; nothing when none.
    std::optional<State> Redo(const State& current) { return Step(redo_, undo_, current); }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }
    std::size_t Bytes() const { return bytes_; }
    void Clear() {
        undo_.clear();
        redo_.clear();
        bytes_ = 0;
    }

  private:
    struct Entry {
        State state;
        std::size_t bytes;
    };

    void Push(std::deque<Entry>& side, const State& state) {
        const std::size_t bytes = StateBytes(state);
        side.push_back({state, bytes});
        bytes_ += bytes;
        Trim();
    }

    std::optional<State> Step(std::deque<Entry>& from, std::deque<Entry>& to,
                              const State& current) {
        if (from.empty()) return std::nullopt;
        Entry taken = std::move(from.back());
        from.pop_back();
        bytes_ -= taken.bytes;
        Push(to, current);
        return std::move(taken.state);
    }

    void Trim() {
        while (undo_.size() + redo_.size() > maxSteps_ || bytes_ > byteBudget_) {
            std::deque<Entry>& side = !undo_.empty() ? undo_ : redo_;
            if (side.empty()) break;
            bytes_ -= side.front().bytes;
            side.pop_front();
        }
    }

    std::size_t maxSteps_;
    std::size_t byteBudget_;
    std::deque<Entry> undo_;  // oldest first
    std::deque<Entry> redo_;  // next redo last
    std::size_t bytes_ = 0;
};

// The free line tab's history: the grid is all there is.
using GridHistory = StateHistory<TextGrid>;
extern template class StateHistory<TextGrid>;

}  // namespace murvex
