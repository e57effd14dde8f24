// Painting drawn segments through a view with QPainter: lines one pixel wide, dots as round dots.
#pragma once

#include <cstddef>
#include <vector>

#include "PatternGeometry.h"
#include "PreviewContent.h"
#include "PreviewView.h"

class QColor;
class QPainter;

namespace murvex {

// Segments fully shorter than this many pixels are painted as one dot: at that size a dash and a
// dot look the same and a dot costs a fraction of an antialiased line.
inline constexpr double kShortSegmentPixels = 1.0;

// Paints the segments through the view with a pen of the colour, width pixels wide; dots (and
// segments shorter than a pixel) as round dots. Returns the number of pieces painted.
std::size_t PaintSegments(QPainter& painter, const std::vector<DrawnSegment>& segments,
                          const ViewTransform& view, const QColor& color, double width = 1.0);

// Paints the overlay through the view over what is there: each segment in its colour with round
// ends, 2 pixels wide, or 3 and dashed when marked. Returns the number of segments painted.
std::size_t PaintOverlay(QPainter& painter, const std::vector<OverlaySegment>& overlay,
                         const ViewTransform& view);

}  // namespace murvex
