// Small pictures of patterns, as lists of patterns show them beside their names.
#include "PatternThumbnail.h"

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "PatternPicture.h"
#include "PatternPng.h"

namespace murvex {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

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
    // Each family on its own: a dense one turns grey without paling the others.
    const std::size_t budget = std::max<std::size_t>(kThumbnailSegments / lines.size(), 1);
    for (const PatternLine& line : lines) {
        const DrawResult drawn = DrawPattern({line}, box, budget);
        // The ink of a line one pixel wide is its length; a dot's is a disc.
        double ink = 0;
        for (const DrawnSegment& s : drawn.segments) {
            const double length = std::hypot(s.x2 - s.x1, s.y2 - s.y1) * size.scale;
            ink += length > 0 ? length : kPi * kPngDotRadius * kPngDotRadius;
        }
        ink /= static_cast<double>(side) * side;
        PaintPatternImage(image, drawn.segments, box, size,
                          ink > kThumbnailInk ? kThumbnailInk / ink : 1.0);
    }
    return image;
}

}  // namespace murvex
