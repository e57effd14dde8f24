// The commands that draw pictures, in a build without Qt: listed as usual, so that a script gets
// a clear answer instead of "unknown command", and refused whatever their options.
#include <string>

#include "Commands.h"

namespace murvex::cli {

namespace {

Subcommand Unavailable(CLI::App& parent, const std::string& name, const std::string& what) {
    CLI::App* app = parent.add_subcommand(name, what + " (not in this build)");
    app->allow_extras();
    app->prefix_command();
    return {app, [name] {
                Complain("murvex-cli " + name + ": not in this build");
                return kExitInvalid;
            }};
}

}  // namespace

Subcommand AddRenderCommand(CLI::App& parent) {
    return Unavailable(parent, "render", "Draw what a pattern file draws as a PNG or SVG picture");
}

Subcommand AddPictureCommand(CLI::App& parent) {
    return Unavailable(parent, "picture", "Load a background picture and write it as a PNG");
}

}  // namespace murvex::cli
