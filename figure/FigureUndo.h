// What an undo step of the figure keeps, how it is put back, and which commands make one step.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "FigureModel.h"
#include "TextGrid.h"

namespace murvex::figure {

// The figure as the saved mark keeps it: the grid's rows (current cell included) and the tile
// they are drawn in.
struct FigureSnapshot {
    TextGrid rows;
    int tileWidth = 0;
    int tileHeight = 0;
};

FigureSnapshot Snapshot(const FigureModel& model);

// The same cells and the same tile: no step between them, and nothing unsaved.
bool SameState(const FigureSnapshot& a, const FigureSnapshot& b);
std::size_t StateBytes(const FigureSnapshot& snapshot);

// One undo step: what puts the figure back as it was before a command (or, on the redo side, as
// it was after it): the tile, the row count, the current cell, and the texts of the rows from
// firstRow on that the command changed. Only the changed rows are kept, so a click on a figure
// of ten thousand rows keeps one row.
struct FigureChange {
    int tileWidth = 0;
    int tileHeight = 0;
    int rowCount = 0;
    int currentCol = 0;
    int currentRow = 0;
    int firstRow = 0;
    std::vector<std::vector<std::string>> rows;
    std::size_t Bytes() const;
};

// Puts the change into model and canvas and returns the change that takes this back again (undo
// gives the redo step). A tile other than the model's is set up anew (tileReplaced: the caller
// drops what belonged to the old one, the background picture). The grid ends exactly as kept,
// even where drawing would clip or delete a row, and no row is left marked as drawn red.
FigureChange Apply(FigureModel& model, Canvas& canvas, const FigureChange& change,
                   bool* tileReplaced = nullptr);

// The undo and redo steps, bounded as the other tabs' histories: at most kMaxSteps on both sides
// together and kByteBudget of kept texts; the oldest undo steps go first.
class FigureHistory {
  public:
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kByteBudget = 32u << 20;

    // A new step: the redo side is cleared.
    void Record(FigureChange change);
    std::optional<FigureChange> PopUndo() { return Pop(undo_); }
    std::optional<FigureChange> PopRedo() { return Pop(redo_); }
    // The change that takes an undo (redo) back, kept on the other side.
    void PushRedo(FigureChange change) { Push(redo_, std::move(change)); }
    void PushUndo(FigureChange change) { Push(undo_, std::move(change)); }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }
    std::size_t Bytes() const { return bytes_; }
    void Clear();

  private:
    struct Entry {
        FigureChange change;
        std::size_t bytes;
    };
    std::optional<FigureChange> Pop(std::deque<Entry>& side);
    void Push(std::deque<Entry>& side, FigureChange change);

    std::deque<Entry> undo_;  // oldest first
    std::deque<Entry> redo_;  // next redo last
    std::size_t bytes_ = 0;
};

// Which commands make one undo step: each by itself, except a drawn segment, which is one step
// from its first point to its second. The figure as the last step left it is kept beside the
// model, and a step is the difference in the rows the grid says changed since.
class FigureSteps {
  public:
    // The model as it now is counts as recorded (a new session).
    void Reset(const FigureModel& model);
    // A command ran: the step it made (the change back to the state before), or nothing when it
    // changed nothing or while the model's segment is open (the state before its first point is
    // kept until it closes).
    std::optional<FigureChange> Ran(const FigureModel& model);
    // Changes made outside any command, and an open segment that Escape or the selection mode
    // left (its row, emptied for the next segment), are no step of their own: taken silently,
    // except while a segment is open.
    void CatchUp(const FigureModel& model);
    void ForgetAbandonedSegment(const FigureModel& model) { CatchUp(model); }

  private:
    // The change from the kept figure to the model's; the kept figure then follows the model.
    std::optional<FigureChange> Take(const FigureModel& model);

    TextGrid kept_ = MakeFiguurGrid();
    int tileWidth_ = 0;
    int tileHeight_ = 0;
    unsigned long revision_ = 0;  // the model grid's revision kept_ was taken at
    RowSpan pending_;             // rows where kept_ differs beyond the grid's own changes
};

}  // namespace murvex::figure
