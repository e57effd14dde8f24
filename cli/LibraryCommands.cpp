// murvex-cli list, read --pattern's helpers and add: pattern libraries, files of many patterns.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "CompatiblePattern.h"
#include "Cp1252.h"
#include "GridText.h"
#include "LibrarySave.h"
#include "PatternCheck.h"
#include "PatternFile.h"
#include "PatternLibrary.h"
#include "Text.h"

namespace murvex::cli {

std::optional<LibraryIndex> ReadLibraryIndex(const std::string& path, const std::string& bytes) {
    LibraryIndex index = SplitLibrary(bytes);
    switch (index.status) {
        case LibraryStatus::Ok:
            return index;
        case LibraryStatus::TooLarge:
            Complain(path + ": larger than 64 MiB");
            break;
        case LibraryStatus::TooManyPatterns:
            Complain(path + ": more than " + IntText(kMaxLibraryPatterns) + " patterns");
            break;
    }
    return std::nullopt;
}

std::optional<std::string> ReadPatternToDraw(const std::string& path, const std::string& name,
                                             int& status) {
    status = kExitFailed;
    std::optional<std::string> bytes = ReadInput(path);
    if (!bytes) return std::nullopt;
    ChosenPattern chosen = ChoosePattern(*bytes, Utf8ToCp1252(name));
    std::string names;
    for (const std::string& n : chosen.names)
        names += "\n  " + Cp1252ToUtf8(n);
    switch (chosen.status) {
        case PatternChoice::Chosen:
            status = kExitOk;
            return std::move(chosen.bytes);
        case PatternChoice::NoPattern:
            Complain(path + ": geen patroon gevonden (no pattern line in it)");
            break;
        case PatternChoice::NotFound:
            Complain(path + ": holds no pattern named " + name + "; it holds:" + names);
            break;
        case PatternChoice::Several:
            Complain(path + ": holds " + IntText(chosen.names.size()) +
                     " patterns; choose one with --pattern NAME:" + names);
            status = kExitInvalid;
            break;
    }
    return std::nullopt;
}

void AddPatternOption(CLI::App& app, std::string& name) {
    app.add_option("--pattern", name,
                   "The pattern of a library file to draw (name as `murvex-cli list` shows it, "
                   "case ignored); needed when the file holds more than one");
}

namespace {

using freelines::TabEscaped;

struct ListOptions {
    std::string file;
    bool json = false;
};

// The check's warnings of one pattern, on lines of the library.
std::vector<PatternWarning> WarningsOf(const std::string& bytes, const LibraryPattern& p) {
    std::vector<PatternWarning> warnings =
        CheckPatternText(std::string_view(bytes).substr(p.beginByte, p.endByte - p.beginByte), "");
    for (PatternWarning& w : warnings)
        w.line += p.firstLine;
    return warnings;
}

// The check's warnings of every pattern. A warning every pattern of a library gets (no-description
// in a library of "*NAME" lines) says nothing about one of them: it is given once, as a summary
// of the first pattern's, instead of once per pattern.
struct ListWarnings {
    std::vector<std::vector<PatternWarning>> own;  // per pattern, without the shared ones
    std::vector<PatternWarning> shared;            // one per code, ordered by code
};

ListWarnings WarningsOfAll(const std::string& bytes, const LibraryIndex& index) {
    std::vector<std::vector<PatternWarning>> all;
    all.reserve(index.patterns.size());
    std::map<CheckCode, std::size_t> patternsWith;
    for (const LibraryPattern& p : index.patterns) {
        all.push_back(WarningsOf(bytes, p));
        std::set<CheckCode> seen;
        for (const PatternWarning& w : all.back())
            seen.insert(w.code);
        for (const CheckCode code : seen)
            ++patternsWith[code];
    }
    const auto shared = [&](CheckCode code) {
        return index.patterns.size() > 1 && patternsWith[code] == index.patterns.size();
    };
    ListWarnings result;
    std::map<CheckCode, PatternWarning> summaries;
    for (std::vector<PatternWarning>& ws : all) {
        result.own.emplace_back();
        for (PatternWarning& w : ws) {
            if (shared(w.code))
                summaries.emplace(w.code, w);  // the first pattern's
            else
                result.own.back().push_back(std::move(w));
        }
    }
    for (auto& [code, w] : summaries)
        result.shared.push_back(std::move(w));
    return result;
}

std::string ListText(const std::string& bytes, const LibraryIndex& index) {
    const ListWarnings warnings = WarningsOfAll(bytes, index);
    std::string text;
    for (std::size_t i = 0; i < index.patterns.size(); ++i) {
        const LibraryPattern& p = index.patterns[i];
        text += TabEscaped(p.name, true) + '\t' + TabEscaped(p.description, false) + '\t' +
                IntText(p.patternLines) + '\t' + TabEscaped(p.units, false) + '\t' +
                TabEscaped(p.type, false) + '\n';
        for (const PatternWarning& w : warnings.own[i]) {
            // Appended piece by piece: GCC 12 at -O3 warns on a literal + string chain here.
            text += '\t';
            text += IntText(w.line);
            text += ": ";
            text += CheckCodeName(w.code);
            text += ": ";
            text += TabEscaped(w.message, false);
            text += '\n';
        }
    }
    for (const PatternWarning& w : warnings.shared) {
        text += "\tall ";
        text += IntText(index.patterns.size());
        text += ": ";
        text += CheckCodeName(w.code);
        text += ": ";
        text += TabEscaped(w.message, false);
        text += '\n';
    }
    return text;
}

std::string ListJson(const std::string& bytes, const LibraryIndex& index) {
    const ListWarnings warnings = WarningsOfAll(bytes, index);
    std::string text = "{\"patterns\": [";
    for (std::size_t i = 0; i < index.patterns.size(); ++i) {
        const LibraryPattern& p = index.patterns[i];
        text += i == 0 ? "\n" : ",\n";
        text += "  {\"name\": " + JsonString(p.name) +
                ", \"description\": " + JsonString(p.description) +
                ", \"lines\": " + IntText(p.patternLines) + ", \"units\": " + JsonString(p.units) +
                ", \"type\": " + JsonString(p.type) +
                ", \"firstLine\": " + IntText(p.firstLine + 1) +
                ", \"duplicate\": " + (p.sameNameBefore ? "true" : "false") + ", \"warnings\": [";
        bool firstWarning = true;
        for (const PatternWarning& w : warnings.own[i]) {
            text += firstWarning ? "" : ", ";
            firstWarning = false;
            text += "{\"line\": " + IntText(w.line) + ", \"code\": \"" +
                    std::string(CheckCodeName(w.code)) +
                    "\", \"message\": " + JsonString(w.message) + "}";
        }
        text += "]}";
    }
    text += index.patterns.empty() ? "],\n" : "\n],\n";
    text += "\"allPatterns\": [";
    for (std::size_t i = 0; i < warnings.shared.size(); ++i) {
        const PatternWarning& w = warnings.shared[i];
        text += i == 0 ? "\n" : ",\n";
        text += "  {\"code\": \"" + std::string(CheckCodeName(w.code)) +
                "\", \"message\": " + JsonString(w.message) +
                ", \"patterns\": " + IntText(index.patterns.size()) + "}";
    }
    text += warnings.shared.empty() ? "]}\n" : "\n]}\n";
    return text;
}

void WarnDuplicates(const std::string& path, const LibraryIndex& index) {
    for (const LibraryPattern& p : index.patterns) {
        if (p.sameNameBefore) {
            Complain(path + ":" + IntText(p.nameLine + 1) + ": " + Cp1252ToUtf8(p.name) +
                     ": a pattern of this name comes earlier; reading takes the first");
        }
    }
}

int RunList(const ListOptions& o) {
    const std::optional<std::string> bytes = ReadInput(o.file);
    if (!bytes) return kExitFailed;
    const std::optional<LibraryIndex> index = ReadLibraryIndex(o.file, *bytes);
    if (!index) return kExitFailed;
    WarnDuplicates(o.file, *index);
    const std::string text = o.json ? ListJson(*bytes, *index) : ListText(*bytes, *index);
    return WriteOutput("", Cp1252ToUtf8(text), false);
}

struct AddOptions {
    std::string library;
    std::string pattern;
    bool replace = false;
    bool compatible = false;
    bool force = false;
};

int RunAdd(const AddOptions& o) {
    std::optional<std::string> pattern = ReadInput(o.pattern);
    if (!pattern) return kExitFailed;
    // Locked from the read to the replace: parallel adds take turns and none is lost.
    LibraryEdit edit;
    bool exists = true;
    switch (edit.Open(o.library)) {
        case FileLockStatus::Locked:
            break;
        case FileLockStatus::Missing:
            exists = false;  // a new library, with this pattern as its first
            break;
        case FileLockStatus::Busy:
            Complain(o.library + ": another program keeps it locked; nothing was added");
            return kExitFailed;
        case FileLockStatus::Failed:
            // ReadInput says why (a folder, no permission, ...).
            if (ReadInput(o.library)) Complain(o.library + ": cannot be locked");
            return kExitFailed;
    }
    if (exists && edit.ReadStatus() != ReadFileStatus::Ok) {
        ReadInput(o.library);  // says why
        return kExitFailed;
    }
    const std::string* library = &edit.Bytes();
    if (o.compatible) {
        LineList lines = SplitLines(*pattern);
        MakeCompatibleWithoutTile(lines);
        pattern = JoinCrLf(lines);
    }
    const LibraryAddResult result = AddToLibrary(*library, *pattern, o.replace);
    const std::string name = Cp1252ToUtf8(result.name);
    switch (result.status) {
        case LibraryAddStatus::Added:
        case LibraryAddStatus::Replaced:
            break;
        case LibraryAddStatus::NameExists:
            Complain(o.library + ": holds a pattern " + name + " already; --replace replaces it");
            return kExitFailed;
        case LibraryAddStatus::NotALibrary:
            Complain(o.library + ": is not a pattern file; nothing was added");
            return kExitFailed;
        case LibraryAddStatus::LibraryTooLarge:
            Complain(o.library + ": larger than 64 MiB");
            return kExitFailed;
        case LibraryAddStatus::TooManyPatterns:
            Complain(o.library + ": more than " + IntText(kMaxLibraryPatterns) + " patterns");
            return kExitFailed;
        case LibraryAddStatus::NoPattern:
            Complain(o.pattern + ": must hold exactly one pattern");
            return kExitInvalid;
        case LibraryAddStatus::BadName:
            Complain(o.pattern + ": the name \"" + name +
                     "\" cannot go into a library (empty or a control character)");
            return kExitInvalid;
        case LibraryAddStatus::NameTooLong:
            Complain(o.pattern + ": its name line is longer than " + IntText(kLibraryLineLimit) +
                     " characters, more than readers take; nothing was added");
            return kExitInvalid;
    }
    if (!o.force && IsReadOnlyFile(o.library)) {
        Complain(o.library + " is read-only; use --force to replace it");
        return kExitFailed;
    }
    // Changed or created by a program that does not lock.
    if (exists ? !edit.Unchanged() : FingerprintOf(o.library).exists) {
        Complain(o.library + ": changed by another program meanwhile; nothing was added");
        return kExitFailed;
    }
    return WriteOutput(o.library, result.bytes, true);
}

}  // namespace

Subcommand AddListCommand(CLI::App& parent) {
    auto options = std::make_shared<ListOptions>();
    CLI::App* app = parent.add_subcommand(
        "list", "List the patterns of a library file (a pattern file with many patterns).");
    app->add_option("file", options->file, "The library (.pat); \"-\" reads standard input")
        ->required();
    app->add_flag("--json", options->json, "Write JSON instead of tab-separated text");
    app->footer(
        "Output: one line per pattern with name, description, number of pattern lines, units\n"
        "and type (empty where the file gives none), separated by tabs and escaped as `read`\n"
        "escapes them; below it, each warning of `check` for that pattern on a line that starts\n"
        "with a tab: LINE: CODE: message. A name that an earlier pattern has already (case\n"
        "ignored) is listed too and reported on standard error. A warning that every pattern\n"
        "gets is given once, at the end: a tab, \"all N: CODE: message\".\n"
        "With --json: {\"patterns\": [...], \"allPatterns\": [...]}. Each pattern is\n"
        "{\"name\", \"description\", \"lines\", \"units\", \"type\", \"firstLine\", "
        "\"duplicate\",\n"
        "\"warnings\": [{\"line\", \"code\", \"message\"}]}; a warning every pattern gets is not\n"
        "in their \"warnings\" but once in \"allPatterns\": {\"code\", \"message\", \"patterns\": "
        "N}.\n"
        "Example:\n"
        "  murvex-cli list acadiso.pat\n"
        "Exit status: 0 listed, 1 the file could not be read.");
    return {app, [options] { return RunList(*options); }};
}

Subcommand AddAddCommand(CLI::App& parent) {
    auto options = std::make_shared<AddOptions>();
    CLI::App* app = parent.add_subcommand(
        "add", "Add the pattern of a pattern file to a library file, or replace one.");
    app->add_option("library", options->library,
                    "The library (.pat) to change; a new one is started when there is none")
        ->required();
    app->add_option("pattern", options->pattern, "A pattern file (.pat) with one pattern")
        ->required();
    app->add_flag("--replace", options->replace,
                  "Replace the library's pattern of the same name (case ignored)");
    app->add_flag(kCompatibleFlag, options->compatible, kCompatibleHelp);
    app->add_flag("--force", options->force, "Replace a read-only library too");
    app->footer(
        "The pattern is appended at the end of the library, or put in place of the first one of\n"
        "its name with --replace; every other byte of the library stays as it was, and the new\n"
        "lines get the library's line ends, and no other pattern changes units. The library is\n"
        "locked from the read to the atomic replace: parallel adds wait for each other (up to\n"
        "20 s), also when they start the same new library, and a library changed meanwhile by a\n"
        "program that does not lock is not replaced.\n"
        "Example:\n"
        "  murvex-cli add bibliotheek.pat Kruisverband.pat --replace\n"
        "Exit status: 0 added, 1 a pattern of that name exists (without --replace), the library\n"
        "is not a pattern file or a file could not be read or written, 2 the pattern file does\n"
        "not hold one pattern with a name that can go into a library.");
    return {app, [options] { return RunAdd(*options); }};
}

}  // namespace murvex::cli
