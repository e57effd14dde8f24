// What an undo step of the figure keeps and which commands make one step.
#include "FigureUndo.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "FigureEditing.h"
#include "GridHistory.h"

namespace murvex::figure {

FigureSnapshot Snapshot(const FigureModel& model) {
    return {model.grid, model.TileWidth(), model.TileHeight()};
}

bool SameState(const FigureSnapshot& a, const FigureSnapshot& b) {
    return a.tileWidth == b.tileWidth && a.tileHeight == b.tileHeight && SameCells(a.rows, b.rows);
}

std::size_t StateBytes(const FigureSnapshot& snapshot) {
    return sizeof(FigureSnapshot) - sizeof(TextGrid) + GridBytes(snapshot.rows);
}

namespace {

const std::string kNoText;

// Row of grid as source's row: only the cells that differ are written.
void CopyRow(TextGrid& grid, int row, const std::vector<std::string>& source) {
    for (int col = 0; col < grid.ColCount(); ++col) {
        const std::string& text = col < static_cast<int>(source.size()) ? source[col] : kNoText;
        if (grid.Cell(col, row) != text) grid.SetCell(col, row, text);
    }
}

// The grid's rows first to last (those it has) with its tile, row count and current cell.
FigureChange ChangeOf(const TextGrid& grid, int tileWidth, int tileHeight, int first, int last) {
    FigureChange change{
        tileWidth, tileHeight, grid.RowCount(), grid.CurrentCol(), grid.CurrentRow(), first, {}};
    for (int row = first; row <= std::min(last, grid.RowCount() - 1); ++row)
        change.rows.push_back(grid.Row(row));
    return change;
}

// Puts the change's rows, row count and current cell into grid.
void PutRows(TextGrid& grid, const FigureChange& change) {
    if (grid.RowCount() != change.rowCount) grid.SetRowCount(change.rowCount);
    for (int i = 0; i < static_cast<int>(change.rows.size()); ++i)
        CopyRow(grid, change.firstRow + i, change.rows[static_cast<std::size_t>(i)]);
    grid.SetCurrent(change.currentCol, change.currentRow);
}

}  // namespace

std::size_t FigureChange::Bytes() const {
    std::size_t bytes = sizeof(FigureChange);
    for (const std::vector<std::string>& row : rows) {
        bytes += sizeof(row);
        for (const std::string& cell : row) {
            bytes += sizeof(std::string);
            if (cell.size() >= sizeof(std::string)) bytes += cell.capacity() + 1;
        }
    }
    return bytes;
}

FigureChange Apply(FigureModel& model, Canvas& canvas, const FigureChange& change,
                   bool* tileReplaced) {
    TextGrid& grid = model.grid;
    // What the change touches: its rows, and the rows that come or go with the row count.
    int last = change.firstRow + static_cast<int>(change.rows.size()) - 1;
    if (change.rowCount != grid.RowCount())
        last = std::max(last, std::max(change.rowCount, grid.RowCount()) - 1);
    FigureChange back =
        ChangeOf(grid, model.TileWidth(), model.TileHeight(), change.firstRow, last);
    const bool newTile =
        change.tileWidth > 0 && change.tileHeight > 0 &&
        (change.tileWidth != model.TileWidth() || change.tileHeight != model.TileHeight());
    if (newTile) {
        // A new tile empties the grid: its rows are put back, then the change.
        const TextGrid rows = grid;
        InitFiguur(model, canvas, change.tileWidth, change.tileHeight);
        RestoreGrid(grid, rows);
    }
    PutRows(grid, change);
    // The canvas is drawn from the grid, but the grid stays exactly as the step kept it: a
    // redraw that clips or deletes rows would make the step differ from what undo and redo
    // hand over. Such rows are rare; the grid is then put back whole.
    const TextGrid drawn = grid;
    RedrawFiguur(model, canvas);
    if (grid.Revision() != drawn.Revision()) RestoreGrid(grid, drawn);
    model.previousRow = 0;
    model.currentRow = 0;
    if (tileReplaced) *tileReplaced = newTile;
    return back;
}

void FigureHistory::Record(FigureChange change) {
    for (const Entry& e : redo_)
        bytes_ -= e.bytes;
    redo_.clear();
    Push(undo_, std::move(change));
}

void FigureHistory::Clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
}

std::optional<FigureChange> FigureHistory::Pop(std::deque<Entry>& side) {
    if (side.empty()) return std::nullopt;
    Entry taken = std::move(side.back());
    side.pop_back();
    bytes_ -= taken.bytes;
    return std::move(taken.change);
}

void FigureHistory::Push(std::deque<Entry>& side, FigureChange change) {
    const std::size_t bytes = change.Bytes();
    side.push_back({std::move(change), bytes});
    bytes_ += bytes;
    while (undo_.size() + redo_.size() > kMaxSteps || bytes_ > kByteBudget) {
        std::deque<Entry>& oldest = !undo_.empty() ? undo_ : redo_;
        if (oldest.empty()) break;
        bytes_ -= oldest.front().bytes;
        oldest.pop_front();
    }
}

void FigureSteps::Reset(const FigureModel& model) {
    kept_ = model.grid;
    kept_.ForgetChanges();
    tileWidth_ = model.TileWidth();
    tileHeight_ = model.TileHeight();
    revision_ = model.grid.Revision();
    pending_ = {};
}

std::optional<FigureChange> FigureSteps::Take(const FigureModel& model) {
    const TextGrid& grid = model.grid;
    const bool sameTile = tileWidth_ == model.TileWidth() && tileHeight_ == model.TileHeight();
    if (grid.ColCount() != kept_.ColCount()) {
        // Another kind of grid: the whole of it is the step.
        FigureChange change = ChangeOf(kept_, tileWidth_, tileHeight_, 0, kept_.RowCount() - 1);
        Reset(model);
        return change;
    }
    const int rows = std::max(grid.RowCount(), kept_.RowCount());
    RowSpan span{0, rows - 1};
    if (const std::optional<RowSpan> changed = grid.ChangedSince(revision_)) {
        span = *changed;
        if (!pending_.Empty()) {
            span = span.Empty() ? pending_
                                : RowSpan{std::min(span.first, pending_.first),
                                          std::max(span.last, pending_.last)};
        }
    }
    int first = std::max(span.first, 0);
    int last = std::min(span.last, rows - 1);
    const auto same = [&](int row) {
        return row < grid.RowCount() && row < kept_.RowCount() && grid.Row(row) == kept_.Row(row);
    };
    while (first <= last && same(first))
        ++first;
    while (last >= first && same(last))
        --last;
    std::optional<FigureChange> change;
    if (first <= last || !sameTile || grid.RowCount() != kept_.RowCount())
        change = ChangeOf(kept_, tileWidth_, tileHeight_, first, last);
    // The kept figure follows the model.
    if (kept_.RowCount() != grid.RowCount()) kept_.SetRowCount(grid.RowCount());
    for (int row = first; row <= std::min(last, grid.RowCount() - 1); ++row)
        CopyRow(kept_, row, grid.Row(row));
    kept_.SetCurrent(grid.CurrentCol(), grid.CurrentRow());
    tileWidth_ = model.TileWidth();
    tileHeight_ = model.TileHeight();
    revision_ = grid.Revision();
    pending_ = {};
    return change;
}

std::optional<FigureChange> FigureSteps::Ran(const FigureModel& model) {
    const InteractionState& st = model.interaction;
    if (st.drawing && st.chainLinked) {
        // A chain closed one segment and opened the next at its end: the closed one is a step,
        // and the next one's step starts from the grid without its open start.
        std::optional<FigureChange> step = Take(model);
        const int last = kept_.RowCount() - 1;
        if (st.segmentRowAdded && kept_.RowCount() > 2) {
            kept_.SetRowCount(last);
        } else {
            kept_.SetCell(kColXStart, last, std::string());
            kept_.SetCell(kColYStart, last, std::string());
        }
        pending_ = {last, last};
        return step;
    }
    // While the segment is open the kept figure stays as before its first point.
    if (st.drawing) return std::nullopt;
    return Take(model);
}

void FigureSteps::CatchUp(const FigureModel& model) {
    if (!model.interaction.drawing) Take(model);
}

}  // namespace murvex::figure
