// PNG picture files (with Qt): the overlay in colour over the grey pattern, and the preview's own
// raster picture.
#include "PngPicture.h"

#include <QImage>

#include <gtest/gtest.h>

#include "PatternPng.h"
#include "PictureFile.h"

namespace murvex {
namespace {

const Box kBox{0, 0, 100, 50};
const PictureSize kSize{200, 100, 2.0};
const std::vector<DrawnSegment> kPattern = {{0, 10, 100, 10}, {50, 40, 50, 40}};
// A red line across the middle and a marked green one up the right-hand side.
const std::vector<OverlaySegment> kOverlay = {{{10, 25, 90, 25}, 0xff0000, false, 0},
                                              {{80, 5, 80, 45}, 0x00a000, true, 1}};

QImage Decoded(const std::optional<std::string>& bytes) {
    if (!bytes) return {};
    return QImage::fromData(QByteArray::fromStdString(*bytes), "PNG");
}

QImage Png(const std::vector<OverlaySegment>& overlay) {
    return Decoded(PictureBytes(PictureFormat::Png, kPattern, kBox, kSize, overlay));
}

TEST(PngPicture, TheOverlayIsPaintedInColourOverTheGreyPattern) {
    ASSERT_TRUE(HasPngPictures());
    const QImage plain = Png({});
    const QImage over = Png(kOverlay);
    ASSERT_EQ(plain.size(), QSize(kSize.width, kSize.height));
    EXPECT_TRUE(plain.isGrayscale());
    // Pixel (2x, 2 * (50 - y)): red on the red line, green on the green one, the pattern elsewhere.
    EXPECT_EQ(over.pixel(100, 50), qRgb(255, 0, 0));
    EXPECT_GT(qGreen(over.pixel(160, 50)), 100);
    EXPECT_LT(qGray(plain.pixel(100, 80)), 128);
    EXPECT_EQ(over.pixel(100, 80), plain.pixel(100, 80));
}

TEST(PngPicture, ARasterPainterPaintsOnWhiteAtThePicturesSize) {
    const QImage image = Decoded(RasterPictureBytes(kSize, [](QImage& im) {
        ASSERT_EQ(im.size(), QSize(kSize.width, kSize.height));
        im.setPixel(3, 4, qRgb(0, 0, 255));
    }));
    ASSERT_EQ(image.size(), QSize(kSize.width, kSize.height));
    EXPECT_EQ(image.pixel(3, 4), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(RasterPictureBytes(PictureSize{}, [](QImage&) { FAIL(); }), std::nullopt);
    EXPECT_EQ(PictureBytes(PictureFormat::Png, kPattern, kBox, PictureSize{}), std::nullopt);
}

}  // namespace
}  // namespace murvex
