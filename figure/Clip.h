// Clipping a segment to the closed tile, in extended precision.
#pragma once

#include <optional>

#include "FigureModel.h"

namespace murvex::figure {

// The part of the segment inside the tile 0 <= x <= W, 0 <= y <= H, with its end points
// ordered so that start.x <= end.x. An end point inside the tile stays exactly as it is; one
// outside moves to the edge it crosses. A crossing must lie strictly between the edge's
// corners, so a segment that only touches a corner fails, and so does one that misses the tile
// (a vertical segment outside 0 <= x <= W included). Nothing when the clip fails.
std::optional<TileSegment> ClipFiguurLijn(TileSegment segment, long double width,
                                          long double height);

}  // namespace murvex::figure
