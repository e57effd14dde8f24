// The picture command in murvex-cli without Qt's picture readers. Where the picture program is
// there (PictureProgram.h), main() hands the command to it; otherwise it is listed as usual, so
// that a script gets a clear answer instead of "unknown command", and refused whatever its
// options. (render is in every build; only its PNG pictures need Qt.)
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "PictureProgram.h"

namespace murvex::cli {

Subcommand AddPictureCommand(CLI::App& parent) {
    const std::string what = "Load a background picture and write it as a PNG";
    if (!HasPictureProgram()) return UnavailableCommand(parent, "picture", what);
    CLI::App* app = parent.add_subcommand("picture", what);
    app->allow_extras();
    app->prefix_command();
    return {app, [] { return RunPictureProgram(); }};
}

}  // namespace murvex::cli
