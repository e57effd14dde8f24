// What an undo step of the figure keeps, how it is put back, and which commands make one step.
#pragma once

#include <cstddef>
#include <optional>

#include "Canvas.h"
#include "FigureModel.h"
#include "TextGrid.h"

namespace murvex::figure {

// The figure as undo keeps it: the grid's rows (current cell included) and the tile they are
// drawn in. The canvas is not kept: it is drawn again from these.
struct FigureSnapshot {
    TextGrid rows;
    int tileWidth = 0;
    int tileHeight = 0;
};

FigureSnapshot Snapshot(const FigureModel& model);

// The same cells and the same tile: no step between them, and nothing unsaved.
bool SameState(const FigureSnapshot& a, const FigureSnapshot& b);
std::size_t StateBytes(const FigureSnapshot& snapshot);

// Puts the snapshot into model and canvas. A tile other than the model's is set up anew; only
// states from before the first figure have no tile, and the first figure clears the history,
// so such a state never replaces a tile. The grid ends exactly as kept, even where drawing
// would clip or delete a row, and no row is left marked as drawn red. True when the tile was
// set up anew (the caller drops what belonged to the old one, the background picture).
bool Restore(FigureModel& model, Canvas& canvas, const FigureSnapshot& snapshot);

// Which commands make one undo step: each by itself, except a drawn segment, which is one step
// from its first point to its second.
class FigureSteps {
  public:
    // A command ran from the state before; the state to record as its step, or nothing while
    // the model's segment is open (the state before its first point is kept until it closes).
    std::optional<FigureSnapshot> Ran(FigureSnapshot before, const FigureModel& model);
    // Escape or the selection mode left the open segment: its row, emptied for the next segment,
    // is no step of its own.
    void ForgetAbandonedSegment(const FigureModel& model);

  private:
    std::optional<FigureSnapshot> segmentBefore_;
};

}  // namespace murvex::figure
