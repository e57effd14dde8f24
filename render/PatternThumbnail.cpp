// Small pictures of patterns, as lists of patterns show them beside their names.
#include "PatternThumbnail.h"

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "PatternPicture.h"
#include "PatternPng.h"

namespace murvex {

Box ThumbnailBox(const std::vector<PatternLine>& lines) {
    double size = PatternRepeatSize(lines);
    if (!(size > 0) || !std::isfinite(4 * size)) size = 25;
    return {0, 0, 4 * size, 4 * size};
}

QImage PatternThumbnail(const std::vector<PatternLine>& lines, int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(Qt::white));
    if (lines.empty() || side <= 0) return image;
    const Box box = ThumbnailBox(lines);
    const PictureSize size = PictureSizeFor(box, side);
    if (size.width != side || size.height != side) return image;
    const DrawResult drawn = DrawPattern(lines, box, kThumbnailSegments);
    PaintPatternImage(image, drawn.segments, box, size);
    return image;
}

}  // namespace murvex
