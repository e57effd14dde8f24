// What an undo step of the figure keeps and which commands make one step.
#include "FigureUndo.h"

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
    if (model.interaction.drawing) {
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
