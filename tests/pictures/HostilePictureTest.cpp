// The loader against files made to hurt it (the PDF, GIF and .svgz reproducers are in data/):
// icons it used to refuse, SVG that names other files, compressed and late-rooted SVG, PDF pages
// that never end or grow without bound, and too many elements. Memory on large pictures is
// checked on murvex-cli, in a process of its own.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <atomic>
#include <chrono>
#include <thread>

#include "BackgroundPicture.h"
#include "PngDecoder.h"
#include "TempDir.h"
#include "VectorTestFiles.h"

namespace murvex::test {
namespace {

const QSize kShown(300, 150);

pictures::BackgroundPictureResult Load(const std::string& path) {
    return pictures::LoadBackgroundPicture(QString::fromStdString(path), kShown);
}

pictures::BackgroundPictureResult LoadBytes(const TempDir& dir, const QByteArray& bytes) {
    WriteText(dir.File("plaatje"), bytes.toStdString());
    return Load(dir.File("plaatje"));
}

pictures::BackgroundPictureResult LoadData(const char* name) {
    return Load(std::string(MURVEX_PICTURE_DATA_DIR "/") + name);
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

QByteArray Svg(const QByteArray& inside, const QByteArray& before = {}) {
    return before +
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"1000\" height=\"500\"><rect width=\"500\" height=\"500\" fill=\"black\"/>" +
           inside + "</svg>";
}

void ExpectRefused(const pictures::BackgroundPictureResult& r, const char* why) {
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.image.isNull());
    EXPECT_TRUE(r.error.startsWith(QLatin1String("Afbeelding kan niet gelezen worden")) ||
                r.error.startsWith(QLatin1String("Afbeelding is te groot")));
    EXPECT_TRUE(r.error.contains(QLatin1String(why))) << r.error.toStdString();
}

TEST(HostilePicture, IconsLoad) {
    TempDir dir;
    QImage icon(48, 24, QImage::Format_ARGB32);
    icon.fill(QColor(10, 20, 200));
    const auto r = LoadBytes(dir, Encoded(icon, "ICO"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.image.size(), kShown);
    EXPECT_EQ(r.image.pixelColor(150, 75).blue(), 200);
}

// Qt SVG opens what an image element names, a FIFO too, which blocks it; the loader refuses such
// a file without opening the other one. Small pictures embedded as data are drawn.
TEST(HostilePicture, SvgNamingAnotherFileIsRefusedWithoutOpeningIt) {
    TempDir dir;
    QImage red(4, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QByteArray png = Encoded(red, "PNG");
    WriteText(dir.File("ander.png"), png.toStdString());
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& href :
         {dir.File("ander.png"), std::string("ander.png"), std::string("/etc/passwd"), fifo}) {
        SCOPED_TRACE(href);
        // A writer on the FIFO sees whether the loader opens it, and then lets it go on.
        std::atomic<bool> opened = false;
        std::thread writer([&] {
            for (int i = 0; href == fifo && i < 50 && !opened; ++i) {
                const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                opened = fd >= 0;
                if (fd >= 0) ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
        const auto r = LoadBytes(dir, Svg(QByteArray("<image xlink:href=\"") + href.c_str() +
                                          "\" x=\"500\" width=\"500\" height=\"500\"/>"));
        writer.join();
        EXPECT_FALSE(opened);
        ExpectRefused(r, "refers to another file");
    }
    const auto embedded =
        LoadBytes(dir, Svg("<image xlink:href=\"data:image/png;base64," + png.toBase64() +
                           "\" x=\"500\" width=\"500\" height=\"500\"/>"));
    ASSERT_TRUE(embedded.ok()) << embedded.error.toStdString();
    EXPECT_EQ(embedded.image.pixel(225, 75), qRgb(255, 0, 0));
}

TEST(HostilePicture, SvgIsKnownByItsWholeContentsAndNeverInflated) {
    TempDir dir;
    // The root element after 5 KB of comment: drawn as any SVG, at the size shown, on white.
    const auto late = LoadBytes(dir, Svg({}, "<!--" + QByteArray(5000, 'x') + "-->"));
    ASSERT_TRUE(late.ok()) << late.error.toStdString();
    EXPECT_EQ(late.image.size(), kShown);
    EXPECT_EQ(late.image.pixel(290, 10), qRgb(255, 255, 255));
    ExpectRefused(LoadData("plan.svgz"), "Compressed SVG");
}

TEST(HostilePicture, OverTheBoundIsRefusedNotAbortedNorDrawnForMinutes) {
    TempDir dir;
    ExpectRefused(LoadData("nested-forms-9.pdf"), "too long or too much memory");  // 10^9 lines
    ExpectRefused(LoadData("path-400000.pdf"), "too long or too much memory");
    ExpectRefused(LoadData("screen.gif"), "te groot");  // 35 bytes, a 10000 x 10000 screen
    ExpectRefused(
        LoadBytes(dir, Svg(QByteArray("<line x2=\"1000\" y2=\"500\"/>").repeated(100000))),
        "too many elements");
    Le lines;
    for (int i = 0; i < 100001; ++i)
        lines.U32(4).U32(44).U32(0).U32(0).U32(1000).U32(500).U32(2).U32(i).U32(0).U32(0).U32(9);
    ExpectRefused(LoadBytes(dir, Emf(lines.bytes_)), "too many shapes");
    // A thousand lines through the same forms are drawn.
    const auto light = LoadData("nested-forms-3.pdf");
    ASSERT_TRUE(light.ok()) << light.error.toStdString();
    EXPECT_EQ(light.image.size(), kShown);
}

TEST(HostilePicture, PngIsAveragedToTheSizeShown) {
    QImage halves(400, 200, QImage::Format_RGB32);
    halves.fill(Qt::white);
    QPainter(&halves).fillRect(0, 0, 200, 200, Qt::black);
    const pictures::PngResult half = pictures::DecodePng(Encoded(halves, "PNG"), QSize(2, 1));
    ASSERT_TRUE(half.ok()) << half.error.toStdString();
    ASSERT_EQ(half.image.size(), QSize(2, 1));
    EXPECT_EQ(half.image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(half.image.pixel(1, 0), qRgb(255, 255, 255));
    // Transparent pixels give no colour to the average; only the alpha thins.
    QImage mixed(2, 1, QImage::Format_ARGB32);
    mixed.setPixel(0, 0, qRgba(200, 0, 0, 255));
    mixed.setPixel(1, 0, qRgba(0, 0, 255, 0));
    EXPECT_EQ(pictures::DecodePng(Encoded(mixed, "PNG"), QSize(1, 1)).image.pixel(0, 0),
              qRgba(200, 0, 0, 127));
    // Smaller than shown: its own size; cut short: an error.
    const QByteArray whole = Encoded(halves, "PNG");
    EXPECT_EQ(pictures::DecodePng(whole, QSize(800, 800)).image.size(), QSize(400, 200));
    EXPECT_FALSE(pictures::DecodePng(whole.left(whole.size() - 20), kShown).ok());
}

}  // namespace
}  // namespace murvex::test
