// Picture files of a pattern: the format a name asks for, and each format's bytes.
#include "PictureFile.h"

#include <algorithm>
#include <utility>

#include "DxfPicture.h"
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

std::string MissingPictureFormat(PictureFormat format) {
    if (format == PictureFormat::Png && !HasPngPictures())
        return "PNG pictures are not in this build";
    if (format == PictureFormat::Dxf && !HasDxfPictures())
        return "DXF drawings are not in this build";
    return {};
}

PictureFile PictureFileBytes(PictureFormat format, const PictureContent& content) {
    if (std::string missing = MissingPictureFormat(format); !missing.empty())
        return {PictureFileStatus::NotInBuild, {}, std::move(missing)};
    if (format == PictureFormat::Dxf)
        return DxfPictureBytes(content.patternText, content.box, content.dxfLines);
    std::optional<std::string> bytes;
    bool truncated = false;
    if (format == PictureFormat::Png && content.paint) {
        bytes = PaintedPngBytes(content.size, content.paint);
    } else {
        const DrawnPicture picture = content.draw();
        truncated = picture.truncated;
        bytes = PictureBytes(format, picture.segments, content.box, content.size, picture.overlay);
    }
    if (!bytes) return {PictureFileStatus::Failed, {}, "the picture is too large to make"};
    if (truncated)
        return {PictureFileStatus::Incomplete, std::move(*bytes),
                "the pattern is too dense for the box; the picture shows only part of it"};
    return {PictureFileStatus::Ok, std::move(*bytes), {}};
}

}  // namespace murvex
