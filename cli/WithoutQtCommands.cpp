// The commands that draw pictures, in a build without Qt: listed as usual, so that a script gets
// a clear answer instead of "unknown command", and refused whatever their options.
#include <string>

#include "Commands.h"

namespace murvex::cli {

Subcommand AddRenderCommand(CLI::App& parent) {
    return UnavailableCommand(parent, "render",
                              "Draw what a pattern file draws as a PNG or SVG picture");
}

Subcommand AddPictureCommand(CLI::App& parent) {
    return UnavailableCommand(parent, "picture", "Load a background picture and write it as a PNG");
}

}  // namespace murvex::cli
