// murvex-cli figure: the pattern file that "Maak hatch" on the free figure tab writes for a
// figure list opened right after start-up.
#include <memory>
#include <string>

#include "Canvas.h"
#include "Commands.h"
#include "Conversion.h"
#include "Cp1252.h"
#include "FigureList.h"
#include "FigureModel.h"

namespace murvex::cli {

namespace {

// Exit status when the pattern was written but some segments have no pattern line.
constexpr int kExitRowsFailed = 3;

struct FigureOptions {
    std::string file;
    std::string accuracy = "Nauwkeurig";
    std::string output;
    bool force = false;
};

int RunFigure(const FigureOptions& o) {
    using namespace figure;
    const std::optional<Accuracy> accuracy = AccuracyFromText(o.accuracy);
    if (!accuracy) {
        Complain("Onbekende nauwkeurigheid: " + o.accuracy + " (Nauwkeurig, Middel of Laag)");
        return kExitInvalid;
    }
    FigureModel model;
    NullCanvas canvas;
    FigureTexts texts;
    // The same reading and redraw as figure-read; the warning about a second figure only tells.
    const ListReadResult read =
        ReadFigureListFile(o.file, model, canvas, texts, [] { Complain(kMultipleText); });
    if (read.status != ListReadStatus::Ok) {
        // The size messages are the window's texts; the others carry the file name as given.
        const std::string text = MessageFor(read.status, o.file).text;
        const bool sizeMessage = read.status == ListReadStatus::BadWidth ||
                                 read.status == ListReadStatus::BadHeight ||
                                 read.status == ListReadStatus::InvalidSize;
        Complain(sizeMessage ? Cp1252ToUtf8(text) : text);
        return kExitInvalid;
    }
    const FigureHatch hatch = FigureHatchLines({model.TileWidth(), model.TileHeight()}, model.grid,
                                               {texts.units, texts.type, texts.name}, *accuracy);
    // First the file, then the failed rows, as the window shows them after its save.
    const int written = WriteOutput(o.output, JoinCrLf(hatch.lines), o.force);
    for (const std::string& message : FailedRowMessages(hatch.failedRows))
        Complain(Cp1252ToUtf8(message));
    if (written != kExitOk) return written;
    return hatch.failedRows.empty() ? kExitOk : kExitRowsFailed;
}

}  // namespace

Subcommand AddFigureCommand(CLI::App& parent) {
    auto options = std::make_shared<FigureOptions>();
    CLI::App* app = parent.add_subcommand(
        "figure",
        "Write the pattern file of a figure list (the free figure tab's \"Maak hatch\").");
    app->add_option("file", options->file, "The figure list (.txt)")->required();
    app->add_option("--accuracy", options->accuracy,
                    "Nauwkeurig (default), Middel or Laag, as the tab's accuracy choice");
    app->add_option("-o,--output", options->output,
                    "The pattern file to write; standard output without it or with \"-\"");
    app->add_flag("--force", options->force, "Replace an existing output file (atomically)");
    app->footer(
        "Opens the list as the free figure tab opens it right after start-up (see figure-read)\n"
        "and writes, byte for byte, the pattern file that \"Maak hatch\" writes: the header\n"
        "lines from the list's units, name and type, one pattern line per grid row, \";\".\n"
        "A row without a solution is written as an empty line and reported on standard error\n"
        "as \"Geen oplossing gevonden voor lijn: N\".\n"
        "Example:\n"
        "  murvex-cli figure figuur.txt --accuracy Middel -o figuur.pat\n"
        "Exit status: 0 written, 1 the output could not be written, 2 the list could not be\n"
        "read or the accuracy is unknown, 3 written but some rows have no solution.");
    return {app, [options] { return RunFigure(*options); }};
}

}  // namespace murvex::cli
