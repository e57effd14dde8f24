// The render command's PNG picture: dots painted from shared shapes look as Qt paints each dot.
#include "PatternPng.h"

#include <QImage>
#include <QPainter>
#include <QPen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace murvex {
namespace {

// A box of 100 x 100 units on 400 x 400 pixels.
const Box kBox{0, 0, 100, 100};
const PictureSize kSize{400, 400, 4.0};

QImage White() {
    QImage image(kSize.width, kSize.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The same picture with one drawEllipse per dot, the way it was painted before.
QImage PaintedDotByDot(const std::vector<Segment>& segments) {
    QImage image = White();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::RoundCap);
    painter.setBrush(Qt::black);
    for (const Segment& s : segments) {
        const QPointF a((s.x1 - kBox.x0) * kSize.scale, (kBox.y1 - s.y1) * kSize.scale);
        const QPointF b((s.x2 - kBox.x0) * kSize.scale, (kBox.y1 - s.y2) * kSize.scale);
        painter.setPen(a == b ? QPen(Qt::NoPen) : pen);
        if (a == b)
            painter.drawEllipse(a, kPngDotRadius, kPngDotRadius);
        else
            painter.drawLine(a, b);
    }
    return image;
}

std::vector<Segment> RandomDotsAndDashes(std::mt19937& random, int count, double spread) {
    std::uniform_real_distribution<double> at(-1, 101);
    std::uniform_real_distribution<double> step(-spread, spread);
    std::vector<Segment> segments;
    for (int i = 0; i < count; ++i) {
        const double x = at(random);
        const double y = at(random);
        const bool dot = i % 3 != 0;
        segments.push_back({x, y, dot ? x : x + step(random), dot ? y : y + step(random)});
    }
    return segments;
}

// Qt itself paints one disc a few grey levels differently at different places of an image, so
// the two pictures agree within that: no dot moved, vanished or changed its size.
TEST(PatternPng, DotsLookAsWhenPaintedOneByOne) {
    std::mt19937 random(23);
    for (const int count : {300, 3000}) {
        SCOPED_TRACE(count);
        const std::vector<Segment> segments = RandomDotsAndDashes(random, count, 3);
        QImage image = White();
        PaintPatternImage(image, segments, kBox, kSize);
        const QImage reference = PaintedDotByDot(segments);
        int worst = 0;
        long ink = 0;
        long referenceInk = 0;
        for (int y = 0; y < kSize.height; ++y) {
            for (int x = 0; x < kSize.width; ++x) {
                const int gray = qGray(image.pixel(x, y));
                const int referenceGray = qGray(reference.pixel(x, y));
                worst = std::max(worst, std::abs(gray - referenceGray));
                ink += 255 - gray;
                referenceInk += 255 - referenceGray;
            }
        }
        EXPECT_LE(worst, 24);
        EXPECT_NEAR(static_cast<double>(ink), static_cast<double>(referenceInk),
                    0.01 * static_cast<double>(referenceInk));
    }
}

// A million dots once cost a million rasterised discs; each sub-pixel place costs one.
TEST(PatternPng, RasterisesEachDotShapeOnce) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> at(0, 100);
    std::vector<Segment> dots;
    for (int i = 0; i < 20000; ++i) {
        const double x = at(random);
        const double y = at(random);
        dots.push_back({x, y, x, y});
    }
    QImage image = White();
    EXPECT_LE(PaintPatternImage(image, dots, kBox, kSize),
              static_cast<std::size_t>(kDotSteps * kDotSteps));
    // Dots on a grid of whole pixels share one shape.
    dots.clear();
    for (int i = 0; i < 100; ++i)
        dots.push_back({i * 0.25, i * 0.5, i * 0.25, i * 0.5});
    image = White();
    EXPECT_EQ(PaintPatternImage(image, dots, kBox, kSize), 1u);
}

}  // namespace
}  // namespace murvex
