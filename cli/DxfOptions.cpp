// The options figure-read and figure take for a DXF drawing, in every build: a build without
// DXF drawings parses them the same and then refuses the drawing.
#include <CLI/CLI.hpp>

#include "DxfFigure.h"

namespace murvex::cli {

void AddDxfOptions(CLI::App& app, DxfOptions& options) {
    app.add_option(
           "--tile", options.tile,
           "DXF only: the tile X0 Y0 X1 Y1 in drawing coordinates times --scale (default: a closed "
           "rectangle on layer TEGEL or TILE, else the extents)")
        ->expected(4);
    app.add_option("--layer", options.layers,
                   "DXF only: take this layer (repeat for more); all layers without it");
    app.add_option("--scale", options.scale,
                   "DXF only: multiply the drawing by F (figure units per drawing unit; the tile "
                   "and the chord are in figure units), or \"mm\": from the drawing's $INSUNITS "
                   "(m, cm, mm, inch, foot) to millimetres");
    app.add_option(
        "--chord", options.chord,
        "DXF only: how far a chord may stray from its curve, in drawing units times --scale "
        "(default 0.2 % of the tile's smaller side)");
}

bool AnyDxfOption(const DxfOptions& options) {
    return !options.tile.empty() || !options.layers.empty() || !options.chord.empty() ||
           !options.scale.empty();
}

}  // namespace murvex::cli
