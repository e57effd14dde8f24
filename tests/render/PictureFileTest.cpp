// Picture files: the format a name asks for, and the overlay drawn over the pattern in both.
#include "PictureFile.h"

#include <QImage>

#include <gtest/gtest.h>

namespace murvex {
namespace {

TEST(PictureFile, TheNameEndingChoosesTheFormat) {
    const std::pair<const char*, std::optional<PictureFormat>> rows[] = {
        {"muur.png", PictureFormat::Png},  // the dialog's default
        {"map.svg/MUUR.Png", PictureFormat::Png},
        {"muur.sVg", PictureFormat::Svg},
        {"muur.DXF", PictureFormat::Dxf},
        {"muur.png.txt", std::nullopt},
        {"svg", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [name, format] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(PictureFormatOf(name), format);
    }
}

const Box kBox{0, 0, 100, 50};
const PictureSize kSize{200, 100, 2.0};
const std::vector<DrawnSegment> kPattern = {{0, 10, 100, 10}, {50, 40, 50, 40}};
// A red line across the middle and a marked green one up the right-hand side.
const std::vector<OverlaySegment> kOverlay = {{{10, 25, 90, 25}, 0xff0000, false, 0},
                                              {{80, 5, 80, 45}, 0x00a000, true, 1}};

TEST(PictureFile, TheSvgOverlayFollowsThePatternInItsColours) {
    std::string plain = *PictureBytes(PictureFormat::Svg, kPattern, kBox, kSize);
    const std::string over = *PictureBytes(PictureFormat::Svg, kPattern, kBox, kSize, kOverlay);
    const std::string path = "<path fill=\"none\" stroke=\"#";
    const std::string tail = "\" vector-effect=\"non-scaling-stroke\" d=\"M";
    plain.insert(plain.rfind("</svg>"),
                 path + "ff0000\" stroke-width=\"2" + tail + "10 -25L90 -25\"/>\n" + path +
                     "00a000\" stroke-width=\"3" + tail + "80 -5L80 -45\"/>\n");
    EXPECT_EQ(over, plain);
}

QImage Png(const std::vector<OverlaySegment>& overlay) {
    const std::string bytes = *PictureBytes(PictureFormat::Png, kPattern, kBox, kSize, overlay);
    return QImage::fromData(QByteArray::fromStdString(bytes), "PNG");
}

TEST(PictureFile, ThePngOverlayIsPaintedInColourOverTheGreyPattern) {
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

}  // namespace
}  // namespace murvex
