// murvex-cli figure-read: what opening a figure list puts into the figure tab right after start-up.
#include <memory>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "Canvas.h"
#include "Commands.h"
#include "Cp1252.h"
#include "DxfFigure.h"
#include "FigureList.h"
#include "FigureModel.h"
#include "GridText.h"
#include "Text.h"

namespace murvex::cli {

namespace {

struct FigureReadOptions {
    std::string file;
    bool json = false;
    DxfOptions dxf;
};

std::string PlainText(const figure::FigureModel& model, const PatternHeader& texts,
                      const DrawingReport* report) {
    std::string out;
    out += "#width\t" + IntText(model.TileWidth()) + "\n";
    out += "#height\t" + IntText(model.TileHeight()) + "\n";
    out += "#units\t" + freelines::TabEscaped(texts.units, false) + "\n";
    out += "#name\t" + freelines::TabEscaped(texts.name, false) + "\n";
    if (!texts.description.empty())
        out += "#description\t" + freelines::TabEscaped(texts.description, false) + "\n";
    out += "#type\t" + freelines::TabEscaped(texts.type, false) + "\n";
    if (report) {
        for (const std::string& line : report->lines)
            out += "#import\t" + freelines::TabEscaped(line, false) + "\n";
    }
    const TextGrid& grid = model.grid;
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c = figure::kFirstCoordCol; c <= figure::kLastCoordCol; ++c) {
            if (c > figure::kFirstCoordCol) out += '\t';
            out += freelines::TabEscaped(grid.Cell(c, r), c == figure::kFirstCoordCol);
        }
        out += '\n';
    }
    return out;
}

std::string Json(const figure::FigureModel& model, const PatternHeader& texts, bool multipleFigures,
                 const DrawingReport* report) {
    std::string out = "{\n";
    out += "  \"width\": " + IntText(model.TileWidth()) + ",\n";
    out += "  \"height\": " + IntText(model.TileHeight()) + ",\n";
    out += "  \"units\": " + JsonString(texts.units) + ",\n";
    out += "  \"name\": " + JsonString(texts.name) + ",\n";
    out += "  \"description\": " + JsonString(texts.description) + ",\n";
    out += "  \"type\": " + JsonString(texts.type) + ",\n";
    out += std::string("  \"multipleFigures\": ") + (multipleFigures ? "true" : "false") + ",\n";
    if (report) out += "  \"import\": " + report->json + ",\n";
    out += "  \"rows\": [";
    const TextGrid& grid = model.grid;
    for (int r = 1; r < grid.RowCount(); ++r) {
        out += r > 1 ? ",\n    [" : "\n    [";
        for (int c = figure::kFirstCoordCol; c <= figure::kLastCoordCol; ++c) {
            if (c > figure::kFirstCoordCol) out += ", ";
            out += JsonString(grid.Cell(c, r));
        }
        out += ']';
    }
    out += "\n  ]\n}\n";
    return out;
}

int RunDxfRead(const FigureReadOptions& o) {
    figure::FigureModel model;
    figure::NullCanvas canvas;
    PatternHeader texts;
    DrawingReport report;
    const int status = ReadDxfFigure(o.file, o.dxf, model, canvas, texts, report);
    if (status != kExitOk) return status;
    const std::string text =
        o.json ? Json(model, texts, false, &report) : PlainText(model, texts, &report);
    return WriteOutput("", Cp1252ToUtf8(text), false);
}

int RunFigureRead(const FigureReadOptions& o) {
    using namespace figure;
    if (IsDrawingName(o.file)) return RunDxfRead(o);
    if (AnyDxfOption(o.dxf)) {
        Complain("--tile, --layer, --scale en --chord gelden alleen voor een DXF-tekening");
        return kExitInvalid;
    }
    FigureModel model;
    NullCanvas canvas;
    PatternHeader texts;
    const ListReadResult result =
        ReadFigureListFile(o.file, model, canvas, texts, [] { Complain(kMultipleText); });
    switch (result.status) {
        case ListReadStatus::Ok:
            break;
        case ListReadStatus::BadWidth:
        case ListReadStatus::BadHeight:
        case ListReadStatus::InvalidSize:
            Complain(Cp1252ToUtf8(MessageFor(result.status, o.file).text));
            return kExitInvalid;
        case ListReadStatus::CannotRead:
        case ListReadStatus::TooLarge:
            Complain(MessageFor(result.status, o.file).text);
            return kExitFailed;
    }
    const std::string text = o.json ? Json(model, texts, result.multipleFigures, nullptr)
                                    : PlainText(model, texts, nullptr);
    return WriteOutput("", Cp1252ToUtf8(text), false);
}

}  // namespace

Subcommand AddFigureReadCommand(CLI::App& parent) {
    auto options = std::make_shared<FigureReadOptions>();
    CLI::App* app = parent.add_subcommand(
        "figure-read", "Show what opening a figure list puts into the free figure tab.");
    app->add_option("file", options->file, "The figure list (.txt) or a DXF drawing (.dxf)")
        ->required();
    app->add_flag("--json", options->json, "Write JSON instead of tab-separated text");
    AddDxfOptions(*app, options->dxf);
    app->footer(
        "Reads the list as the free figure tab opens it right after start-up, redraw included:\n"
        "rows that leave the tile are clipped and rewritten, rows that miss it are removed.\n"
        "Output: the lines \"#width\", \"#height\", \"#units\", \"#name\", \"#description\" (only\n"
        "when the name line has one: \"*NAME, description\") and \"#type\", each with its text\n"
        "after a tab, then one line per grid row with its four cells (X start, Y start, X eind,\n"
        "Y eind) separated by tabs. A backslash, tab, CR or LF inside a text is written as \\\\,\n"
        "\\t, \\r or \\n, any other control character as \\x and two hex digits, and a \"#\"\n"
        "that begins a row as \\#. With --json an object with \"width\", \"height\", \"units\",\n"
        "\"name\", \"description\", \"type\", \"multipleFigures\" and \"rows\". Only the first\n"
        "figure of a file is read; when there are more, the warning goes to standard error.\n"
        "A DXF drawing (a name ending in .dxf) fills the rows as the tab's DXF import does:\n"
        "curves become chords, the tile's lower left corner becomes 0,0, segments crossing\n"
        "its border are cut and moved back in. The text adds \"#import\" lines with the\n"
        "import's report, the JSON an object \"import\".\n"
        "Examples:\n"
        "  murvex-cli figure-read figuur.txt\n"
        "  murvex-cli figure-read tegel.dxf --json --layer FIGUUR --chord 0.5\n"
        "Exit status: 0 read, 1 the file could not be read, 2 its size line is invalid or the\n"
        "drawing is refused.");
    return {app, [options] { return RunFigureRead(*options); }};
}

}  // namespace murvex::cli
