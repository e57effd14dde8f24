// murvex-cli formats: the brick formats `bond --format` takes.
#include <string>

#include <CLI/CLI.hpp>

#include "BrickFormats.h"
#include "Commands.h"

namespace murvex::cli {

Subcommand AddFormatsCommand(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "formats", "List the brick formats with length x width x height in mm.");
    app->footer(
        "A format fills --length and --height of `bond`, with a head joint of 10 mm and a bed\n"
        "joint of 12.5 mm.\n"
        "Example:\n  murvex-cli formats");
    return {app, [] {
                std::string text;
                for (const bonds::BrickFormat& f : bonds::BrickFormats()) {
                    text += f.name;
                    text += '\t';
                    text += bonds::SizeText(f);
                    text += '\n';
                }
                return WriteOutput("-", text, false);
            }};
}

}  // namespace murvex::cli
