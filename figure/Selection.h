// Selecting and editing more than one click at a time: an end point dragged to a new place, a
// window that selects several rows, and the commands that then work on all of them.
#pragma once

#include <string>

#include <optional>
#include <vector>

#include "Canvas.h"
#include "FigureModel.h"

namespace murvex::figure {

// A press this many pixels from where it went down is a drag, not a click.
inline constexpr int kDragPixels = 3;

struct EndPointHit {
    int row = 0;
    int end = 0;  // 0 the start point, 1 the end point
    TilePoint point;
    TilePoint other;  // the segment's other end
};

// The first end point of a complete row within the snap window of p (rows from 1 down, start
// before end), as the end point snap finds it.
std::optional<EndPointHit> EndPointAt(const FigureModel& model, TilePoint p);

// Writes the dragged end point of the row as Fmt text, clamped into the tile.
void MoveEndPoint(FigureModel& model, int row, int end, TilePoint p);

// The complete rows with both end points inside the rectangle with corners a and b.
std::vector<int> RowsInsideWindow(const FigureModel& model, TilePoint a, TilePoint b);

// The rows of the last window selection, while the grid has not changed since.
bool WindowSelectionValid(const FigureModel& model);
const std::vector<int>& WindowRows(const FigureModel& model);
// Keeps rows as the window selection of the grid as it is now (none when empty).
void SetWindowRows(FigureModel& model, std::vector<int> rows);

// Draws the window selection's rows red over the canvas as it stands.
void RedrawSelection(FigureModel& model, Canvas& canvas);

// A redraw from the grid that keeps what is selected red: the row shown selected and the rows of
// a window selection.
void RedrawWithSelection(FigureModel& model, Canvas& canvas);

// "Lijn wissen" and the Delete key: what is shown selected, that is every row of a window
// selection, or else the row shown red (ShownSelectedRow), then a redraw. Nothing when nothing
// is shown selected; afterwards nothing is.
void DeleteSelection(FigureModel& model, Canvas& canvas);

// Copy, move and mirror of the selection: every row of a window selection, or else the row shown
// selected (when complete).
enum class SelectionEdit {
    Copy,             // new rows at the end, shifted by (a, b)
    Move,             // the rows themselves shifted by (a, b)
    MirrorLeftRight,  // mirrored in the vertical line x = a
    MirrorUpDown,     // mirrored in the horizontal line y = a
};
enum class EditResult {
    Done,
    NothingSelected,
    OntoItself,  // a copy would lie exactly on what it copies: nothing changed
};
// Writes the rows as Fmt text and redraws. What leaves the tile comes back in by whole tiles
// (cut at the border it crosses, so a row may become several), as the tile repeats: nothing is
// cut off or lost. A mirror keeps the original and adds the mirrored rows, unless keepOriginal
// is false; then it moves the rows as Move does. Afterwards nothing is shown selected.
EditResult EditSelection(FigureModel& model, Canvas& canvas, SelectionEdit edit, long double a,
                         long double b = 0, bool keepOriginal = true);
// The dialog of an edit: its title, the label of its one value, whether it asks to keep the
// original (a mirror) and the warning for a value it does not take. Offsets are typed as "@dx,dy"
// is: with decimal commas (separator ',') as "dx;dy".
struct SelectionEditTexts {
    std::string title;
    std::string label;
    bool asksKeep = false;
    std::string refused;
};
SelectionEditTexts EditTexts(SelectionEdit edit, char userSeparator);

inline constexpr const char* kCopyOntoItselfText =
    "De kopie valt precies op het origineel (een verschuiving van 0 of hele tegels); er is niets "
    "gekopieerd";

}  // namespace murvex::figure
