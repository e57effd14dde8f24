// The preview's view of a drawing: where the picture looks, zooming about a point, panning, and
// the length of the scale bar. Pixels run right and down from the picture's top-left corner;
// drawing units run right and up.
#pragma once

#include "PatternGeometry.h"

namespace murvex {

struct ViewPoint {
    double x = 0.0;
    double y = 0.0;
};

struct ViewTransform {
    double left = 0.0;   // drawing x at the picture's left edge
    double top = 0.0;    // drawing y at the picture's top edge
    double scale = 1.0;  // pixels per drawing unit, > 0

    ViewPoint ToPixel(double x, double y) const { return {(x - left) * scale, (top - y) * scale}; }
    ViewPoint ToDrawing(double px, double py) const {
        return {left + px / scale, top - py / scale};
    }
    // The drawing box a picture of width x height pixels shows.
    Box Visible(int width, int height) const;
};

// The view that shows the whole box centred in a picture of width x height pixels with margin
// pixels free on every side (less when the picture is smaller). A box without width or height
// is shown at the scale of its other side; a point or an invalid box gives scale 1 about it.
ViewTransform FitView(const Box& box, int width, int height, int margin);

// Zooms by factor (> 1 closer) keeping the drawing point under pixel (px, py) where it is. The
// new scale is held to minScale .. maxScale; at a limit the view only moves as far as it zooms.
ViewTransform ZoomAbout(const ViewTransform& view, double px, double py, double factor,
                        double minScale, double maxScale);

// Moves the drawing with the mouse: dx, dy pixels right and down.
ViewTransform PanBy(const ViewTransform& view, double dx, double dy);

// The longest of 1, 2 and 5 times a power of ten (drawing units) that spans at most maxPixels
// at this scale; 0 when the scale or maxPixels is not positive and finite.
double ScaleBarLength(double scale, double maxPixels);

}  // namespace murvex
