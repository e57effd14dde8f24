// The background picture loader: formats, damaged files, the size limit and the fit.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>

#include "BackgroundPicture.h"
#include "TempDir.h"
#include "VectorTestFiles.h"

namespace murvex::test {
namespace {

QByteArray Encoded(const char* format, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(20, 120, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

QByteArray CommittedJpeg() {
    QFile file(QStringLiteral(MURVEX_RESOURCE_DIR "/uitleg_kruisverband.jpg"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The JPEG with its start-of-frame marker claiming another size; no pixel data changes.
QByteArray JpegClaiming(QByteArray bytes, int width, int height) {
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    EXPECT_GT(sof, 0);
    bytes[sof + 5] = static_cast<char>(height >> 8);
    bytes[sof + 6] = static_cast<char>(height & 0xFF);
    bytes[sof + 7] = static_cast<char>(width >> 8);
    bytes[sof + 8] = static_cast<char>(width & 0xFF);
    return bytes;
}

std::string Write(const TempDir& dir, const char* name, const QByteArray& bytes) {
    const std::string path = dir.File(name);
    WriteText(path, bytes.toStdString());
    return path;
}

TEST(BackgroundPicture, ReadsAndFitsWithProportionsKept) {
    TempDir dir;
    struct Row {
        const char* name;
        QByteArray bytes;
        QSize fit;
        QSize expected;
    };
    const Row rows[] = {
        // 320 x 200 into 300 x 300: the width decides (187.5 rows, cut to 187).
        {"kruisverband.jpg", CommittedJpeg(), {300, 300}, {300, 187}},
        // 40 x 80 into 302 x 152: the height decides, and a small picture grows.
        {"staand.png", Encoded("PNG", {40, 80}), {302, 152}, {76, 152}},
        {"plaatje.bmp", Encoded("BMP", {30, 30}), {100, 50}, {50, 50}},
        // TIFF through Debian's extra image format plugins.
        {"scan.tif", Encoded("TIFF", {20, 10}), {40, 40}, {40, 20}},
        // The format comes from the contents, not from the name.
        {"eigenlijk-png.jpg", Encoded("PNG", {10, 10}), {20, 20}, {20, 20}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const pictures::BackgroundPictureResult r = pictures::LoadBackgroundPicture(
            QString::fromStdString(Write(dir, row.name, row.bytes)), row.fit);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.image.size(), row.expected);
    }
}

TEST(BackgroundPicture, RefusesWhatCannotBeReadWithItsName) {
    TempDir dir;
    const QByteArray png = Encoded("PNG", {64, 64});
    const QByteArray jpeg = CommittedJpeg();
    struct Row {
        const char* name;
        QByteArray bytes;  // empty: no such file
        const char* text;
    };
    const Row rows[] = {
        {"half.png", png.left(png.size() / 2), "kan niet gelezen worden"},
        {"half.jpg", jpeg.left(jpeg.size() / 2), "kan niet gelezen worden"},
        {"tekst.png", "Dit is geen afbeelding.\r\n", "kan niet gelezen worden"},
        {"leeg.bmp", QByteArray(), "kan niet gelezen worden"},
        {"reus.jpg", JpegClaiming(jpeg, 20000, 5001), "te groot"},
        // 47 bytes whose first frame reports 15360 x 127 before decoding and decodes to
        // 15360 x 15115: refused before the picture is made.
        {"reus.gif",
         QByteArray::fromBase64("R0lGODlhADwLO/EDAP///39/fwAAAMDAwCH5BAUAAAMALAAAAAAAJX8AAAABADs="),
         "kan niet gelezen worden"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path =
            row.bytes.isEmpty() ? dir.File(row.name) : Write(dir, row.name, row.bytes);
        const pictures::BackgroundPictureResult r =
            pictures::LoadBackgroundPicture(QString::fromStdString(path), {300, 300});
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.image.isNull());
        EXPECT_TRUE(r.error.contains(QLatin1String(row.text))) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromStdString(path))) << r.error.toStdString();
    }
}

TEST(BackgroundPicture, VectorPicturesAreDrawnAtTheFittedSizeOrRefusedWhenCutShort) {
    TempDir dir;
    struct Row {
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"tekening.wmf", TestWmf()},
        {"tekening.emf", TestEmf()},
        {"tekening.svg", TestSvg()},
        {"plattegrond.pdf", TestPdf()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const pictures::BackgroundPictureResult r = pictures::LoadBackgroundPicture(
            QString::fromStdString(Write(dir, row.name, row.bytes)), {300, 300});
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        // Drawn at 300 x 150 itself: the left half black, the top right white.
        ASSERT_EQ(r.image.size(), QSize(300, 150));
        EXPECT_LT(qGray(r.image.pixel(40, 75)), 64);
        EXPECT_GT(qGray(r.image.pixel(280, 20)), 240);

        const std::string cut = Write(dir, "kort", row.bytes.left(row.bytes.size() / 2));
        const pictures::BackgroundPictureResult refused =
            pictures::LoadBackgroundPicture(QString::fromStdString(cut), {300, 300});
        EXPECT_FALSE(refused.ok());
        EXPECT_TRUE(refused.image.isNull());
        EXPECT_TRUE(refused.error.contains(QLatin1String("kan niet gelezen worden")))
            << refused.error.toStdString();
        // The mask of the open dialog offers the family's files.
        const QString pattern =
            QStringLiteral("*.") + QString::fromLatin1(row.name).section('.', 1);
        EXPECT_TRUE(pictures::BackgroundPictureMask().split(' ').contains(pattern));
    }
}

}  // namespace
}  // namespace murvex::test
