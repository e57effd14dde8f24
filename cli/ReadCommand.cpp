// murvex-cli read: what opening a pattern file puts into the free line tab.
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Cp1252.h"
#include "GridText.h"
#include "HatchReader.h"
#include "Text.h"

namespace murvex::cli {

namespace {

struct ReadOptions {
    std::string file;
    std::string pattern;
    bool json = false;
};

int RunRead(const ReadOptions& o) {
    using namespace freelines;
    TextGrid grid = MakeLijnGrid();
    PatternHeader texts;
    ReadResult result;
    std::optional<std::string> bytes = ReadInput(o.file, kReadErrorText);
    if (!bytes) return kExitFailed;
    if (!o.pattern.empty()) {
        // One pattern of a library, read as if it were the only one of a file; found from the
        // name lines alone.
        FoundPattern found = FindPatternFile(*bytes, Utf8ToCp1252(o.pattern));
        if (!found.found) {
            Complain(o.file + ": holds no pattern named " + o.pattern +
                     "; `murvex-cli list` lists them");
            return kExitFailed;
        }
        for (const std::size_t later : found.laterSameNameLines) {
            Complain(o.file + ":" + IntText(later + 1) +
                     ": another pattern of this name; the first, on line " +
                     IntText(found.nameLine + 1) + ", is read");
        }
        bytes = std::move(found.bytes);
    }
    const FileReadStatus status =
        ReadHatchBytes(*bytes, grid, texts, result, [] { Complain(kMultipleText); });
    switch (status) {
        case FileReadStatus::Ok:
            break;
        case FileReadStatus::CannotRead:
            Complain(kReadErrorText);
            Complain(o.file + ": cannot be read");
            return kExitFailed;
        case FileReadStatus::TooLarge:
            Complain(kReadErrorText);
            Complain(o.file + ": larger than 64 MiB");
            return kExitFailed;
        case FileReadStatus::TooManyRows:
            Complain(kReadErrorText);
            Complain(o.file + ": its first pattern has more than " + IntText(kMaxPatternRows) +
                     " lines");
            return kExitFailed;
    }
    const std::string text =
        o.json ? FormatJson(grid, texts, result.multiplePatterns) : FormatTabText(grid, texts);
    return WriteOutput("", Cp1252ToUtf8(text), false);
}

}  // namespace

Subcommand AddReadCommand(CLI::App& parent) {
    auto options = std::make_shared<ReadOptions>();
    CLI::App* app = parent.add_subcommand(
        "read", "Show what opening a pattern file puts into the free line tab.");
    app->add_option("file", options->file, "The pattern file (.pat); \"-\" reads standard input")
        ->required();
    app->add_flag("--json", options->json, "Write JSON instead of tab-separated text");
    app->add_option("--pattern", options->pattern,
                    "Read this pattern of a library file (name as `murvex-cli list` shows it, "
                    "case ignored)");
    app->footer(
        "Output: the lines \"#units\", \"#type\" and \"#name\" (the name before the comma of\n"
        "\"*NAME, description\"), \"#description\" when there is one, each with its text after a\n"
        "tab, then one line per grid row with its cells (Hoek, X start, Y start, X shift,\n"
        "Y shift, Pen Down, Pen Up, and Pen Down 2, Pen Up 2, ... where a dash list is longer)\n"
        "separated by tabs. A backslash, tab, CR or LF inside a text\n"
        "is written as \\\\, \\t, \\r or \\n, any other control character as \\x and two hex\n"
        "digits (ESC as \\x1b; also DEL and the C1 controls U+0081, U+008D, U+008F, U+0090 and\n"
        "U+009D), and a \"#\" that begins a row as \\#; this is the input of `murvex-cli lines`.\n"
        "The JSON output writes the same control characters as \\u00XX. Only the first pattern\n"
        "of a file is read; when there are more, the warning goes to standard error.\n"
        "Example:\n"
        "  murvex-cli read tegels.pat > tegels.tsv\n"
        "  murvex-cli read acadiso.pat --pattern ANSI31\n"
        "Exit status: 0 read, 1 the file could not be read or holds no pattern of that name.");
    return {app, [options] { return RunRead(*options); }};
}

}  // namespace murvex::cli
