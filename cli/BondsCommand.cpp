// murvex-cli bonds: the ten bonds with their index.
#include <string>

#include <CLI/CLI.hpp>

#include "BondGenerator.h"
#include "Commands.h"

namespace murvex::cli {

Subcommand AddBondsCommand(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand("bonds", "List the ten bonds with their index.");
    app->footer("Example:\n  murvex-cli bonds");
    return {app, [] {
                std::string text;
                for (int i = 0; i < bonds::kBondCount; ++i) {
                    text += static_cast<char>('0' + i);
                    text += ' ';
                    text += bonds::BondNames()[static_cast<std::size_t>(i)];
                    text += '\n';
                }
                return WriteOutput("-", text, false);
            }};
}

}  // namespace murvex::cli
