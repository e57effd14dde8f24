// The compatible way of writing a pattern file: the same pattern in a form that every known
// reader takes (a description on the name line, short numbers, lines of at most 80 characters
// where that keeps the pattern, no empty line inside the pattern).
#pragma once

#include <limits>
#include <string>
#include <string_view>

#include "PatternFile.h"
#include "Text.h"

namespace murvex {

// How a writer puts a pattern down. Specified is the program's own byte layout and the default;
// Compatible is chosen by the user ("Compatibel opslaan", --compatible).
enum class PatternStyle { Specified, Compatible };

// "*NAME, NAME" for a name without a description; a name that has one (a comma) stays
// "*NAME". Some readers find no pattern under a name line without a description.
std::string CompatibleNameLine(std::string_view name);

// A plain decimal ("-12.500") without trailing zeros and without a trailing point ("-12.5");
// "-0.000" keeps its sign only where keepZeroSign is set (a gap of length 0 is no dot). Any other
// text comes back trimmed but otherwise as it was.
std::string ShortNumber(std::string_view text, bool keepZeroSign);

// The fields of a pattern line trimmed, joined by "," and each number made short. Lines that are
// no pattern line (header, name, comment, empty, typed text) come back unchanged.
std::string ShortPatternLine(std::string_view line);

// Copies of a pattern line that repeats with a tile are compared over this many tiles each way,
// from the origin.
inline constexpr int kCompatibleTileCount = 100;
// A shortened line may put no copy further than this fraction of the tile's smaller side from
// where the full line puts it.
inline constexpr double kCompatibleTolerance = 1e-6;

// The largest distance, over the tiles [0, count W] x [0, count H], between a dash end (or start)
// of `exact` and the same dash end of `written` (the same line of the family, the same period).
// Both lines need the same number of dashes with a positive total length and a non-zero shift
// across; infinity otherwise.
double CopyDeviation(const PatternLine& exact, const PatternLine& written, double width,
                     double height, int count = kCompatibleTileCount);

struct FittedLine {
    std::string text;
    bool rounded = false;  // some number lost decimals
    double deviation = 0;  // CopyDeviation of the rounded line
};

// ShortPatternLine, and where that is still longer than kCadLineLimit: each number with the
// fewest decimals (of at most kFittedDecimals) that keep the copies within kCompatibleTolerance
// of the tile's smaller side (CopyDeviation). The angle moves far copies most and keeps the most
// decimals. When even those do not fit, the short line with every decimal: a reader that cuts it
// loses the end, but nothing is moved.
inline constexpr int kFittedDecimals = 10;
FittedLine FitPatternLine(std::string_view line, double tileWidth, double tileHeight);

// The same pattern line in the form every reader draws alike, or the line unchanged when it has
// that form: the angle in [0, 180) (FreeCAD draws a line turned further from the other end of
// its dash list), a line turned half round written reversed (its origin at the other end of the
// dash list, the list reversed and starting with a dash, the shift negated), and no gap of -0
// (FreeCAD draws it as a dot): the dashes on either side are joined, a line without any other gap
// is solid.
std::string ReaderNeutralLine(std::string_view line);

// Rewrites a finished line list in the compatible way: the name line gets a description, the
// pattern lines reader-neutral (ReaderNeutralLine) with short numbers (fitted to the tile when one
// is given, for lines that repeat with it), and an empty line after the name line becomes a bare
// ";" comment.
struct CompatibleTile {
    double width = 0;
    double height = 0;
};
void MakeCompatible(LineList& lines, const CompatibleTile* tile = nullptr);

}  // namespace murvex
