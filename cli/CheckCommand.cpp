// murvex-cli check: what CAD programs are known to refuse or misread in a pattern file.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Cp1252.h"
#include "HatchReader.h"
#include "PatternCheck.h"
#include "PatternFile.h"
#include "Text.h"

namespace murvex::cli {

std::optional<std::string> ReadPatternFile(const std::string& path) {
    // The same 64 MiB limit as the reader, through the one reader every input goes through.
    return ReadInput(path);
}

namespace {

struct CheckOptions {
    std::string file;
    std::string name;
};

int RunCheck(const CheckOptions& o) {
    const std::optional<std::string> bytes = ReadPatternFile(o.file);
    if (!bytes) return kExitInvalid;
    if (!HoldsPatternLine(*bytes)) {
        Complain(o.file + ": geen patroon gevonden (no pattern line in it)");
        return kExitFailed;
    }
    const std::string fileName = Utf8ToCp1252(o.name.empty() ? o.file : o.name);
    const std::vector<PatternWarning> warnings = CheckPatternText(*bytes, fileName);
    std::string text;
    for (const PatternWarning& w : warnings) {
        text += o.file;
        text += ':';
        text += IntText(w.line);
        text += ": ";
        text += CheckCodeName(w.code);
        text += ": ";
        text += Cp1252ToUtf8(w.message);
        text += '\n';
    }
    const int status = WriteOutput("-", text, false);
    if (status != kExitOk) return kExitInvalid;
    return warnings.empty() ? kExitOk : kExitFailed;
}

}  // namespace

Subcommand AddCheckCommand(CLI::App& parent) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* app = parent.add_subcommand(
        "check",
        "Check a pattern file for what CAD programs are known to refuse or misread; print one "
        "warning per line: FILE:LINE: CODE: message.");
    app->add_option("file", options->file, "Pattern file (.pat)")->required();
    app->add_option("--name", options->name,
                    "The file name to compare the pattern name with (default: the file's own)");
    app->footer(
        "Codes: long-line (over 80 characters), zero-shift-across (Y shift 0), long-name (over 31\n"
        "characters), name-not-file-name (one pattern, named otherwise than the file; case is\n"
        "ignored), no-final-line-end, empty-pattern-line (a blank line inside a pattern),\n"
        "bad-pattern-line (not five or more numbers), positive-second-dash (the first gap, after\n"
        "a first dash, is not negative), too-dense (over 100000 dashes, dots or lines per square\n"
        "metre), uncountable-density (a line whose density overflows; it does not count toward\n"
        "too-dense), no-description (a name line without \", description\"; --compatible\n"
        "writes one). Each message ends with the readers it trips: \"(treft: AutoCAD)\".\n"
        "Example:\n"
        "  murvex-cli check Kruisverband.pat\n"
        "Exit status: 0 no warnings, 1 warnings or no pattern line at all (\"geen patroon\n"
        "gevonden\"), 2 the file could not be read.");
    return {app, [options] { return RunCheck(*options); }};
}

}  // namespace murvex::cli
