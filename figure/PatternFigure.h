// A pattern opened as a figure: its rectangular repeat as the tile, what it draws there as rows.
#pragma once

#include <string>
#include <string_view>

#include "PatternFile.h"
#include "PatternHeader.h"
#include "PatternRepeat.h"

namespace murvex::figure {

struct PatternFigure {
    PatternRepeat repeat;
    double scale = 0;  // the scale used; 0 when there is no figure
    int tileWidth = 0;
    int tileHeight = 0;
    TileDrawing tile;  // in the scaled units
    // The figure list of the tile: ";%SIZE=", the header lines, one row per segment.
    LineList list;
    std::string problem;  // why there is no figure (the repeat's reason, or the scale's)
};

// The pattern lines of one pattern file (the first pattern of the text), its header giving the
// units and the name. scale 0 takes the repeat's own power of ten; another scale must make both
// sides whole numbers within the tolerance.
PatternFigure FigureOfPattern(std::string_view patternText, const PatternHeader& header,
                              double scale = 0, const RepeatBounds& bounds = {});

}  // namespace murvex::figure
