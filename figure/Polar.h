// Polar angles: the rubber line locks to the multiples of an angle step, as the horizontal and
// vertical lock does for 0 and 90 degrees.
#pragma once

#include <optional>

#include "FigureModel.h"

namespace murvex::figure {

// The mouse locks to a ray when it lies less than this many pixels from it.
inline constexpr int kPolarPixels = 6;

// The steps the switch offers, in degrees; any other step is refused.
bool ValidPolarStep(int degrees);

// The point on the nearest ray from `from` at a multiple of the model's polar step, when the
// mouse (in tile units) lies less than kPolarPixels from that ray, ahead of `from`. With the grid
// snap on, the length along the ray is a whole number of grid spacings.
std::optional<TilePoint> PolarPoint(const FigureModel& model, TilePoint from, TilePoint mouse);

}  // namespace murvex::figure
