// The JPEG decoder on the committed pictures and on broken data.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include "JpegDecoder.h"

namespace murvex::test {
namespace {

const char* const kPictures[] = {
    "halfsteensverband", "tegelverband",   "kruisverband",  "engelsverband", "kettingverband",
    "koppenverband",     "klezoorverband", "staandverband", "vlaamsverband",
};

QByteArray Resource(const char* bond) {
    QFile file(QStringLiteral(MURVEX_RESOURCE_DIR "/uitleg_%1.jpg").arg(QLatin1String(bond)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

TEST(JpegDecoder, TheNinePicturesAreJpegsOf320By200) {
    for (const char* bond : kPictures) {
        SCOPED_TRACE(bond);
        const QByteArray data = Resource(bond);
        ASSERT_FALSE(data.isEmpty());
        EXPECT_TRUE(data.startsWith("\xFF\xD8\xFF"));
        const pictures::JpegResult result = pictures::DecodeJpeg(data);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.size(), QSize(320, 200));
    }
    EXPECT_FALSE(QFile::exists(MURVEX_RESOURCE_DIR "/uitleg_wildverband.jpg"));
}

TEST(JpegDecoder, GreyAndColourJpegsFromAnotherEncoder) {
    for (QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_RGB32}) {
        QImage source(17, 9, format);
        source.fill(QColor(200, 30, 60));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!source.save(&buffer, "JPG")) GTEST_SKIP() << "no JPEG writer in this Qt";
        const pictures::JpegResult result = pictures::DecodeJpeg(bytes);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.size(), QSize(17, 9));
        const QColor middle = result.image.pixelColor(8, 4);
        const QColor expected = source.pixelColor(8, 4);
        EXPECT_NEAR(middle.red(), expected.red(), 8);
        EXPECT_NEAR(middle.green(), expected.green(), 8);
        EXPECT_NEAR(middle.blue(), expected.blue(), 8);
    }
}

struct Broken {
    const char* name;
    QByteArray (*make)(const QByteArray& good);
};

class BrokenJpeg : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenJpeg, GivesAnErrorResultNotACrash) {
    const QByteArray good = Resource("kruisverband");
    ASSERT_FALSE(good.isEmpty());
    const pictures::JpegResult result = pictures::DecodeJpeg(GetParam().make(good));
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(result.image.isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Data, BrokenJpeg,
    ::testing::Values(
        Broken{"Empty", [](const QByteArray&) { return QByteArray(); }},
        Broken{"NotAJpeg", [](const QByteArray&) { return QByteArray("GIF89a not a jpeg"); }},
        Broken{"OnlyTheStartMarker", [](const QByteArray&) { return QByteArray("\xFF\xD8", 2); }},
        Broken{"HeaderCutShort", [](const QByteArray& g) { return g.left(40); }},
        Broken{"TruncatedHalfway", [](const QByteArray& g) { return g.left(g.size() / 2); }},
        Broken{"TruncatedBeforeTheEnd", [](const QByteArray& g) { return g.left(g.size() - 40); }},
        Broken{"FrameHeaderOverwritten",
               [](const QByteArray& g) {
                   QByteArray b = g;
                   const auto sof = b.indexOf("\xFF\xC0");
                   if (sof >= 0) b.replace(sof + 5, 4, QByteArray(4, '\0'));  // 0 x 0 picture
                   return b;
               }},
        // libjpeg only warns about these and fills the rest with grey.
        Broken{"CutHalfwayWithTheEndMarker",
               [](const QByteArray& g) { return g.left(g.size() / 2) + QByteArray("\xFF\xD9"); }},
        Broken{"ScanGarbled",
               [](const QByteArray& g) {
                   QByteArray b = g;
                   const auto sos = b.indexOf("\xFF\xDA");
                   if (sos >= 0) {
                       for (int i = 0; i < 200; ++i)
                           b[sos + 400 + i] = static_cast<char>((i * 37 + 11) % 251);
                   }
                   return b;
               }},
        Broken{"HuffmanTablesGarbled",
               [](const QByteArray& g) {
                   QByteArray b = g;
                   const auto dht = b.indexOf("\xFF\xC4");
                   if (dht >= 0) b.replace(dht + 4, 20, QByteArray(20, '\xFF'));
                   return b;
               }}),
    [](const ::testing::TestParamInfo<Broken>& info) { return std::string(info.param.name); });

QByteArray Encoded(const QImage& image, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image)) return {};
    return bytes;
}

long PeakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A tiny picture whose frame header claims 10000 x 10000 pixels: the decode fails for want of
// data, and must do so without taking memory for the claimed size (about 1 GB progressive).
TEST(JpegDecoder, AHugeClaimedSizeIsRefusedWithinTheMemoryLimit) {
    QImage source(16, 16, QImage::Format_RGB32);
    source.fill(QColor(10, 200, 30));
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        QByteArray bytes = Encoded(source, progressive);
        if (bytes.isEmpty()) GTEST_SKIP() << "no JPEG writer in this Qt";
        const auto sof = bytes.indexOf(progressive ? "\xFF\xC2" : "\xFF\xC0");
        ASSERT_GE(sof, 0);
        bytes.replace(sof + 5, 4, QByteArray("\x27\x10\x27\x10", 4));
        const long before = PeakKilobytes();
        const pictures::JpegResult result = pictures::DecodeJpeg(bytes, QSize(320, 200));
        EXPECT_FALSE(result.ok());
        EXPECT_LT(PeakKilobytes() - before, 100 * 1024);
    }
}

// Shown smaller than it is, a picture is decoded scaled down by 2, 4 or 8, never below the
// shown size.
TEST(JpegDecoder, DecodesScaledDownToTheShownSize) {
    QImage source(1280, 800, QImage::Format_RGB32);
    source.fill(QColor(200, 30, 60));
    const QByteArray bytes = Encoded(source, false);
    if (bytes.isEmpty()) GTEST_SKIP() << "no JPEG writer in this Qt";
    const struct {
        QSize shown;
        QSize decoded;
    } rows[] = {
        {QSize(320, 200), QSize(320, 200)},    {QSize(321, 200), QSize(640, 400)},
        {QSize(640, 100), QSize(640, 400)},    {QSize(1000, 800), QSize(1280, 800)},
        {QSize(2000, 2000), QSize(1280, 800)}, {QSize(), QSize(1280, 800)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown.width());
        const pictures::JpegResult result = pictures::DecodeJpeg(bytes, row.shown);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.size(), row.decoded);
        EXPECT_NEAR(result.image.pixelColor(100, 50).red(), 200, 8);
    }
}

}  // namespace
}  // namespace murvex::test
