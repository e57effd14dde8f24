// murvex-cli's command line: the subcommands, the parse and the exit status. Each subcommand
// lives in a file of its own; main() (main.cpp, or wmain() on Windows) only calls MurvexMain.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "PatternFile.h"
#include "PictureProgram.h"

namespace {

// The subcommands in the order --help lists them. Adding one takes a file XCommand.cpp that
// defines `Subcommand AddXCommand(CLI::App&)` (declared in Commands.h and listed in
// CMakeLists.txt) and one line here.
// clang-format off
constexpr murvex::cli::AddSubcommand kSubcommands[] = {
    murvex::cli::AddBondCommand,
    murvex::cli::AddBondsCommand,
    murvex::cli::AddFormatsCommand,
    murvex::cli::AddSegmentsCommand,
    murvex::cli::AddReadCommand,
    murvex::cli::AddListCommand,
    murvex::cli::AddAddCommand,
    murvex::cli::AddLinesCommand,
    murvex::cli::AddCheckCommand,
    murvex::cli::AddRenderCommand,
    murvex::cli::AddDxfCommand,
    murvex::cli::AddFigureReadCommand,
    murvex::cli::AddFigureCommand,
    murvex::cli::AddPatternFigureCommand,
    murvex::cli::AddPictureCommand,
};
// clang-format on

int Run(int argc, char** argv) {
    using namespace murvex::cli;
    CLI::App app("murvex-cli: hatch pattern files (.pat) from the command line.", "murvex-cli");
    // "/path/x.pat" is a file everywhere, never a Windows-style option.
    app.allow_windows_style_options(false);
    app.require_subcommand(1, 1);
    app.footer(
        "Examples:\n"
        "  murvex-cli bonds\n"
        "  murvex-cli bond --bond Wildverband --length 210 --length-joint 220 --height 50 "
        "--height-joint 62.5 -o wild.pat\n"
        "  murvex-cli segments wild.pat --box 0 0 4000 4000\n"
        "`murvex-cli COMMAND --help` describes each command.");
    std::vector<Subcommand> subcommands;
    for (const AddSubcommand add : kSubcommands)
        subcommands.push_back(add(app));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitInvalid;
    }
    try {
        for (const Subcommand& s : subcommands) {
            if (s.app->parsed()) return s.run();
        }
    } catch (const std::exception& e) {
        Complain(e.what());
        return kExitFailed;
    }
    return kExitInvalid;
}

}  // namespace

// main() on Linux; on Windows, wmain() in WindowsConsole.cpp after it made the arguments UTF-8.
int MurvexMain(int argc, char** argv) {
    using namespace murvex::cli;
    murvex::RemoveTempFileOnSignals();
    KeepArguments(argc, argv);
    // The picture command, its help included, is the picture program's.
    if (argc > 1 && std::string_view(argv[1]) == "picture" && HasPictureProgram())
        return RunPictureProgram();
    const int status = Run(argc, argv);
    // Help and messages go through std::cout as well as stdio: output that did not arrive in full
    // (a full disk, a closed pipe) is a failure whatever the command did.
    std::cout.flush();
    const bool written =
        static_cast<bool>(std::cout) && std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    if (!written) {
        if (status != kExitFailed) Complain("cannot write to standard output");
        return kExitFailed;
    }
    return status;
}
