// Drawing the figure's rows on the canvas and the grid's row operations with their redraws.
#pragma once

#include <cstdint>
#include <vector>

#include "Canvas.h"
#include "FigureModel.h"

namespace murvex::figure {

enum class DrawResult {
    Drawn,       // drawn, clipped to the tile first when it left it (the cells rewritten)
    Incomplete,  // not a data row, or a coordinate cell is empty: left alone
    Missed,      // the segment misses the tile: its four cells were emptied, nothing drawn
    NoFigure,    // no tile yet: nothing drawn, cells untouched
};

// Draws one row in black, or in pure red when selected, at the canvas's current pen width. A
// segment leaving the tile is clipped and its cells rewritten as Fmt text (end points ordered
// so that X start <= X eind).
DrawResult DrawFiguurLijn(FigureModel& model, Canvas& canvas, int row, bool selected);

// A figure made elsewhere (a drawing, a pattern): a new tile of width x height whose data rows are
// the segments, as Fmt text, one numbered row each (one empty row when there are none), row 1
// current, drawn and clipped as typed rows are. False (nothing changed) when the tile is refused.
bool FillTile(FigureModel& model, Canvas& canvas, std::int64_t width, std::int64_t height,
              const std::vector<TileSegment>& segments);

// A fresh white canvas of the tile's size with the pen width of the thick-pen switch, then
// every row from the last to the first: rows that miss the tile are deleted.
void RedrawFiguur(FigureModel& model, Canvas& canvas);

// Adds a data row with the next number: appended when the grid's current row is the last one,
// otherwise an empty row is inserted at the current row, which moves down with the rows below.
void AddSegmentRow(TextGrid& grid);
// "Lijn toevoegen": AddSegmentRow, then the new empty row becomes the current row, so the next
// typed cells go there; the segment shown red so far is drawn black where it now is. Returns
// the new row.
int AddCurrentSegmentRow(FigureModel& model, Canvas& canvas);
// Deletes the grid's current data row, pulling the rows below up; the "Nr." cells stay. False
// when no data row is current or it is the only one.
bool DeleteFiguurRow(TextGrid& grid);
// DeleteFiguurRow, then RedrawFiguur; no row is shown selected afterwards.
void DeleteSelectedSegment(FigureModel& model, Canvas& canvas);
// The row drawn red as the selection, while the grid's current row is that row; 0 for none.
int ShownSelectedRow(const FigureModel& model);

// Enter in the grid: draws the current row over the canvas as it stands; when the row misses
// the tile it is emptied, and deleted unless it is row 1.
void DrawEnteredRow(FigureModel& model, Canvas& canvas);

// The grid's selection moved to row: the row left before is drawn black and row red. Moving to
// the same row draws both again. The grid's own current cell is the caller's.
void ShowSelectedRow(FigureModel& model, Canvas& canvas, int row);

// A click in the grid after a background picture was loaded: redraws once and shows the
// current row red. Does nothing when no picture was loaded since the last such redraw.
void RedrawAfterBackgroundChange(FigureModel& model, Canvas& canvas);

// The thick-pen switch: stores it and redraws.
void SetThickPen(FigureModel& model, Canvas& canvas, bool thick);

}  // namespace murvex::figure
