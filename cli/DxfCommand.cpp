// murvex-cli dxf: a DXF drawing with the pattern as a hatch over a box, for CAD programs that
// should show the pattern without its pattern file.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "DxfExport.h"

namespace murvex::cli {

namespace {

struct DxfCommandOptions {
    std::string file;
    std::string pattern;
    std::vector<std::string> box;
    std::string output;
    bool force = false;
    bool lines = false;
};

int RunDxf(const DxfCommandOptions& o) {
    const std::optional<Box> box = BoxOption(o.box);
    if (!box) return kExitInvalid;
    return WritePatternPicture(o.file, o.pattern, PictureFormat::Dxf, *box, PictureSize{}, o.lines,
                               o.output, o.force);
}

}  // namespace

Subcommand AddDxfCommand(CLI::App& parent) {
    auto options = std::make_shared<DxfCommandOptions>();
    CLI::App* app = parent.add_subcommand(
        "dxf",
        "Write a DXF drawing (AutoCAD 2000) with a hatch over a box whose pattern definition is "
        "the file's first pattern, so that CAD programs show the pattern without the .pat file.");
    app->add_option("file", options->file, "Pattern file (.pat)")->required();
    app->add_option("--box", options->box, "The hatched box: X0 Y0 X1 Y1")->required()->expected(4);
    AddPatternOption(*app, options->pattern);
    app->add_option("-o,--output", options->output, "The drawing (\"-\": standard output)")
        ->required();
    app->add_flag("--force", options->force, "Replace an existing output file");
    app->add_flag("--lines", options->lines,
                  "Also write the lines the pattern draws in the box as LINE entities, on layer " +
                      std::string(kDxfLinesLayer) + " (the hatch is on " + kDxfHatchLayer + ")");
    app->footer(
        "Drawing units follow the file's units line (INCH: inches, otherwise millimetres).\n"
        "Example:\n"
        "  murvex-cli dxf wild.pat --box 0 0 2000 1000 -o wild.dxf --lines\n"
        "Exit status: 0 written, 1 file not readable or not writable, 2 invalid value or no\n"
        "pattern line, 3 the lines were cut off at 50000 (the hatch is whole).");
    return {app, [options] { return RunDxf(*options); }};
}

}  // namespace murvex::cli
