// A DXF drawing where figure-read and figure take a figure list: the options of the import and
// the reading into the figure as the window fills it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Canvas.h"
#include "DxfImport.h"
#include "FigureModel.h"
#include "PatternHeader.h"

namespace murvex::cli {

struct DxfOptions {
    std::vector<std::string> tile;    // X0 Y0 X1 Y1
    std::vector<std::string> layers;  // only these
    std::string chord;                // the chord tolerance
};

void AddDxfOptions(CLI::App& app, DxfOptions& options);
bool AnyDxfOption(const DxfOptions& options);

// Reads the drawing, fits it to its tile and fills the model and the units text. The exit
// status (kExitOk, kExitFailed when the file cannot be read, kExitInvalid when the drawing or
// an option is refused; the message is on standard error) and the report.
int ReadDxfFigure(const std::string& file, const DxfOptions& options, figure::FigureModel& model,
                  figure::Canvas& canvas, PatternHeader& texts, dxf::ImportReport& report);

}  // namespace murvex::cli
