// Picture files of a pattern: the format a name asks for; PNG or SVG bytes from segments and an
// overlay.
#include "PictureFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <utility>

#include "PatternPainter.h"
#include "PatternPng.h"

namespace murvex {

namespace {

bool EndsWithLower(std::string_view name, std::string_view lowerEnding) {
    if (name.size() < lowerEnding.size()) return false;
    return std::equal(lowerEnding.begin(), lowerEnding.end(), name.end() - lowerEnding.size(),
                      [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b + 32 : b); });
}

std::optional<std::string> PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return std::nullopt;
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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
                                        const std::vector<OverlaySegment>& overlay,
                                        const RasterPainter& raster) {
    switch (format) {
        case PictureFormat::Svg:
            return SegmentsToSvg(segments, box, size, overlay);
        case PictureFormat::Dxf:
            return std::nullopt;
        case PictureFormat::Png:
            break;
    }
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (image.isNull()) return std::nullopt;
    image.fill(Qt::white);
    if (raster) {
        raster(image);
        return PngBytes(image);
    }
    PaintPatternImage(image, segments, box, size);
    if (!overlay.empty()) {
        QPainter painter(&image);
        PaintOverlay(painter, overlay, ViewTransform{box.x0, box.y1, size.scale});
        painter.end();
        return PngBytes(image);
    }
    // Black on white leaves red, green and blue equal: one grey byte per pixel holds the same
    // picture, and a third of the bytes halves the time the encoder takes for a large one.
    return PngBytes(std::move(image).convertToFormat(QImage::Format_Grayscale8));
}

}  // namespace murvex
