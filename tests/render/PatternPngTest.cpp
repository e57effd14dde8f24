// The render command's PNG picture: dots painted from shared shapes look as Qt paints each dot.
#include "PatternPng.h"
#include "PatternThumbnail.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace murvex {
namespace {

const Box kBox{0, 0, 100, 100};
const PictureSize kSize{400, 400, 4.0};

QImage Painted(const std::vector<DrawnSegment>& dots, bool oneByOne,
               std::size_t* shapes = nullptr) {
    QImage image(kSize.width, kSize.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!oneByOne) {
        *shapes = PaintPatternImage(image, dots, kBox, kSize);
        return image;
    }
    QPainter painter(&image);  // the way each dot was painted before
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const DrawnSegment& d : dots)
        painter.drawEllipse(QPointF(d.x1 * 4, (100 - d.y1) * 4), kPngDotRadius, kPngDotRadius);
    return image;
}

// Qt paints one disc differently at different places of one image: up to 16 grey levels per
// pixel, and 783 against 763 levels of ink at x = 3.25 and x = 103.25. Within that the pictures
// agree: no dot moved, vanished or changed its size. And a million dots once
// cost a million rasterised discs, now one per sub-pixel place.
TEST(PatternPng, DotsLookAsWhenPaintedOneByOneFromFewShapes) {
    std::mt19937 random(23);
    std::uniform_real_distribution<double> at(-1, 101);
    for (const int count : {300, 20000}) {
        SCOPED_TRACE(count);
        std::vector<DrawnSegment> dots;
        for (int i = 0; i < count; ++i) {
            const double x = at(random), y = at(random);
            dots.push_back({x, y, x, y});
        }
        std::size_t shapes = 0;
        const QImage image = Painted(dots, false, &shapes);
        const QImage reference = Painted(dots, true);
        EXPECT_LE(shapes, static_cast<std::size_t>(kDotSteps * kDotSteps));
        int worst = 0;
        long ink = 0, referenceInk = 0;
        for (int y = 0; y < kSize.height; ++y) {
            for (int x = 0; x < kSize.width; ++x) {
                const int gray = qGray(image.pixel(x, y)), was = qGray(reference.pixel(x, y));
                worst = std::max(worst, std::abs(gray - was));
                ink += 255 - gray;
                referenceInk += 255 - was;
            }
        }
        EXPECT_LE(worst, 24);
        EXPECT_NEAR(static_cast<double>(ink), static_cast<double>(referenceInk),
                    0.03 * static_cast<double>(referenceInk));
    }
}

// A family of lines far closer than the pixels once painted the small picture solid black; it
// is now a grey tone, and the wide family on it still stands out. Dots build up a tone too.
TEST(PatternThumbnail, DenseFamiliesAreGreyAndWideOnesStayBlack) {
    const auto darkness = [](const QImage& image, double* darkest) {
        double sum = 0;
        *darkest = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const double d = 1 - qGray(image.pixel(x, y)) / 255.0;
                sum += d;
                *darkest = std::max(*darkest, d);
            }
        }
        return sum / (image.width() * image.height());
    };
    const PatternLine wide{0, 0, 0, 0, 10, {}};
    const PatternLine dense{90, 0, 0, 0, 0.05, {}};
    const PatternLine dots{45, 0, 0, 0, 1, {0, -1}};
    for (const auto& lines :
         {std::vector<PatternLine>{wide, dense}, std::vector<PatternLine>{wide, dots}}) {
        double darkest = 0;
        const double mean = darkness(PatternThumbnail(lines, 48), &darkest);
        EXPECT_GT(mean, 0.2);
        EXPECT_LT(mean, 0.6);
        // An antialiased line between two pixel rows is half dark in each.
        EXPECT_GT(darkest, mean + 0.2);
    }
}

}  // namespace
}  // namespace murvex
