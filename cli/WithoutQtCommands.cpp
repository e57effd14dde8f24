// The picture command in a build without Qt: listed as usual, so that a script gets a clear
// answer instead of "unknown command", and refused whatever its options. (render is in every
// build; only its PNG pictures need Qt.)
#include <string>

#include "Commands.h"

namespace murvex::cli {

Subcommand AddPictureCommand(CLI::App& parent) {
    return UnavailableCommand(parent, "picture", "Load a background picture and write it as a PNG");
}

}  // namespace murvex::cli
