// Zoom and pan of the figure's canvas.
#include "View.h"

#include <algorithm>
#include <cmath>

#include "FigureEditing.h"
#include "Selection.h"

namespace murvex::figure {

long double PixelsPerUnit(const FigureModel& model) {
    return model.HasFigure() ? 1 / model.ViewScale() : 0;
}

CanvasExtra CanvasRoom(const FigureModel& model, int windowExtraWidth, int windowExtraHeight) {
    CanvasExtra extra{std::max(windowExtraWidth, 0), std::max(windowExtraHeight, 0)};
    if (!model.HasFigure() || (extra.width == 0 && extra.height == 0)) return extra;
    const int tileWidth = model.PanelWidth() - model.view.extraWidth;
    const int tileHeight = model.PanelHeight() - model.view.extraHeight;
    extra.width += std::max(0, kStartPanelSize - tileWidth);
    extra.height += std::max(0, kStartPanelSize - tileHeight);
    return extra;
}

CanvasRect PictureOnCanvas(const FigureModel& model, int pictureWidth, int pictureHeight) {
    if (!model.HasFigure()) return {};
    // A designed pixel q is the tile point q * s; on the canvas it lies where the view puts it.
    const long double s = model.Scale();
    const long double vs = model.ViewScale();
    const ViewState& v = model.view;
    const long double left = (model.TilePixelWidth() - pictureWidth) / 2.0L;
    const long double top = (model.TilePixelHeight() - pictureHeight) / 2.0L;
    return {static_cast<double>((left * s - v.offsetX) / vs),
            static_cast<double>((top * s + v.offsetY) / vs),
            static_cast<double>(pictureWidth * s / vs),
            static_cast<double>(pictureHeight * s / vs)};
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
    model.view.fitted = false;
    RedrawWithSelection(model, canvas);
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
    model.view.fitted = false;
    RedrawWithSelection(model, canvas);
    return true;
}

namespace {

// The zoom at which the tile fits the canvas.
long double FitZoom(const FigureModel& model) {
    // The tile spans its specified pixels at zoom 1; the canvas holds 2 pixels more.
    const long double fx =
        (model.CanvasWidth() - 2) / static_cast<long double>(model.TilePixelWidth());
    const long double fy =
        (model.CanvasHeight() - 2) / static_cast<long double>(model.TilePixelHeight());
    const long double s = model.Scale();
    return std::clamp(std::min(fx, fy), kMinPixelsPerUnit * s, kMaxPixelsPerUnit * s);
}

}  // namespace

void FitTile(FigureModel& model, Canvas& canvas) {
    if (!model.HasFigure()) return;
    model.view.zoom = FitZoom(model);
    model.view.offsetX = 0;
    model.view.offsetY = 0;
    model.view.fitted = true;
    RedrawWithSelection(model, canvas);
}

void SetExtraCanvasSize(FigureModel& model, Canvas& canvas, int extraWidth, int extraHeight) {
    extraWidth = std::max(extraWidth, 0);
    extraHeight = std::max(extraHeight, 0);
    if (extraWidth == model.view.extraWidth && extraHeight == model.view.extraHeight) {
        // A new tile starts at zoom 1: in a grown canvas that is no longer the fitted view.
        if (model.HasFigure() && model.view.fitted &&
            (model.view.zoom != FitZoom(model) || model.view.offsetX != 0 ||
             model.view.offsetY != 0))
            FitTile(model, canvas);
        return;
    }
    model.view.extraWidth = extraWidth;
    model.view.extraHeight = extraHeight;
    // Before the first figure the canvas holds no picture yet.
    if (!model.HasFigure()) return;
    if (model.view.fitted)
        FitTile(model, canvas);
    else
        RedrawWithSelection(model, canvas);
}

std::optional<std::pair<Pixel, Pixel>> TileOutline(const FigureModel& model) {
    const ViewState& view = model.view;
    const bool designed = view.zoom == 1 && view.offsetX == 0 && view.offsetY == 0 &&
                          view.extraWidth == 0 && view.extraHeight == 0;
    if (!model.HasFigure() || designed) return std::nullopt;
    const auto near = [&](TilePoint p) {
        const Pixel q = FiguurToPixel(model, p).pixel;
        return Pixel{std::clamp(q.x, -100000, 100000), std::clamp(q.y, -100000, 100000)};
    };
    return std::pair{near({0, static_cast<long double>(model.TileHeight())}),
                     near({static_cast<long double>(model.TileWidth()), 0})};
}

}  // namespace murvex::figure
