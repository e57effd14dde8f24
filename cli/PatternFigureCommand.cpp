// murvex-cli pattern-figure: a pattern's repeating tile as a figure list, for the figure tab.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Cp1252.h"
#include "Msg.h"
#include "NumberText.h"
#include "PatternFigure.h"
#include "PatternHeader.h"
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
    int readStatus = kExitOk;
    const std::optional<std::string> text = ReadPatternToDraw(o.file, o.pattern, readStatus);
    if (!text) return readStatus;
    // The figure takes the pattern's name, units and type; its description stays with the file.
    PatternHeader header("MM", "MODEL", "");
    for (const std::string_view line : TextLines(*text))
        ReadHeaderLine(line, header, true);
    header.description.clear();
    // A pattern without a name line takes its file's name, as a drawing's figure does.
    if (header.name.empty())
        header.name = o.file == "-" ? PatternHeader().name
                                    : Utf8ToCp1252(std::filesystem::path(o.file).stem().string());
    RepeatBounds bounds;
    bounds.tolerance = ToleranceOfText(*text);
    const figure::PatternFigure f = figure::FigureOfPattern(*text, header, scale, bounds);
    const std::string name = Cp1252ToUtf8(header.name);
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
    AddPatternOption(*app, options->pattern);
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
