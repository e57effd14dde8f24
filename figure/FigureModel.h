// The free figure: its tile, scale and snap radius, the segment grid, the editor state and the
// transforms between tile units and canvas pixels.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "Canvas.h"
#include "Msg.h"
#include "TextGrid.h"

namespace murvex::figure {

// FiguurGrid: column 0 "Nr.", then the two end points of one segment per data row.
inline constexpr int kColCount = 5;
inline constexpr int kColXStart = 1;
inline constexpr int kColYStart = 2;
inline constexpr int kColXEind = 3;
inline constexpr int kColYEind = 4;
inline constexpr int kFirstCoordCol = kColXStart;
inline constexpr int kLastCoordCol = kColYEind;

const std::array<std::string_view, kColCount>& FiguurGridHeaders();
// The grid as the tab starts: the header row and one empty data row "1", row 1 current.
TextGrid MakeFiguurGrid();

inline constexpr int kCanvasSpan = 300;      // pixels the longer tile side spans
inline constexpr int kSnapPixels = 7;        // the snap radius in pixels
inline constexpr int kStartPanelSize = 302;  // the panel DP before the first figure
inline constexpr int kThickPenWidth = 3;
inline constexpr int kThinPenWidth = 1;

// Tile coordinates: origin at the bottom left corner of the tile, y upward, in drawing units.
struct TilePoint {
    long double x = 0;
    long double y = 0;
    friend bool operator==(const TilePoint&, const TilePoint&) = default;
};

struct TileSegment {
    TilePoint start;
    TilePoint end;
    friend bool operator==(const TileSegment&, const TileSegment&) = default;
};

// The switchable snaps beside the end point snap of "Snap On" (all off at start-up, so a click
// snaps only as it always did). Each works only while "Snap On" is checked.
struct SnapSettings {
    bool grid = false;
    double gridSpacing = 10;  // drawing units
    bool midPoints = false;
    bool intersections = false;
    bool nearest = false;      // the point of a segment nearest to the mouse
    bool tileCorners = false;  // the tile's corners
    bool tile = false;         // the tile's edges (any point on them) and corners
    bool neighbours = false;   // end points of the copies beside the tile
    bool AnyObject() const {
        return midPoints || intersections || nearest || tileCorners || tile || neighbours;
    }
    bool Any() const { return grid || AnyObject(); }
};

// What a point was snapped to, shown by a marker on the canvas.
enum class SnapKind {
    None,
    EndPoint,
    Neighbour,
    Intersection,
    MidPoint,
    TileCorner,
    Nearest,
    TileEdge,
    Grid,
    Polar,
    Lock
};

// Where the next click lands when it is not the mouse pixel itself: a snapped or locked point in
// tile units, exact (not rounded to a pixel).
struct SnapTarget {
    TilePoint point;
    SnapKind kind = SnapKind::None;
};

// The drawing interaction's state. The figure model only resets it (a new figure) and reads it;
// the interaction drives it.
struct InteractionState {
    bool drawing = false;            // a first point is placed, the second awaited
    bool segmentRowAdded = false;    // the first point appended the row it was written in
    TilePoint start;                 // tile coordinates of the first point
    Pixel startPixel;                // canvas pixel of the first point
    Pixel mousePixel;                // last mouse position on the canvas
    Pixel lockedPixel;               // the mouse position after the horizontal/vertical lock
    bool rubberShown = false;        // the rubber line is on the canvas now
    long double directionAngle = 0;  // radians, arctangent of dy/dx (+-pi/2 for dx = 0)
    int directionQuadrant = 1;       // 1 to 4
    bool typedLengthMode = false;
    double typedLength = 0;
    bool selectionMode = false;
    bool snapOn = true;
    bool shiftHeld = false;

    // The tools beside the specified protocol; each is off until switched on.
    SnapSettings snaps;
    bool polarOn = false;
    int polarStep = 15;  // degrees: 15, 30 or 45
    bool chainOn = false;
    // The last mouse move's snapped or locked point, when the extra snaps, polar angles or a
    // drag gave one; the click takes it.
    std::optional<SnapTarget> target;
    // A typed point ("@dx,dy", "x,y", "<L<A") that the typed-length click takes instead of the
    // length along the rubber line.
    std::optional<TilePoint> typedPoint;
    // The last click completed a segment and started the next one at its end.
    bool chainLinked = false;
    // Selection mode: an end point being dragged (the row and 0 for its start, 1 for its end).
    // The drag holds while the grid stays at dragRevision: a row deleted or moved under it (Delete
    // pressed with the button held) ends it.
    bool dragging = false;
    int dragRow = 0;
    int dragEnd = 0;
    unsigned long dragRevision = 0;
    // Selection mode: a window being dragged from this pixel.
    bool pressed = false;
    Pixel pressPixel;
    bool windowShown = false;
    // Rows selected by a window, valid while the grid is at this revision.
    std::vector<int> windowRows;
    unsigned long windowRevision = 0;
};

// Zoom and pan: the view maps tile units to the canvas's pixels. At zoom 1 without a pan it is
// the specified transform exactly; the window's extra size grows the canvas beyond the panel.
struct ViewState {
    long double zoom = 1;     // canvas pixels per specified pixel
    long double offsetX = 0;  // tile units the view is moved left (tile x at pixel 0)
    long double offsetY = 0;  // tile units the view is moved up (from H at pixel row 0)
    int extraWidth = 0;       // pixels the canvas has beyond its specified size
    int extraHeight = 0;
    // The tile fits the canvas ("Passend" or a new tile, no zoom or pan since): a new canvas
    // size fits it again.
    bool fitted = true;
};

// Mouse moves with every snap on stay cheap on large figures: the rows' segments parsed and sorted
// into buckets, updated row by row as the grid changes. Built by the snaps, kept by the model.
class SegmentIndex;

class FigureModel;

// Sets up a new tile of width x height units: the grid keeps one empty data row, the canvas
// is resized to the tile and filled white, the snap radius, drawing, rubber line and the
// previous and current row are reset. A side below 1 or beyond the 32-bit range is refused:
// the result is false and model and canvas are unchanged. The background picture is the
// caller's (the window removes it when this succeeds).
bool InitFiguur(FigureModel& model, Canvas& canvas, std::int64_t width, std::int64_t height);

class FigureModel {
  public:
    FigureModel() = default;

    // False until the first InitFiguur; until then the scale and snap radius are 0 and nothing
    // can be drawn.
    bool HasFigure() const { return scale_ > 0.0; }
    int TileWidth() const { return tileWidth_; }
    int TileHeight() const { return tileHeight_; }
    // Tile units per canvas pixel: max(W, H) / 300.
    double Scale() const { return scale_; }
    // 7 pixels in tile units.
    long double SnapRadius() const { return snapRadius_; }
    // Tile units per canvas pixel at the present zoom (the scale at zoom 1), and the snap radius
    // of 7 canvas pixels at that zoom: radii stay in screen pixels.
    long double ViewScale() const { return scale_ / view.zoom; }
    long double ViewSnapRadius() const {
        return view.zoom == 1 ? snapRadius_ : kSnapPixels * ViewScale();
    }
    // The panel DP holds the canvas inside a one-pixel bevel: the canvas is 2 pixels smaller.
    int PanelWidth() const { return panelWidth_ + view.extraWidth; }
    int PanelHeight() const { return panelHeight_ + view.extraHeight; }
    int CanvasWidth() const { return PanelWidth() - 2; }
    int CanvasHeight() const { return PanelHeight() - 2; }
    // The tile spans canvas pixels 0 to these, round(W / s) and round(H / s): its edges are
    // drawn there, and a background picture fits this rectangle.
    int TilePixelWidth() const { return panelWidth_ - 4; }
    int TilePixelHeight() const { return panelHeight_ - 4; }
    int PenWidth() const { return thickPen ? kThickPenWidth : kThinPenWidth; }

    TextGrid grid = MakeFiguurGrid();  // FiguurGrid, the figure's only store
    bool thickPen = true;              // DikkePen, checked at start-up
    // The rows last drawn by cell selection: the previous one in black, the current one in red.
    int previousRow = 0;
    int currentRow = 0;
    // A background picture was loaded and the canvas has not been redrawn since.
    bool backgroundChanged = false;
    InteractionState interaction;
    ViewState view;
    mutable std::shared_ptr<SegmentIndex> segmentIndex;

  private:
    friend bool InitFiguur(FigureModel&, Canvas&, std::int64_t, std::int64_t);
    int tileWidth_ = 0;
    int tileHeight_ = 0;
    double scale_ = 0.0;
    long double snapRadius_ = 0;
    int panelWidth_ = kStartPanelSize;
    int panelHeight_ = kStartPanelSize;
};

// "Nieuw" after OK: both texts must be whole decimal numbers (an optional sign and digits),
// then InitFiguur. False (nothing changed) when a text is not a whole number or the size is
// refused; the caller shows kInvalidValueText.
bool NewFigureFromTexts(FigureModel& model, Canvas& canvas, std::string_view widthText,
                        std::string_view heightText);
using murvex::kInvalidValueText;
inline constexpr const char* kInvalidValueTitle = "Error";

// An optional sign and decimal digits within the 32-bit range; nothing for any other text.
std::optional<int> ParseWholeNumber(std::string_view text);

struct CanvasPoint {
    Pixel pixel;
    bool visible = false;  // pixel x <= canvas width and pixel y >= 0; drawing ignores it
};
// Tile to canvas: at zoom 1 without a pan x / s and (H - y) / s rounded with RoundToInt, the
// inverse of PixelToTile: the tile's corners land on pixels (0, 0) and (round(W / s), round(H /
// s)), inside the canvas. Needs a figure (scale above 0).
CanvasPoint FiguurToPixel(const FigureModel& model, TilePoint p);
// Canvas to tile, unrounded: (px * s, H - py * s) at zoom 1 without a pan.
TilePoint PixelToTile(const FigureModel& model, Pixel p);

// The closed tile: 0 <= x <= W and 0 <= y <= H.
bool InsideTile(const FigureModel& model, TilePoint p);

// All four coordinate cells of a data row hold text.
bool RowComplete(const TextGrid& grid, int row);
// The row's four cells parsed with ParseDecimal; a cell that does not parse counts as 0.
TileSegment RowSegment(const TextGrid& grid, int row);

}  // namespace murvex::figure
