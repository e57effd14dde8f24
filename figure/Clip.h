// Clipping a segment to the closed tile, in extended precision.
#pragma once

#include <optional>
#include <vector>

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

namespace murvex::figure {

// The segment as the repeating tile shows it: cut at every tile border it crosses, each part
// moved back into the tile by whole tile widths and heights, so a figure moved across the
// border repeats as drawn. A segment inside the closed tile comes back as it is; parts shorter
// than a millionth of the tile's longer side are left out. The segment should be at most a few
// tiles long (it has at most one part per tile it crosses).
std::vector<TileSegment> WrapIntoTile(const TileSegment& segment, long double width,
                                      long double height);

// x reduced by whole periods into [0, period).
long double ReduceByPeriods(long double x, long double period);

}  // namespace murvex::figure
