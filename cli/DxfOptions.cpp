// The options figure-read and figure take for a DXF drawing, in every build: a build without
// DXF drawings parses them the same and then refuses the drawing.
#include <CLI/CLI.hpp>

#include "DxfFigure.h"

namespace murvex::cli {

void AddDxfOptions(CLI::App& app, DxfOptions& options) {
    app.add_option("--tile", options.tile,
                   "DXF only: the tile X0 Y0 X1 Y1 in drawing coordinates (default: a closed "
                   "rectangle on layer TEGEL or TILE, else the extents)")
        ->expected(4);
    app.add_option("--layer", options.layers,
                   "DXF only: take this layer (repeat for more); all layers without it");
    app.add_option("--chord", options.chord,
                   "DXF only: how far a chord may stray from its curve, in drawing units "
                   "(default 0.2 % of the tile's smaller side)");
}

bool AnyDxfOption(const DxfOptions& options) {
    return !options.tile.empty() || !options.layers.empty() || !options.chord.empty();
}

}  // namespace murvex::cli
