// The DXF import on any bytes: our checks, dxflib behind them, the INSERT expansion, the fitting
// to a tile and the grid it fills. No crash, no hang, and every segment inside its tile.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Canvas.h"
#include "DxfImport.h"
#include "FigureEditing.h"
#include "FigureModel.h"

using namespace murvex;

namespace {

void Check(const dxf::ImportResult& result) {
    if (!result.figure) return;
    const dxf::TileFigure& f = *result.figure;
    if (f.width < 1 || f.height < 1 || f.segments.size() > dxf::kMaxSegments) std::abort();
    for (const figure::TileSegment& s : f.segments)
        for (const figure::TilePoint& p : {s.start, s.end})
            if (!(p.x >= 0 && p.x <= f.width && p.y >= 0 && p.y <= f.height)) std::abort();
    figure::FigureModel model;
    figure::NullCanvas canvas;
    // One row per segment (an empty one when there are none): the redraw deletes none of them,
    // as all lie in the tile. Sizes beyond the figure's own limits are refused there.
    const std::size_t rows = std::max<std::size_t>(f.segments.size(), 1);
    if (figure::FillTile(model, canvas, f.width, f.height, f.segments) &&
        static_cast<std::size_t>(model.grid.RowCount()) != rows + 1)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const dxf::DrawingResult read =
        dxf::ReadDrawing(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.drawing) {
        if (read.error.empty()) std::abort();
        return 0;
    }
    Check(dxf::ImportTile(*read.drawing, {}));
    // A small tile: everything is wrapped into it.
    dxf::ImportOptions small;
    small.tile = dxf::Tile{{-3, -2}, {4, 5}, dxf::TileSource::Given, {}};
    small.chordTolerance = 0.05;
    Check(dxf::ImportTile(*read.drawing, small));
    return 0;
}
