// DXF drawings in a build without dxflib: the dxf command and the drawings of figure-read and
// figure are refused with a clear answer (render's .dxf says so through MissingPictureFormat).
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "DxfFigure.h"
#include "Text.h"

namespace murvex::cli {

Subcommand AddDxfCommand(CLI::App& parent) {
    return UnavailableCommand(parent, "dxf", "Write a pattern as a hatch in a DXF drawing");
}

bool IsDrawingName(const std::string& file) {
    return file.size() >= 4 && EqualsNoCase(std::string_view(file).substr(file.size() - 4), ".dxf");
}

int ReadDxfFigure(const std::string& file, const DxfOptions&, figure::FigureModel&, figure::Canvas&,
                  PatternHeader&, DrawingReport&) {
    Complain(file + ": DXF drawings are not in this build");
    return kExitInvalid;
}

}  // namespace murvex::cli
