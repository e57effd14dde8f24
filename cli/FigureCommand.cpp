// murvex-cli figure: the pattern file that "Maak hatch" on the free figure tab writes for a
// figure list opened right after start-up.
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "Canvas.h"
#include "Commands.h"
#include "Conversion.h"
#include "ConversionReport.h"
#include "Cp1252.h"
#include "DxfFigure.h"
#include "FigureList.h"
#include "FigureModel.h"
#include "Msg.h"

namespace murvex::cli {

namespace {

struct FigureOptions {
    std::string file;
    std::string accuracy = "Nauwkeurig";
    std::optional<std::string> tolerance;  // "Op maat" only; none: the tab's default
    std::string output;
    bool force = false;
    bool report = false;
    bool compatible = false;
    DxfOptions dxf;
};

int RunFigure(const FigureOptions& o) {
    using namespace figure;
    const std::optional<Accuracy> accuracy = AccuracyFromText(o.accuracy);
    if (!accuracy) {
        Complain("Onbekende nauwkeurigheid: " + o.accuracy +
                 " (Nauwkeurig, Middel, Laag of \"Op maat\")");
        return kExitInvalid;
    }
    if (o.tolerance && *accuracy != Accuracy::OpMaat) {
        Complain("--tolerance hoort bij --accuracy \"Op maat\"");
        return kExitInvalid;
    }
    // Standard output holds the report: the pattern's bytes never get mixed into it.
    if (o.report && o.output == "-") {
        Complain("--report schrijft naar standaard uitvoer: geef het patroon een bestand met -o");
        return kExitInvalid;
    }
    FigureModel model;
    NullCanvas canvas;
    PatternHeader texts;
    const bool drawing = IsDrawingName(o.file);
    if (!drawing && AnyDxfOption(o.dxf)) {
        Complain("--tile, --layer, --scale en --chord gelden alleen voor een DXF-tekening");
        return kExitInvalid;
    }
    DrawingReport imported;
    if (drawing) {
        const int status = ReadDxfFigure(o.file, o.dxf, model, canvas, texts, imported);
        if (status != kExitOk) return status == kExitFailed ? kExitInvalid : status;
    }
    // The same reading and redraw as figure-read; the warning about a second figure only tells.
    const ListReadResult read =
        drawing ? ListReadResult{}
                : ReadFigureListFile(o.file, model, canvas, texts, [] { Complain(kMultipleText); });
    if (read.status != ListReadStatus::Ok) {
        // The size messages are the window's texts; the others carry the file name as given.
        const std::string text = MessageFor(read.status, o.file).text;
        const bool sizeMessage = read.status == ListReadStatus::BadWidth ||
                                 read.status == ListReadStatus::BadHeight ||
                                 read.status == ListReadStatus::InvalidSize;
        Complain(sizeMessage ? Cp1252ToUtf8(text) : text);
        return kExitInvalid;
    }
    const TileSize tile{model.TileWidth(), model.TileHeight()};
    ConversionSettings settings(*accuracy);
    if (o.tolerance) {
        const std::optional<long double> deviation = ParseMaxDeviation(tile, *o.tolerance);
        if (!deviation) {
            Complain(std::string(kInvalidValueText) + ": --tolerance " + *o.tolerance +
                     " (een getal boven 0, niet groter dan de tegel)");
            return kExitInvalid;
        }
        settings.maxDeviation = *deviation;
    }
    const PatternStyle style = o.compatible ? PatternStyle::Compatible : PatternStyle::Specified;
    const FigureHatch hatch = FigureHatchLines(tile, model.grid, texts, settings, nullptr, style);
    // First the file, then the failed rows, as the window shows them after its save. With the
    // report the pattern is written only to a named file.
    int written = kExitOk;
    if (!o.report || !o.output.empty())
        written = WriteOutput(o.output, JoinCrLf(hatch.lines), o.force);
    if (o.report) {
        const std::string report =
            FormatConversionReport(ConversionReport(tile, model.grid, settings));
        const int shown = WriteOutput(std::string(), Cp1252ToUtf8(report), false);
        if (written == kExitOk) written = shown;
    }
    for (const std::string& message : FailedRowMessages(hatch.failedRows))
        Complain(Cp1252ToUtf8(message));
    if (written != kExitOk) return written;
    return hatch.failedRows.empty() ? kExitOk : kExitIncomplete;
}

}  // namespace

Subcommand AddFigureCommand(CLI::App& parent) {
    auto options = std::make_shared<FigureOptions>();
    CLI::App* app = parent.add_subcommand(
        "figure",
        "Write the pattern file of a figure list (the free figure tab's \"Maak hatch\").");
    app->add_option("file", options->file, "The figure list (.txt) or a DXF drawing (.dxf)")
        ->required();
    app->add_option("--accuracy", options->accuracy,
                    "Nauwkeurig (default), Middel, Laag or \"Op maat\", as the tab's accuracy "
                    "choice");
    app->add_option("--tolerance", options->tolerance,
                    "With \"Op maat\": the largest distance (drawing units, default 0.1) the "
                    "pattern may keep from each segment and its copies, as \"Max. afwijking\"");
    app->add_option("-o,--output", options->output,
                    "The pattern file to write; standard output without it or with \"-\"");
    app->add_flag("--force", options->force, "Replace an existing output file (atomically)");
    app->add_flag(kCompatibleFlag, options->compatible, kCompatibleHelp);
    AddDxfOptions(*app, options->dxf);
    app->add_flag("--report", options->report,
                  "Print the conversion report on standard output; the pattern then goes only "
                  "to -o FILE");
    app->footer(
        "Opens the list as the free figure tab opens it right after start-up (see figure-read)\n"
        "and writes, byte for byte, the pattern file that \"Maak hatch\" writes: the header\n"
        "lines from the list's units, name and type, one pattern line per grid row that is\n"
        "not wholly empty, \";\". A row without a solution is written as the comment line\n"
        "\"; Geen oplossing gevonden voor lijn: N\" and reported on standard error as\n"
        "\"Geen oplossing gevonden voor lijn: N\".\n"
        "\"Op maat\" writes for each segment the lattice direction with the shortest repeat\n"
        "that keeps the segment and all its copies within --tolerance; a segment that would\n"
        "need a repeat of more than 1000 tile sides fails.\n"
        "--report prints, per row, the drawn and the written angle, the tile heights/widths of\n"
        "the repeat, the accepted tolerance and the largest distance between the part of the\n"
        "drawn segment inside the tile and the written line (drawing units; \"?\" when the\n"
        "segment misses the tile or the line is too dense there to measure), or, for a line\n"
        "whose copies drift off it, the drift per tile (\"0.191/tegel\"); a failed \"Op maat\"\n"
        "row names the tolerance it would need. The pattern then goes only to -o FILE, so\n"
        "that standard output holds the report alone (-o - is refused).\n"
        "A DXF drawing (a name ending in .dxf) is read as figure-read reads it, with the\n"
        "same --tile, --layer, --scale and --chord.\n"
        "Examples:\n"
        "  murvex-cli figure figuur.txt --accuracy Middel -o figuur.pat\n"
        "  murvex-cli figure tegel.dxf --tile 0 0 200 100 -o tegel.pat\n"
        "  murvex-cli figure figuur.txt --report -o figuur.pat\n"
        "  murvex-cli figure figuur.txt --accuracy \"Op maat\" --tolerance 0.5 -o figuur.pat\n"
        "Exit status: 0 written, 1 the output could not be written, 2 the list could not be\n"
        "read, the accuracy is unknown or the tolerance invalid, 3 written but some rows have no "
        "solution.");
    return {app, [options] { return RunFigure(*options); }};
}

}  // namespace murvex::cli
