// Pictures of a pattern: the pixel size of a box and the drawn segments as SVG text.
#pragma once

#include <string>
#include <vector>

#include "PatternGeometry.h"
#include "PreviewContent.h"

namespace murvex {

// The largest side a picture may have, in pixels: a PNG of this size takes 256 MiB in memory.
inline constexpr int kMaxPictureSide = 8192;

struct PictureSize {
    int width = 0;
    int height = 0;
    double scale = 0;  // pixels per drawing unit, the same along both axes
};

// The box's larger side gets largerSide pixels and the other side the same scale, rounded and at
// least one pixel. Nothing (width 0) unless the box has a finite, positive width and height and
// largerSide lies in 1 .. kMaxPictureSide.
PictureSize PictureSizeFor(const Box& box, int largerSide);

// An SVG document of width x height pixels on a white ground showing the box, y upwards as in
// the drawing: the segments as black lines one pixel wide whatever the zoom, dots as round caps.
// Coordinates are written in drawing units (y negated) in the shortest form that reads back to
// the same double, never through the locale. The overlay follows the pattern, one path per
// segment in its own colour, 2 pixels wide (3 when marked).
std::string SegmentsToSvg(const std::vector<DrawnSegment>& segments, const Box& box,
                          const PictureSize& size, const std::vector<OverlaySegment>& overlay = {});

}  // namespace murvex
