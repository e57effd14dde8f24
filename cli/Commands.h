// The subcommands of murvex-cli and what they share: exit statuses and writing the output.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PatternGeometry.h"
#include "PatternLibrary.h"
#include "PictureFile.h"

// The command line parser (CLI11) is included only where options are declared.
namespace CLI {
class App;
}  // namespace CLI

namespace murvex::cli {

// Exit statuses of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;   // a file could not be read or written
inline constexpr int kExitInvalid = 2;  // an invalid value or a wrong command line
// The output is incomplete: cut off at its limit, or a pattern written without the segments
// that have no pattern line.
inline constexpr int kExitIncomplete = 3;

// A subcommand as main() keeps it: its parser node and the action that runs once it was chosen
// and its options are read.
struct Subcommand {
    CLI::App* app = nullptr;
    std::function<int()> run;
};

// --compatible on every command that writes a pattern file: the same pattern in the form every
// known reader takes, as the tabs' "Compatibel opslaan" writes it.
inline constexpr const char* kCompatibleFlag = "--compatible";
inline constexpr const char* kCompatibleHelp =
    "Write the pattern the compatible way (\"Compatibel opslaan\"): \"*NAME, NAME\" when the "
    "name has no description, short numbers, lines of at most 80 characters where fewer "
    "decimals keep every copy within 1e-6 of the tile, no empty line inside the pattern";

// Each subcommand adds itself (its options and help) under the program's parser.
using AddSubcommand = Subcommand (*)(CLI::App& parent);

Subcommand AddBondCommand(CLI::App& parent);
Subcommand AddBondsCommand(CLI::App& parent);
Subcommand AddSegmentsCommand(CLI::App& parent);
Subcommand AddReadCommand(CLI::App& parent);
Subcommand AddLinesCommand(CLI::App& parent);
Subcommand AddCheckCommand(CLI::App& parent);
Subcommand AddRenderCommand(CLI::App& parent);
Subcommand AddFigureReadCommand(CLI::App& parent);
Subcommand AddFigureCommand(CLI::App& parent);
Subcommand AddPictureCommand(CLI::App& parent);
Subcommand AddDxfCommand(CLI::App& parent);
Subcommand AddListCommand(CLI::App& parent);
Subcommand AddAddCommand(CLI::App& parent);
Subcommand AddFormatsCommand(CLI::App& parent);
Subcommand AddPatternFigureCommand(CLI::App& parent);

// Writes bytes to standard output (target empty or "-") or to a file. An existing file is kept
// unless force is set, and then replaced atomically; through a symbolic link the file it points
// to is replaced and the link kept. A folder, device, FIFO or socket is never replaced. Reports
// failures on standard error and returns the exit status.
int WriteOutput(const std::string& target, std::string_view bytes, bool force);

// Reads an input file ("-" is standard input) of at most 64 MiB. On failure it writes heading
// (unless empty) and then why ("does not exist", "is a folder", "permission denied", ...) on
// standard error and gives nothing.
std::optional<std::string> ReadInput(const std::string& path, std::string_view heading = {});

// Writes a message line to standard error.
void Complain(std::string_view message);

// The four numbers of a --box option (x1 y1 x2 y2, corners in any order) as a box with its
// corners ordered; nothing, after saying so on standard error, when one is not a number.
std::optional<Box> BoxOption(const std::vector<std::string>& corners);
// A command this build leaves out: listed as usual, so that a script gets a clear answer instead
// of "unknown command", and refused with status 2 whatever its options.
Subcommand UnavailableCommand(CLI::App& parent, const std::string& name, const std::string& what);

// The patterns of a library read with ReadInput; on failure says why on standard error.
std::optional<LibraryIndex> ReadLibraryIndex(const std::string& path, const std::string& bytes);

// The bytes of a pattern file for check and render: ReadInput's limit and messages.
std::optional<std::string> ReadPatternFile(const std::string& path);

// The pattern segments, render and dxf draw (ChoosePattern): the file's one pattern, or the
// pattern named (--pattern) of a library. A library of several without a name (status 2), a
// name that is not there or a file without any pattern line (status 1) is refused on standard
// error, with the names where they help, and gives nothing; status tells which.
std::optional<std::string> ReadPatternToDraw(const std::string& path, const std::string& name,
                                             int& status);
// --pattern NAME on the commands that draw one pattern.
void AddPatternOption(CLI::App& app, std::string& name);

// The picture file (or DXF drawing) of format showing the pattern file's pattern patternName
// over box at size, written to output: read, made and written the way render and dxf both do,
// with lines also the LINE entities of a DXF. Returns the exit status.
int WritePatternPicture(const std::string& patternFile, const std::string& patternName,
                        PictureFormat format, const Box& box, const PictureSize& size, bool lines,
                        const std::string& output, bool force);

}  // namespace murvex::cli
