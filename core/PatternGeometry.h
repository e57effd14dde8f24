// Pattern geometry: the segments and dots that pattern lines draw inside a rectangle.
#pragma once

#include <vector>

#include "PatternFile.h"

namespace murvex {

// A drawn piece of a pattern line, in drawing units; a dot has equal end points.
struct DrawnSegment {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

// An axis-parallel rectangle, x0 <= x1 and y0 <= y1.
struct Box {
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
};

// The largest repeat of the pattern lines: a dash sequence's length or the distance between
// parallel lines, whichever is larger; 0 when no line has a finite one.
double PatternRepeatSize(const std::vector<PatternLine>& lines);

// Every segment and dot the pattern lines draw inside the box, clipped to it. Lines whose shift
// across is 0 are drawn once; the count of segments is capped (maxSegments) so that a pattern
// that is far too dense for the box cannot exhaust memory; `truncated` tells when it was hit.
struct DrawResult {
    std::vector<DrawnSegment> segments;
    bool truncated = false;
};
DrawResult DrawPattern(const std::vector<PatternLine>& lines, const Box& box,
                       std::size_t maxSegments = 2000000);

}  // namespace murvex
