// murvex-cli lines: a pattern file from rows of seven cells, as the free line tab writes it.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Cp1252.h"
#include "GridText.h"
#include "LijnGrid.h"
#include "PatternFile.h"
#include "Text.h"

namespace murvex::cli {

namespace {

struct LinesOptions {
    std::string rows;
    std::string output;
    bool force = false;
    bool compatible = false;
    std::string units;
    std::string type;
    std::string name;
    CLI::Option* unitsOption = nullptr;
    CLI::Option* typeOption = nullptr;
    CLI::Option* nameOption = nullptr;
};

int RunLines(const LinesOptions& o) {
    using namespace freelines;
    const std::optional<std::string> input = ReadInput(o.rows);
    if (!input) return kExitFailed;
    PatternHeader texts;
    const TabTextReading reading = ParseTabText(Utf8ToCp1252(*input), texts);
    if (!reading.ok) {
        Complain(o.rows + ": " + reading.error);
        return kExitInvalid;
    }
    if (o.unitsOption->count() > 0) texts.units = Utf8ToCp1252(o.units);
    if (o.typeOption->count() > 0) texts.type = Utf8ToCp1252(o.type);
    if (o.nameOption->count() > 0) texts.name = Utf8ToCp1252(o.name);
    const PatternStyle style = o.compatible ? PatternStyle::Compatible : PatternStyle::Specified;
    return WriteOutput(o.output, JoinCrLf(BuildFreeLineHatch(reading.grid, texts, style)), o.force);
}

}  // namespace

Subcommand AddLinesCommand(CLI::App& parent) {
    auto options = std::make_shared<LinesOptions>();
    CLI::App* app = parent.add_subcommand(
        "lines",
        "Write a pattern file from rows of seven cells (the free line tab's \"Maak "
        "Hatch\").");
    app->add_option("rows", options->rows,
                    "Tab-separated rows as `murvex-cli read` writes them; \"-\" reads standard "
                    "input")
        ->required();
    app->add_option("-o,--output", options->output,
                    "Output file; standard output when absent or \"-\"");
    app->add_flag("--force", options->force, "Replace an existing output file (atomically)");
    app->add_flag(kCompatibleFlag, options->compatible, kCompatibleHelp);
    options->unitsOption = app->add_option(
        "--units", options->units, "Text after \";%UNITS=\" (default MM, or the #units line)");
    options->typeOption = app->add_option(
        "--type", options->type, "Text after \";%TYPE=\" (default MODEL, or the #type line)");
    options->nameOption =
        app->add_option("--name", options->name,
                        "Pattern name after \"*\" (default \"naam arcering\", or the "
                        "#name line)");
    app->footer(
        "Input: one line per grid row, its cells (Hoek, X start, Y start, X shift, Y shift,\n"
        "Pen Down, Pen Up, then Pen Down 2, Pen Up 2, ... for a longer dash list; at most 128)\n"
        "separated by tabs; \\\\, \\t, \\r, \\n and \\# stand for a\n"
        "backslash, tab, CR, LF and \"#\", and \\x with two hex digits for that character.\n"
        "Lines \"#units\", \"#type\", \"#name\" and \"#description\" followed by a tab and a\n"
        "text set those\n"
        "texts; other lines that begin with \"#\" are comments.\n"
        "Each row is written as the tab writes it: the cells as they stand, an empty cell\n"
        "skipped, a row without Hoek an empty line (with --compatible the comment line\n"
        "\"; Rij zonder hoek: N\").\n"
        "Example:\n"
        "  murvex-cli read tegels.pat | murvex-cli lines - --name Tegels -o tegels2.pat\n"
        "Exit status: 0 written, 1 file not read or not written, 2 a row that cannot be read.");
    return {app, [options] { return RunLines(*options); }};
}

}  // namespace murvex::cli
