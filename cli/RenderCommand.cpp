// murvex-cli render: a picture (PNG or SVG) or a drawing (DXF) of what a pattern file draws
// inside a box. SVG in every build; PNG needs Qt (PngPicture.h) and DXF dxflib (DxfPicture.h).
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Msg.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "PatternGeometry.h"
#include "PatternPicture.h"
#include "PictureFile.h"
#include "PictureProgram.h"
#include "PngPicture.h"

namespace murvex::cli {

namespace {

struct RenderOptions {
    std::string file;
    std::string pattern;
    std::vector<std::string> box;
    std::string output;
    std::string px = "1000";
    bool force = false;
};

int RunRender(const RenderOptions& o) {
    const std::optional<Box> corners = BoxOption(o.box);
    if (!corners) return kExitInvalid;
    const Box box = *corners;
    const ParseResult px = ParseDecimal(o.px);
    if (!px.ok || px.value < 1 || px.value > kMaxPictureSide ||
        px.value != static_cast<int>(px.value)) {
        Complain(kInvalidValueText);
        return kExitInvalid;
    }
    const PictureSize size = PictureSizeFor(box, static_cast<int>(px.value));
    if (size.width == 0) {
        Complain("the box must have a width and a height");
        return kExitInvalid;
    }
    const std::optional<PictureFormat> format = PictureFormatOf(o.output);
    if (!format) {
        Complain("the output file must end in .png, .svg or .dxf");
        return kExitInvalid;
    }
    // This program paints no PNG itself: the picture program does, where it is installed.
    if (*format == PictureFormat::Png && !MissingPictureFormat(*format).empty() &&
        HasPictureProgram())
        return RunPictureProgram();
    return WritePatternPicture(o.file, o.pattern, *format, box, size, false, o.output, o.force);
}

}  // namespace

int WritePatternPicture(const std::string& patternFile, const std::string& patternName,
                        PictureFormat format, const Box& box, const PictureSize& size, bool lines,
                        const std::string& output, bool force) {
    // A build without the format says so before reading anything. (Only render can ask for a
    // missing one: a build without DXF drawings has no dxf command.)
    if (const std::string missing = MissingPictureFormat(format); !missing.empty()) {
        Complain("murvex-cli render: " + missing);
        return kExitInvalid;
    }
    int readStatus = kExitOk;
    const std::optional<std::string> text = ReadPatternToDraw(patternFile, patternName, readStatus);
    if (!text) return readStatus;
    PictureContent content;
    content.patternText = *text;
    content.box = box;
    content.size = size;
    content.dxfLines = lines;
    content.draw = [&text, &box] {
        DrawResult drawn = DrawPattern(ParsePatternText(*text), box);
        return DrawnPicture{std::move(drawn.segments), {}, drawn.truncated};
    };
    const PictureFile file = PictureFileBytes(format, content);
    switch (file.status) {
        case PictureFileStatus::NotInBuild:
        case PictureFileStatus::Refused:
            Complain(file.text);
            return kExitInvalid;
        case PictureFileStatus::Failed:
            Complain("Cannot write file " + output);
            return kExitFailed;
        case PictureFileStatus::Ok:
        case PictureFileStatus::Incomplete:
            break;
    }
    const int status = WriteOutput(output, file.bytes, force);
    if (status != kExitOk) return status;
    if (file.status == PictureFileStatus::Incomplete) {
        Complain(file.text);
        return kExitIncomplete;
    }
    return kExitOk;
}

Subcommand AddRenderCommand(CLI::App& parent) {
    auto options = std::make_shared<RenderOptions>();
    CLI::App* app = parent.add_subcommand(
        "render",
        "Draw what a pattern file draws inside a box as a PNG or SVG picture: black lines on "
        "white, the box filling the picture, y upwards.");
    app->add_option("file", options->file, "Pattern file (.pat)")->required();
    app->add_option("--box", options->box, "The box: X0 Y0 X1 Y1")->required()->expected(4);
    AddPatternOption(*app, options->pattern);
    app->add_option("-o,--output", options->output,
                    "The picture; its ending (.png, .svg or .dxf) chooses the format")
        ->required();
    app->add_option("--px", options->px,
                    "Pixels along the box's larger side (default 1000, at most 8192)");
    app->add_flag("--force", options->force, "Replace an existing output file");
    std::string footer =
        "A box in which the pattern draws nothing gives a white picture. A .dxf is a drawing\n"
        "with the pattern as a hatch over the box (murvex-cli dxf writes its lines too).\n";
    if (!HasPngPictures() && !HasPictureProgram())
        footer += "PNG pictures are not in this build; they need the build with Qt.\n";
    footer +=
        "Example:\n"
        "  murvex-cli render kruis.pat --box 0 0 2000 1000 -o kruis.svg --px 800\n"
        "Exit status: 0 written, 1 file not readable or not writable, 2 invalid value (or a\n"
        "format not in this build), 3 the pattern was too dense for the box and the picture\n"
        "shows only part of it.";
    app->footer(footer);
    return {app, [options] { return RunRender(*options); }};
}

}  // namespace murvex::cli
