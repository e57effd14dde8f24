// Picture files of a pattern: the format a name asks for; PNG or SVG bytes from segments and an
// overlay.
#include "PictureFile.h"

#include <algorithm>

#include "PngPicture.h"

namespace murvex {

namespace {

bool EndsWithLower(std::string_view name, std::string_view lowerEnding) {
    if (name.size() < lowerEnding.size()) return false;
    return std::equal(lowerEnding.begin(), lowerEnding.end(), name.end() - lowerEnding.size(),
                      [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b + 32 : b); });
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(std::string_view fileName) {
    if (EndsWithLower(fileName, ".png")) return PictureFormat::Png;
    if (EndsWithLower(fileName, ".svg")) return PictureFormat::Svg;
    if (EndsWithLower(fileName, ".dxf")) return PictureFormat::Dxf;
    return std::nullopt;
}

std::optional<std::string> PictureBytes(PictureFormat format,
                                        const std::vector<DrawnSegment>& segments, const Box& box,
                                        const PictureSize& size,
                                        const std::vector<OverlaySegment>& overlay) {
    switch (format) {
        case PictureFormat::Svg:
            return SegmentsToSvg(segments, box, size, overlay);
        case PictureFormat::Dxf:
            return std::nullopt;
        case PictureFormat::Png:
            return PngPictureBytes(segments, box, size, overlay);
    }
    return std::nullopt;
}

}  // namespace murvex
