// Zoom and pan of the figure's canvas. The view only changes how tile units map to canvas
// pixels; the grid is untouched. Each change redraws the canvas from the grid.
#pragma once

#include <optional>
#include <utility>

#include "Canvas.h"
#include "FigureModel.h"

namespace murvex::figure {

// Zoom limits in canvas pixels per drawing unit: below one thousandth a whole tile would be
// one pixel, beyond a thousand a pixel's position no longer fits the coordinates' precision.
inline constexpr long double kMinPixelsPerUnit = 0.001L;
inline constexpr long double kMaxPixelsPerUnit = 1000.0L;

// The wheel's factor per notch (120 units of a standard wheel).
inline constexpr long double kWheelZoomStep = 1.25L;

// Zooms by factor about canvas pixel p: the tile point under p stays under it. The zoom stops at
// the limits above. False when nothing changed (no figure, or already at the limit).
bool ZoomAbout(FigureModel& model, Canvas& canvas, Pixel p, long double factor);
// A wheel turn of `delta` eighths of a degree (120 a notch) about p; upward zooms in.
bool WheelZoom(FigureModel& model, Canvas& canvas, Pixel p, int delta);
// Moves the view by (dx, dy) canvas pixels: the picture follows the mouse.
bool PanBy(FigureModel& model, Canvas& canvas, int dx, int dy);
// "Passend": the tile fits the canvas. At the canvas's specified size this is the specified view.
void FitTile(FigureModel& model, Canvas& canvas);
// The window gave the canvas this many pixels beyond its specified size (0 or more each).
// A fitted view fits the tile to the new size; a zoomed or moved one keeps its zoom and the tile
// point at the top left pixel.
void SetExtraCanvasSize(FigureModel& model, Canvas& canvas, int extraWidth, int extraHeight);

// The canvas's extra size for a window with this many pixels beyond its designed size: at the
// designed size none (the panel has the tile's shape); in a larger window the canvas takes all
// the room of the designed square panel and the extra pixels.
struct CanvasExtra {
    int width = 0;
    int height = 0;
};
CanvasExtra CanvasRoom(const FigureModel& model, int windowExtraWidth, int windowExtraHeight);

// Pixels per drawing unit at the present zoom.
long double PixelsPerUnit(const FigureModel& model);

// Where a background picture lies on the canvas now, unrounded canvas pixels: at the designed view
// it is centred on the tile's pixels as loaded (fitted to the tile), and it follows the zoom and
// the pan as the tile does.
struct CanvasRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};
CanvasRect PictureOnCanvas(const FigureModel& model, int pictureWidth, int pictureHeight);

// The tile's outline on the canvas, its top left and bottom right corner pixels, shown once the
// view is no longer the designed one (zoomed, moved or larger); nothing at the designed view or
// without a figure. Corners far beyond the canvas are brought within 100,000 pixels of it, so
// that the visible part stays.
std::optional<std::pair<Pixel, Pixel>> TileOutline(const FigureModel& model);

}  // namespace murvex::figure
