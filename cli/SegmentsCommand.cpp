// murvex-cli segments: the segments a pattern file draws inside a box, one per line.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Msg.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "PatternGeometry.h"

namespace murvex::cli {

namespace {

struct SegmentsOptions {
    std::string file;
    std::string pattern;
    std::vector<std::string> box;
    std::string max = "2000000";
    int decimals = 3;
};

int RunSegments(const SegmentsOptions& o) {
    const std::optional<Box> box = BoxOption(o.box);
    if (!box) return kExitInvalid;
    const ParseResult max = ParseDecimal(o.max);
    if (!max.ok || max.value < 0 || max.value > 1e9 || max.value != static_cast<long>(max.value)) {
        Complain(kInvalidValueText);
        return kExitInvalid;
    }

    int readStatus = kExitOk;
    const std::optional<std::string> bytes = ReadPatternToDraw(o.file, o.pattern, readStatus);
    if (!bytes) return readStatus;
    const std::vector<PatternLine> lines = ParsePatternText(*bytes);
    const DrawResult drawn = DrawPattern(lines, *box, static_cast<std::size_t>(max.value));

    std::string text;
    text.reserve(drawn.segments.size() * (20 + 4 * static_cast<std::size_t>(o.decimals)));
    for (const DrawnSegment& s : drawn.segments) {
        text += FmtDecimals(s.x1, o.decimals);
        text += ' ';
        text += FmtDecimals(s.y1, o.decimals);
        text += ' ';
        text += FmtDecimals(s.x2, o.decimals);
        text += ' ';
        text += FmtDecimals(s.y2, o.decimals);
        text += '\n';
    }
    const int status = WriteOutput("-", text, false);
    if (status != kExitOk) return status;
    if (drawn.truncated) {
        Complain("the pattern is too dense for the box; output cut off at " + o.max + " segments");
        return kExitIncomplete;
    }
    return kExitOk;
}

}  // namespace

Subcommand AddSegmentsCommand(CLI::App& parent) {
    auto options = std::make_shared<SegmentsOptions>();
    CLI::App* app = parent.add_subcommand(
        "segments",
        "Print the segments a pattern file draws inside a box: x1 y1 x2 y2 per line "
        "(a dot has equal end points), in drawing units with three decimals (see --decimals).");
    app->add_option("file", options->file, "Pattern file (.pat); \"-\" reads standard input")
        ->required();
    app->add_option("--box", options->box, "The box: X0 Y0 X1 Y1")->required()->expected(4);
    AddPatternOption(*app, options->pattern);
    app->add_option("--max", options->max,
                    "Most segments to print (default 2000000); more ends with exit status 3");
    app->add_option("--decimals", options->decimals, "Decimals of the printed numbers (default 3)")
        ->check(CLI::Range(0, 12));
    app->footer(
        "Example:\n"
        "  murvex-cli segments kruis.pat --box 0 0 1000 1000\n"
        "Exit status: 0 printed, 1 file not readable, without any pattern line or without the\n"
        "pattern named, 2 invalid value or a library of several patterns without --pattern,\n"
        "3 output cut off.");
    return {app, [options] { return RunSegments(*options); }};
}

}  // namespace murvex::cli
