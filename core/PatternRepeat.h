// A pattern's rectangular repeat, and what the pattern draws in one such tile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "PatternFile.h"
#include "PatternGeometry.h"

namespace murvex {

// The tolerance of numbers that are exactly what was meant.
inline constexpr double kExactTolerance = 1e-9;

struct RepeatBounds {
    // How far a written number may lie from the one meant (ToleranceOfText). Angles are taken to
    // be written to the same decimals, in degrees.
    double tolerance = kExactTolerance;
    double maxSide = 100000;
    double maxSegments = 100000;
};

enum class RepeatStatus {
    Found,
    NoLines,         // nothing is drawn
    LineDrawnOnce,   // a family with shift across 0 and not along the axis: no repeat across it
    NoRepeat,        // a direction or a dash period with no whole repeat within maxSide
    TooManySegments  // a repeat exists but its tile holds more than maxSegments
};

// The smallest W > 0 and H > 0 such that moving the drawing by (W, 0) and by (0, H) maps every
// family (angle, shift across and along, dash list) onto itself, within the tolerance. The
// origins place each family's lattice of copies; they count where families of one kind (the same
// angle, shifts and dashes) together repeat sooner than each alone, as the same lines twice, half
// a shift apart, do. Families that draw the same lines but are written differently (another
// angle half a turn round, another dash list) are not combined: their repeat found is then a
// whole multiple of the smallest.
struct PatternRepeat {
    RepeatStatus status = RepeatStatus::NoLines;
    double width = 0;
    double height = 0;
    // How far each side may be off, from the error of the written numbers as the search allowed
    // it (steep where lines run nearly along an axis).
    double widthError = 0;
    double heightError = 0;
    // The smallest power of ten (1, 10, 100, ...) that makes both sides whole numbers within the
    // tolerance and keeps them within maxSide; 0 when there is none.
    double scale = 0;
    double segmentEstimate = 0;
    std::string reason;  // why there is no repeat, or no whole scale of it
};
PatternRepeat FindPatternRepeat(const std::vector<PatternLine>& lines,
                                const RepeatBounds& bounds = {});

// The tolerance of the numbers of the pattern lines of the text: kExactTolerance when none has
// more than six decimals, else half a unit of the last decimal of the longest (at least 5e-13).
double ToleranceOfText(std::string_view patternText);

// Whether side x scale is a whole number of at least 1, within what the tolerance of the
// numbers, or the side's own error where that is larger, leaves of the side.
bool WholeAtScale(double side, double scale, double tolerance, double error = 0);

// What the pattern draws in [0, W) x [0, H): clipped at the tile's edges, collinear pieces that
// touch or overlap joined, pieces along the top and right edges left to their copies along the
// bottom and left, dots kept as segments with equal ends.
struct TileDrawing {
    std::vector<DrawnSegment> segments;
    std::size_t joined = 0;  // pieces joined into another, or left to their copy
    std::size_t dots = 0;
    std::size_t cut = 0;  // segments ending on the tile's edge, continued by a copy beyond it
    bool truncated = false;
};
TileDrawing DrawTile(const std::vector<PatternLine>& lines, double width, double height,
                     double tolerance, std::size_t maxSegments = 100000);

}  // namespace murvex
