// The raster picture of a pattern that PNG files hold: lines and dots painted fast enough for a
// million dots.
#pragma once

#include <cstddef>
#include <vector>

#include "PatternGeometry.h"
#include "PatternPicture.h"

class QImage;

namespace murvex {

// A dot one pixel wide would come out pale grey once antialiased: dots are discs of this radius.
inline constexpr double kPngDotRadius = 1.0;  // pixels
// Dots are placed to 1/kDotSteps of a pixel: every dot at one sub-pixel place looks the same, so
// each shape is rasterised once and copied, which makes a picture of a million dots cheap.
inline constexpr int kDotSteps = 64;

// Paints the segments into image (RGB32, size.width x size.height, already filled) with the box
// filling it, y upwards: black antialiased lines one pixel wide with round ends, dots as black
// discs. Returns how many dot shapes were rasterised: at most one per sub-pixel place. Below an
// opacity of 1 every line and dot is blended in that much: lines closer than the pixels then
// build up a grey tone rather than a solid black.
std::size_t PaintPatternImage(QImage& image, const std::vector<DrawnSegment>& segments,
                              const Box& box, const PictureSize& size, double opacity = 1.0);

}  // namespace murvex
