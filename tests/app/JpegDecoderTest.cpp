// The JPEG decoder on the committed pictures and on broken data.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>

#include "JpegDecoder.h"

namespace murvex::test {
namespace {

const char* const kPictures[] = {
    "halfsteensverband", "tegelverband",   "kruisverband",  "engelsverband", "kettingverband",
    "koppenverband",     "klezoorverband", "staandverband", "vlaamsverband",
};

QByteArray Resource(const char* bond) {
    QFile file(QStringLiteral(":/uitleg/uitleg_%1.jpg").arg(QLatin1String(bond)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

TEST(JpegDecoder, TheNinePicturesAreJpegsOf320By200) {
    for (const char* bond : kPictures) {
        SCOPED_TRACE(bond);
        const QByteArray data = Resource(bond);
        ASSERT_FALSE(data.isEmpty());
        EXPECT_TRUE(data.startsWith("\xFF\xD8\xFF"));
        const app::JpegResult result = app::DecodeJpeg(data);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.image.size(), QSize(320, 200));
    }
    EXPECT_FALSE(QFile::exists(":/uitleg/uitleg_wildverband.jpg"));
}

TEST(JpegDecoder, GreyAndColourJpegsFromAnotherEncoder) {
    for (QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_RGB32}) {
        QImage source(17, 9, format);
        source.fill(QColor(200, 30, 60));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!source.save(&buffer, "JPG")) GTEST_SKIP() << "no JPEG writer in this Qt";
        const app::JpegResult result = app::DecodeJpeg(bytes);
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
    const app::JpegResult result = app::DecodeJpeg(GetParam().make(good));
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
        Broken{"HuffmanTablesGarbled",
               [](const QByteArray& g) {
                   QByteArray b = g;
                   const auto dht = b.indexOf("\xFF\xC4");
                   if (dht >= 0) b.replace(dht + 4, 20, QByteArray(20, '\xFF'));
                   return b;
               }}),
    [](const ::testing::TestParamInfo<Broken>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace murvex::test
