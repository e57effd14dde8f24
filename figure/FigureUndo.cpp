// What an undo step of the figure keeps and which commands make one step.
#include "FigureUndo.h"

#include <string>
#include <utility>

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

bool Restore(FigureModel& model, Canvas& canvas, const FigureSnapshot& snapshot) {
    const bool newTile =
        snapshot.tileWidth > 0 && snapshot.tileHeight > 0 &&
        (snapshot.tileWidth != model.TileWidth() || snapshot.tileHeight != model.TileHeight());
    if (newTile) InitFiguur(model, canvas, snapshot.tileWidth, snapshot.tileHeight);
    // The canvas is drawn from the grid, but the grid stays exactly as kept: a redraw that
    // clips or deletes rows would make the step differ from what undo and redo hand over.
    RestoreGrid(model.grid, snapshot.rows);
    RedrawFiguur(model, canvas);
    if (!SameCells(model.grid, snapshot.rows)) RestoreGrid(model.grid, snapshot.rows);
    model.previousRow = 0;
    model.currentRow = 0;
    return newTile;
}

std::optional<FigureSnapshot> FigureSteps::Ran(FigureSnapshot before, const FigureModel& model) {
    const InteractionState& st = model.interaction;
    if (st.drawing && st.chainLinked) {
        // A chain closed one segment and opened the next at its end: the closed one is a step,
        // and the next one's step starts from the grid without its open start.
        FigureSnapshot step = segmentBefore_ ? std::move(*segmentBefore_) : std::move(before);
        FigureSnapshot next = Snapshot(model);
        TextGrid& rows = next.rows;
        const int last = rows.RowCount() - 1;
        if (st.segmentRowAdded && rows.RowCount() > 2) {
            rows.SetRowCount(last);
        } else {
            rows.SetCell(kColXStart, last, std::string());
            rows.SetCell(kColYStart, last, std::string());
        }
        segmentBefore_ = std::move(next);
        return step;
    }
    if (st.drawing) {
        if (!segmentBefore_) segmentBefore_ = std::move(before);
        return std::nullopt;
    }
    if (segmentBefore_) {
        before = std::move(*segmentBefore_);
        segmentBefore_.reset();
    }
    return before;
}

void FigureSteps::ForgetAbandonedSegment(const FigureModel& model) {
    if (!model.interaction.drawing) segmentBefore_.reset();
}

}  // namespace murvex::figure
