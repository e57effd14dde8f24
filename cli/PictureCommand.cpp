// murvex-cli picture: a background picture loaded exactly as the figure tab loads it for its
// canvas, written as a PNG, so that the loader can be tried without the window.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "BackgroundPicture.h"
#include "Commands.h"
#include "Msg.h"
#include "NumberText.h"
#include "PatternPicture.h"

namespace murvex::cli {

namespace {

// Qt's own notes on stderr (a missing runtime folder, a reader's complaint) are not ours: the
// command reports the outcome itself.
void IgnoreQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

struct PictureOptions {
    std::string file;
    std::vector<std::string> size;
    std::string output;
    bool force = false;
};

// A canvas side: a whole number of pixels within what a picture may be written at.
bool ReadSide(const std::string& text, int* side) {
    const ParseResult r = ParseDecimal(text);
    if (!r.ok || r.value < 1 || r.value > kMaxPictureSide || r.value != static_cast<int>(r.value))
        return false;
    *side = static_cast<int>(r.value);
    return true;
}

int RunPicture(const PictureOptions& o) {
    int width = 0;
    int height = 0;
    if (!ReadSide(o.size[0], &width) || !ReadSide(o.size[1], &height)) {
        Complain(kInvalidValueText);
        return kExitInvalid;
    }
    // SVG text and the painter's fonts need an application object; no window is ever shown.
    if (!QGuiApplication::instance()) {
        qInstallMessageHandler(IgnoreQtMessage);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "murvex-cli";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    const pictures::BackgroundPictureResult picture =
        pictures::LoadBackgroundPicture(QString::fromStdString(o.file), QSize(width, height));
    if (!picture.ok()) {
        Complain(picture.error.toStdString());
        return kExitFailed;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.image.save(&buffer, "PNG")) {
        Complain("Cannot write file " + o.output);
        return kExitFailed;
    }
    return WriteOutput(o.output, std::string_view(bytes.constData(), bytes.size()), o.force);
}

}  // namespace

Subcommand AddPictureCommand(CLI::App& parent) {
    auto options = std::make_shared<PictureOptions>();
    CLI::App* app = parent.add_subcommand(
        "picture",
        "Load a background picture as the figure tab does for a canvas of W x H pixels and "
        "write it as a PNG: scaled to fit the canvas with its proportions kept.");
    app->add_option("file", options->file,
                    "The picture: JPEG, PNG, BMP, GIF, TIFF, icon, WMF, EMF, SVG or PDF")
        ->required();
    app->add_option("--size", options->size, "The canvas: W H in pixels (1 to 8192 each)")
        ->required()
        ->expected(2);
    app->add_option("-o,--output", options->output, "The PNG written (\"-\": standard output)")
        ->required();
    app->add_flag("--force", options->force, "Replace an existing output file");
    app->footer(
        "A picture that cannot be read gives the text of the window's error box.\n"
        "Example:\n"
        "  murvex-cli picture plattegrond.pdf --size 300 150 -o achtergrond.png\n"
        "Exit status: 0 written, 1 picture not readable or output not writable, 2 invalid value.");
    return {app, [options] { return RunPicture(*options); }};
}

}  // namespace murvex::cli
