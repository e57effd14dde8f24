// Zoom and pan of the figure's canvas.
#include "View.h"

#include <algorithm>
#include <cmath>

#include "FigureEditing.h"
#include "Selection.h"

namespace murvex::figure {

namespace {

// A redraw from the grid, then the selected row and the rows a window selected red again.
void Redraw(FigureModel& model, Canvas& canvas) {
    RedrawFiguur(model, canvas);
    if (model.currentRow > 0) DrawFiguurLijn(model, canvas, model.currentRow, true);
    RedrawSelection(model, canvas);
}

}  // namespace

long double PixelsPerUnit(const FigureModel& model) {
    return model.HasFigure() ? 1 / model.ViewScale() : 0;
}

bool ZoomAbout(FigureModel& model, Canvas& canvas, Pixel p, long double factor) {
    if (!model.HasFigure() || !(factor > 0) || !std::isfinite(factor)) return false;
    const long double s = model.Scale();
    const long double minZoom = kMinPixelsPerUnit * s;
    const long double maxZoom = kMaxPixelsPerUnit * s;
    const long double zoom = std::clamp(model.view.zoom * factor, minZoom, maxZoom);
    if (zoom == model.view.zoom) return false;
    const TilePoint under = PixelToTile(model, p);
    model.view.zoom = zoom;
    const long double vs = model.ViewScale();
    model.view.offsetX = under.x - p.x * vs;
    model.view.offsetY = under.y + p.y * vs - model.TileHeight();
    Redraw(model, canvas);
    return true;
}

bool WheelZoom(FigureModel& model, Canvas& canvas, Pixel p, int delta) {
    if (delta == 0) return false;
    return ZoomAbout(model, canvas, p, std::pow(kWheelZoomStep, delta / 120.0L));
}

bool PanBy(FigureModel& model, Canvas& canvas, int dx, int dy) {
    if (!model.HasFigure() || (dx == 0 && dy == 0)) return false;
    const long double vs = model.ViewScale();
    model.view.offsetX -= dx * vs;
    model.view.offsetY += dy * vs;
    Redraw(model, canvas);
    return true;
}

void FitTile(FigureModel& model, Canvas& canvas) {
    if (!model.HasFigure()) return;
    // The tile spans its specified pixels at zoom 1; the canvas holds 2 pixels more.
    const long double fx =
        (model.CanvasWidth() - 2) / static_cast<long double>(model.TilePixelWidth());
    const long double fy =
        (model.CanvasHeight() - 2) / static_cast<long double>(model.TilePixelHeight());
    const long double s = model.Scale();
    model.view.zoom = std::clamp(std::min(fx, fy), kMinPixelsPerUnit * s, kMaxPixelsPerUnit * s);
    model.view.offsetX = 0;
    model.view.offsetY = 0;
    Redraw(model, canvas);
}

void SetExtraCanvasSize(FigureModel& model, Canvas& canvas, int extraWidth, int extraHeight) {
    extraWidth = std::max(extraWidth, 0);
    extraHeight = std::max(extraHeight, 0);
    if (extraWidth == model.view.extraWidth && extraHeight == model.view.extraHeight) return;
    model.view.extraWidth = extraWidth;
    model.view.extraHeight = extraHeight;
    // Before the first figure the canvas holds no picture yet.
    if (model.HasFigure()) Redraw(model, canvas);
}

}  // namespace murvex::figure
