// The free figure: its tile, scale and snap radius, the segment grid, the editor state and the
// transforms between tile units and canvas pixels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

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
};

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
    // The panel DP holds the canvas inside a one-pixel bevel: the canvas is 2 pixels smaller.
    int PanelWidth() const { return panelWidth_; }
    int PanelHeight() const { return panelHeight_; }
    int CanvasWidth() const { return panelWidth_ - 2; }
    int CanvasHeight() const { return panelHeight_ - 2; }
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
// Tile to canvas: x / s and (H - y) / s rounded with RoundToInt, the inverse of PixelToTile:
// the tile's corners land on pixels (0, 0) and (round(W / s), round(H / s)), inside the canvas.
// Needs a figure (scale above 0).
CanvasPoint FiguurToPixel(const FigureModel& model, TilePoint p);
// Canvas to tile, unrounded: (px * s, H - py * s).
TilePoint PixelToTile(const FigureModel& model, Pixel p);

// The closed tile: 0 <= x <= W and 0 <= y <= H.
bool InsideTile(const FigureModel& model, TilePoint p);

// All four coordinate cells of a data row hold text.
bool RowComplete(const TextGrid& grid, int row);
// The row's four cells parsed with ParseDecimal; a cell that does not parse counts as 0.
TileSegment RowSegment(const TextGrid& grid, int row);

}  // namespace murvex::figure
