// Picture files of a pattern: the one place that chooses PNG, SVG or DXF from a file name and
// turns segments (and an overlay) into a picture's bytes. The render command and the preview's
// export both choose and write through it.
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
// box (PatternDxf in dxf/), and a CAD program draws them.
enum class PictureFormat { Png, Svg, Dxf };

// The format a file name asks for by its ending, ".png", ".svg" or ".dxf" in any case; nothing
// for any other name.
std::optional<PictureFormat> PictureFormatOf(std::string_view fileName);

// Paints a raster picture in place of the plain one, into an RGB32 image of the picture's size
// filled white. The preview passes one to write what its window shows (outline, scale bar).
using RasterPainter = std::function<void(QImage&)>;

// The bytes of a picture file showing the box (y upwards) at size: the segments in black on
// white, the overlay in its colours over them. A PNG without overlay or raster painter is
// stored grey; one with a raster painter holds what that painted. Nothing when the picture
// cannot be made (a size of no pixels, or more than the memory holds), and for a DXF.
std::optional<std::string> PictureBytes(PictureFormat format,
                                        const std::vector<DrawnSegment>& segments, const Box& box,
                                        const PictureSize& size,
                                        const std::vector<OverlaySegment>& overlay = {},
                                        const RasterPainter& raster = {});

}  // namespace murvex
