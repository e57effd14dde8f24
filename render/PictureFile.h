// Picture files of a pattern: the one place that chooses PNG, SVG or DXF from a file name and
// turns segments (and an overlay) into a picture's bytes. The render command and the preview's
// export both choose and write through it. Standard C++ only: the PNG step is PngPicture.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PatternGeometry.h"
#include "PatternPicture.h"
#include "PreviewContent.h"

namespace murvex {

// A DXF is a drawing, not a picture: it holds the pattern lines themselves as a hatch over the
// box (PatternDxf in dxf/), and a CAD program draws them.
enum class PictureFormat { Png, Svg, Dxf };

// The format a file name asks for by its ending, ".png", ".svg" or ".dxf" in any case; nothing
// for any other name.
std::optional<PictureFormat> PictureFormatOf(std::string_view fileName);

// The bytes of a picture file showing the box (y upwards) at size: the segments in black on
// white, the overlay in its colours over them. A PNG without overlay is stored grey. Nothing
// when the picture cannot be made (a size of no pixels, or more than the memory holds), for a
// DXF, and for a PNG in a build without PNG pictures (HasPngPictures).
std::optional<std::string> PictureBytes(PictureFormat format,
                                        const std::vector<DrawnSegment>& segments, const Box& box,
                                        const PictureSize& size,
                                        const std::vector<OverlaySegment>& overlay = {});

}  // namespace murvex
