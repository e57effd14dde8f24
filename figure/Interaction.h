// Drawing on the figure's canvas: the rubber line, snapping, the horizontal/vertical lock, typed
// lengths and selecting segments, as a state machine over plain events. The window translates its
// own mouse and key events into these calls and carries out the Reaction each returns.
//
// The state lives in FigureModel::interaction; the grid and the canvas are changed in place, so
// after every call the window repaints the canvas and refreshes the grid view. Pixels are canvas
// pixels (HatchImage's own coordinates). Order of a typed length: KeyPress gives the box, the
// window shows it modally and reports OK with the edit's text (TypedLengthAccepted) or Cancel
// (TypedLengthCancelled), then empties the edit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Canvas.h"
#include "FigureModel.h"
#include "Selection.h"

namespace murvex::figure {

// Distances on the canvas, in pixels; every comparison with them is strict.
inline constexpr int kLockPixels = 6;       // horizontal/vertical lock window
inline constexpr int kSelectionPixels = 5;  // selection margin and distance

// The canvas cursors: the two registered drawing cursors and the standard arrow.
enum class CanvasCursor {
    Teken = 101,  // drawing mode, snapping on ("TEKENCURSOR")
    Kruis = 102,  // drawing mode, snapping off ("KRUISCURSOR")
    Arrow = 0,    // selection mode
};

// Where and how the typed-length box opens: screen coordinates of its top left corner, its
// size, and the edit's text (the digit that opened it; the caret goes after it).
struct TypedLengthBox {
    int left = 0;
    int top = 0;
    int width = 122;
    int height = 22;
    std::string text;
};

inline constexpr const char* kInvalidLengthText = "Geen geldig getal ingevoerd";

// What the snapped point is, drawn as a small marker at its pixel; kind None hides the marker.
struct SnapMarker {
    Pixel pixel;
    SnapKind kind = SnapKind::None;
};

// The window of a window selection, corner to corner in canvas pixels.
struct SelectionWindow {
    Pixel from;
    Pixel to;
    bool shown = false;  // false: no window (any shown one disappears)
};

// What the window does after an event, besides showing the canvas and the grid as they now are.
struct Reaction {
    std::optional<std::string> status;  // the new text of XYPos
    std::optional<CanvasCursor> cursor;
    // The grid's current row moved here (the row is already drawn as selected): move the view's
    // current cell without running the grid's own selection handler again.
    std::optional<int> selectedRow;
    // Show the typed-length box modally, then call TypedLengthAccepted or TypedLengthCancelled
    // and empty its edit.
    std::optional<TypedLengthBox> openTypedLengthBox;
    // Show the warning box with this text, no title, owned by the application window.
    std::optional<std::string> warning;
    bool keySwallowed = false;              // the key must not reach the focused control
    std::optional<SnapMarker> marker;       // the snap marker moved or disappeared
    std::optional<SelectionWindow> window;  // the selection window changed
    // A button release ended an end point drag or a window selection: it is no click.
    bool releaseHandled = false;
};

// The mouse moved to pixel p of the canvas: the rubber line follows it (erased and drawn again
// in not-xor mode, the figure is never redrawn), the lock applies while drawing with snapping
// on, and the status text is returned. Does nothing before the first figure.
Reaction MouseMove(FigureModel& model, Canvas& canvas, Pixel p);

// A click on the canvas at pixel p: places a point (drawing mode) or selects the first segment
// near it (selection mode). A click away from the last mouse position is first taken as a move
// there, so the click acts on what the user saw. Does nothing before the first figure.
Reaction Click(FigureModel& model, Canvas& canvas, Pixel p);

// Where the main window's key goes.
enum class KeyFocus {
    FigureTab,    // the figure tab is current and no control that takes text has the focus
    TextControl,  // the figure tab is current; an edit, a combo box or a cell editor has it
    OtherTab,     // another tab is current
};

// A character typed anywhere in the main window (after the window's own comma rule). A digit
// while a segment is open opens the typed-length box next to the mouse, only with the focus
// on the figure tab outside a text control (a digit typed into an edit is the edit's);
// windowLeft and windowTop are the main window's screen position.
// Besides a digit, "@" and "<" open the box too (typed points and angles).
Reaction KeyPress(FigureModel& model, char key, KeyFocus focus, int windowLeft, int windowTop);

enum class Key { Escape, Other };
// A key went down in the main window: the Shift state is kept. Escape abandons the open
// segment wherever the focus is (the grid goes back to what it was before the first point);
// the key is swallowed only with the focus on the figure tab outside a text control, so an
// edit or a cell editor still gets its own Escape.
Reaction KeyDown(FigureModel& model, Canvas& canvas, Key key, bool shift, KeyFocus focus);
// A key went up: the Shift state is kept.
void KeyUp(FigureModel& model, bool shift);

// The typed-length box closed with OK and this text. A number ends the open segment that far
// from its start in the rubber line's direction (never snapped, clipped to the tile); any other
// text gives the warning TypedInputRefusedText (kInvalidLengthText and the accepted forms) and
// the segment stays open. Besides a length the box takes "@dx,dy", "x,y" and "@L<A" in every
// locale (see TypedInput.h); the user's decimal separator only shapes the warning's examples.
Reaction TypedLengthAccepted(FigureModel& model, Canvas& canvas, std::string_view text,
                             char userSeparator = '.');
// The box closed with Cancel: the segment stays open.
void TypedLengthCancelled(FigureModel& model);

// The selection mode button: abandons an open segment as Escape does; arrow cursor.
Reaction EnterSelectionMode(FigureModel& model, Canvas& canvas);
// The drawing mode button: the drawing cursor of the snap state.
Reaction EnterDrawingMode(FigureModel& model);
// The snap check box: its state, and the cursor of the mode: the drawing cursor of the snap
// state in drawing mode, the arrow still in selection mode.
Reaction SetSnap(FigureModel& model, bool on);

// The left button went down at p. In selection mode a press on an end point starts dragging
// it (the rubber line runs from the segment's other end), anywhere else a selection window.
// Nothing in drawing mode: a click there is the press and release together.
Reaction Press(FigureModel& model, Canvas& canvas, Pixel p);
// The left button came up at p: a dragged end point lands (snapped as a click is, inside the
// tile), a window selects every row with both end points inside it. releaseHandled tells the
// window not to take the release as a click as well.
Reaction Release(FigureModel& model, Canvas& canvas, Pixel p);

// The first stored end point whose x and y both lie less than the snap radius from p (a square
// window): rows from 1 downwards, in each row the start point before the end point, each only
// when both its cells hold text. Nothing when no point is that near.
std::optional<TilePoint> SnapToPoint(const FigureModel& model, TilePoint p);

// Whether p selects the row's segment: the row is complete, p lies strictly inside the
// segment's bounding box grown by 5 pixels on every side (pixels at the present zoom), and its
// distance from the line through the segment is less than 5 pixels.
bool HitFiguurLijn(const FigureModel& model, int row, TilePoint p);

}  // namespace murvex::figure
