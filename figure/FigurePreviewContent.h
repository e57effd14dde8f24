// What the preview shows of the free figure: the pattern "Maak hatch" would write, the drawn
// segments over it, the tile as the repeat and the conversion report, all from one conversion.
#pragma once

#include "Conversion.h"
#include "PreviewContent.h"

namespace murvex {
class TextGrid;
}

namespace murvex::figure {

// The figure grid converted once (ConvertFiguurGrid): the pattern lines and failed rows of
// FigureHatchLines, one overlay segment per converted row (marked when it failed), the tile as
// the outline, and the report table with a grid row per table row. The file name is the
// pattern name. The report's headers are ConversionReportTable's.
PreviewContent FigurePreviewContent(const TileSize& tile, const TextGrid& grid,
                                    const PatternHeader& texts, const ConversionSettings& settings,
                                    PatternStyle style = PatternStyle::Specified);

}  // namespace murvex::figure
