// murvex-cli pattern-figure: a pattern's repeating tile as a figure list, for the figure tab.
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Cp1252.h"
#include "Msg.h"
#include "NumberText.h"
#include "PatternFigure.h"
#include "Text.h"

namespace murvex::cli {

namespace {

struct PatternFigureOptions {
    std::string file;
    std::string pattern;
    std::string scale;
    std::string output;
    bool force = false;
};

int RunPatternFigure(const PatternFigureOptions& o) {
    double scale = 0;
    if (!o.scale.empty()) {
        const ParseResult s = ParseDecimal(o.scale);
        if (!s.ok || !(s.value > 0) || s.value > 1e9) {
            Complain(kInvalidValueText);
            return kExitInvalid;
        }
        scale = s.value;
    }
    const std::optional<std::string> bytes = ReadInput(o.file);
    if (!bytes) return kExitFailed;
    const std::optional<LibraryIndex> index = ReadLibraryIndex(o.file, *bytes);
    if (!index) return kExitFailed;
    if (index->patterns.empty()) {
        Complain(o.file + ": holds no pattern");
        return kExitFailed;
    }
    const int found = o.pattern.empty() ? 0 : FindLibraryPattern(*index, Utf8ToCp1252(o.pattern));
    if (found < 0) {
        Complain(o.file + ": holds no pattern named " + o.pattern +
                 "; `murvex-cli list` lists them");
        return kExitFailed;
    }
    const LibraryPattern& chosen = index->patterns[static_cast<std::size_t>(found)];
    const std::string text = PatternFileOf(*bytes, chosen);
    PatternHeader header;
    header.name = chosen.name;
    if (EqualsNoCase(chosen.units, "INCH")) header.units = "INCH";
    if (EqualsNoCase(chosen.type, "DRAFTING")) header.type = "DRAFTING";
    RepeatBounds bounds;
    bounds.tolerance = ToleranceOfText(text);
    const figure::PatternFigure f = figure::FigureOfPattern(text, header, scale, bounds);
    const std::string name = Cp1252ToUtf8(chosen.name);
    if (f.repeat.status == RepeatStatus::Found) {
        Complain(name + ": repeat " + FmtDecimals(f.repeat.width, 6) + " x " +
                 FmtDecimals(f.repeat.height, 6) + " (numbers taken within " +
                 FmtDecimals(bounds.tolerance, 10) + ")");
    }
    if (f.list.empty()) {
        Complain(name + ": no figure: " + f.problem);
        return kExitInvalid;
    }
    Complain("tile " + IntText(f.tileWidth) + " x " + IntText(f.tileHeight) + " at scale " +
             FmtDecimals(f.scale, 0) + "; " + IntText(static_cast<long>(f.tile.segments.size())) +
             " segments, of which " + IntText(static_cast<long>(f.tile.dots)) + " dots; " +
             IntText(static_cast<long>(f.tile.joined)) + " pieces joined to a collinear one; " +
             IntText(static_cast<long>(f.tile.cut)) + " cut at the tile's edge");
    if (f.tile.truncated) {
        Complain("the tile holds more segments than the bound; the list is cut off");
        const int status = WriteOutput(o.output, JoinCrLf(f.list), o.force);
        return status != kExitOk ? status : kExitIncomplete;
    }
    return WriteOutput(o.output, JoinCrLf(f.list), o.force);
}

}  // namespace

Subcommand AddPatternFigureCommand(CLI::App& parent) {
    auto options = std::make_shared<PatternFigureOptions>();
    CLI::App* app = parent.add_subcommand(
        "pattern-figure",
        "Write the figure list of a pattern's smallest rectangular repeat: the tile and what the "
        "pattern draws in it, for the figure tab; a report on standard error.");
    app->add_option("file", options->file, "Pattern file (.pat); \"-\" reads standard input")
        ->required();
    app->add_option("--pattern", options->pattern,
                    "This pattern of a library file (default: the first)");
    app->add_option("--scale", options->scale,
                    "Multiply the drawing by this (default: the smallest power of ten that makes "
                    "the tile's sides whole)");
    app->add_option("-o,--output", options->output,
                    "Output file; standard output when absent or \"-\"");
    app->add_flag("--force", options->force, "Replace an existing output file (atomically)");
    app->footer(
        "Example:\n"
        "  murvex-cli pattern-figure kruis.pat -o kruis.txt\n"
        "Exit status: 0 written, 1 file not readable or not written, 2 no rectangular repeat "
        "within the bounds (100000 units a side, 100000 segments) or no whole tile at the "
        "scale, 3 the list cut off.");
    return {app, [options] { return RunPatternFigure(*options); }};
}

}  // namespace murvex::cli
