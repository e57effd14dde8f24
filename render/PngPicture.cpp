// PNG pictures, painted with Qt's raster painter and encoded by Qt.
#include "PngPicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <utility>

#include "PatternPainter.h"
#include "PatternPng.h"

namespace murvex {

namespace {

std::optional<std::string> PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return std::nullopt;
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// An RGB32 image of the picture's size filled white; a null image when it cannot be made.
QImage WhiteImage(const PictureSize& size) {
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (!image.isNull()) image.fill(Qt::white);
    return image;
}

}  // namespace

bool HasPngPictures() {
    return true;
}

std::optional<std::string> PngPictureBytes(const std::vector<DrawnSegment>& segments,
                                           const Box& box, const PictureSize& size,
                                           const std::vector<OverlaySegment>& overlay) {
    QImage image = WhiteImage(size);
    if (image.isNull()) return std::nullopt;
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

std::optional<std::string> PaintedPngBytes(const PictureSize& size,
                                           const std::function<void(QImage&)>& paint) {
    QImage image = WhiteImage(size);
    if (image.isNull()) return std::nullopt;
    paint(image);
    return PngBytes(image);
}

}  // namespace murvex
