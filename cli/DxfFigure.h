// A DXF drawing where figure-read and figure take a figure list: the options of the import and
// the reading into the figure as the window fills it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "FigureModel.h"
#include "PatternHeader.h"

namespace CLI {
class App;
}  // namespace CLI

namespace murvex::cli {

struct DxfOptions {
    std::vector<std::string> tile;    // X0 Y0 X1 Y1
    std::vector<std::string> layers;  // only these
    std::string chord;                // the chord tolerance
    std::string scale;                // figure units per drawing unit, or "mm"
};

void AddDxfOptions(CLI::App& app, DxfOptions& options);
bool AnyDxfOption(const DxfOptions& options);

// What the import says of a drawing, as figure-read prints it: the plain lines and the JSON
// object.
struct DrawingReport {
    std::vector<std::string> lines;
    std::string json;
};

// A file name that is read as a DXF drawing (ending in .dxf, any case).
bool IsDrawingName(const std::string& file);

// Reads the drawing, fits it to its tile and fills the model and the units text. The exit
// status (kExitOk, kExitFailed when the file cannot be read, kExitInvalid when the drawing or
// an option is refused; the message is on standard error) and the report. A build without DXF
// drawings refuses every drawing.
int ReadDxfFigure(const std::string& file, const DxfOptions& options, figure::FigureModel& model,
                  figure::Canvas& canvas, PatternHeader& texts, DrawingReport& report);

}  // namespace murvex::cli
