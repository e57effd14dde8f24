// Picture files of a pattern: the one place that chooses PNG, SVG or DXF from a file name and
// makes the file's bytes. The render command and the preview's export both write through it.
// Standard C++ only: the PNG step is PngPicture.h, the DXF step DxfPicture.h.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PatternGeometry.h"
#include "PatternPicture.h"
#include "PreviewContent.h"

class QImage;

namespace murvex {

// A DXF is a drawing, not a picture: it holds the pattern lines themselves as a hatch over the
// box, and a CAD program draws them.
enum class PictureFormat { Png, Svg, Dxf };

// The format a file name asks for by its ending, ".png", ".svg" or ".dxf" in any case; nothing
// for any other name.
std::optional<PictureFormat> PictureFormatOf(std::string_view fileName);

// What a picture (SVG, PNG) shows: the segments in black, the overlay in its colours over them.
struct DrawnPicture {
    std::vector<DrawnSegment> segments;
    std::vector<OverlaySegment> overlay;
    bool truncated = false;  // the pattern was too dense for the box: only part is drawn
};

// What a picture file of a pattern shows, each format taking its own part.
struct PictureContent {
    // The pattern as its file holds it, name and units lines included: a DXF holds these lines
    // as a hatch over the box.
    std::string_view patternText;
    Box box;  // y upwards
    PictureSize size;
    // SVG and PNG: what the pattern draws in the box; asked for only by those formats.
    std::function<DrawnPicture()> draw;
    // PNG, where given: paints the picture itself instead, into an RGB32 image of size filled
    // white (the preview paints what its window shows, outline and scale bar included).
    std::function<void(QImage&)> paint;
    bool dxfLines = false;  // a DXF also holds the lines drawn in the box as LINE entities
};

enum class PictureFileStatus {
    Ok,
    Incomplete,  // written, but the picture or the DXF's lines hold only part of the pattern
    Refused,     // the pattern cannot go into this format (text says why)
    Failed,      // the picture could not be made: no pixels, or more than the memory holds
    NotInBuild,  // this build writes no such files (text says which)
};

struct PictureFile {
    PictureFileStatus status = PictureFileStatus::Ok;
    std::string bytes;  // when Ok or Incomplete
    std::string text;   // why, for every other status and for Incomplete
};

// Why this build writes no files of format ("PNG pictures are not in this build"); empty where
// it writes them.
std::string MissingPictureFormat(PictureFormat format);

// The bytes of the picture file of format showing content.
PictureFile PictureFileBytes(PictureFormat format, const PictureContent& content);

// The bytes of an SVG or PNG picture showing the box at size: the segments in black on white,
// the overlay in its colours over them. A PNG without overlay is stored grey. Nothing when the
// picture cannot be made, for a DXF, and for a PNG in a build without PNG pictures.
std::optional<std::string> PictureBytes(PictureFormat format,
                                        const std::vector<DrawnSegment>& segments, const Box& box,
                                        const PictureSize& size,
                                        const std::vector<OverlaySegment>& overlay = {});

}  // namespace murvex
