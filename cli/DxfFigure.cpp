// murvex-cli's reading of a DXF drawing for figure-read and figure.
#include "DxfFigure.h"

#include "DxfImport.h"
#include "FigureEditing.h"

#include "Commands.h"
#include "Cp1252.h"
#include "NumberText.h"
#include "Text.h"

namespace murvex::cli {

bool IsDrawingName(const std::string& file) {
    return dxf::IsDxfName(file);
}

int ReadDxfFigure(const std::string& file, const DxfOptions& options, figure::FigureModel& model,
                  figure::Canvas& canvas, PatternHeader& texts, DrawingReport& report) {
    dxf::ImportOptions import;
    if (!options.tile.empty()) {
        double v[4] = {};
        for (std::size_t i = 0; i < 4; ++i) {
            const ParseResult r = ParseDecimal(options.tile[i]);
            if (!r.ok) {
                Complain(kInvalidValueText);
                return kExitInvalid;
            }
            v[i] = r.value;
        }
        import.tile = dxf::Tile{{v[0], v[1]}, {v[2], v[3]}, dxf::TileSource::Given, {}};
    }
    if (!options.layers.empty()) {
        std::vector<std::string> layers;
        for (const std::string& l : options.layers)
            layers.push_back(Utf8ToCp1252(l));
        import.layers = layers;
    }
    if (!options.chord.empty()) {
        const ParseResult r = ParseDecimal(options.chord);
        if (!r.ok) {
            Complain(kInvalidValueText);
            return kExitInvalid;
        }
        import.chordTolerance = r.value;
    }
    if (EqualsNoCase(options.scale, "mm")) {
        import.toMillimetres = true;
    } else if (!options.scale.empty()) {
        const ParseResult r = ParseDecimal(options.scale);
        if (!r.ok) {
            Complain(kInvalidValueText);
            return kExitInvalid;
        }
        import.scale = r.value;
    }
    const std::optional<std::string> bytes = ReadInput(file);
    if (!bytes) return kExitFailed;
    const dxf::DrawingResult read = dxf::ReadDrawing(*bytes);
    if (!read.drawing) {
        Complain(Cp1252ToUtf8(read.error));
        return kExitInvalid;
    }
    const dxf::ImportResult result = dxf::ImportTile(*read.drawing, import);
    if (!result.figure) {
        Complain(Cp1252ToUtf8(result.error));
        return kExitInvalid;
    }
    if (!figure::FillTile(model, canvas, result.figure->width, result.figure->height,
                          result.figure->segments)) {
        Complain(kInvalidValueText);
        return kExitInvalid;
    }
    texts.units = result.figure->report.units;
    report.lines = dxf::ReportLines(result.figure->report);
    report.json = dxf::ReportJson(result.figure->report, "  ");
    return kExitOk;
}

}  // namespace murvex::cli
