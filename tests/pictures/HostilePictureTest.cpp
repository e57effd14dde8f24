// The loader against files made to hurt it: formats it used to refuse, files that name other
// files, compressed and late-starting SVG, PDF pages that never end or grow without bound, and
// pictures far larger than they are shown.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "BackgroundPicture.h"
#include "PngDecoder.h"
#include "TempDir.h"
#include "VectorTestFiles.h"

namespace murvex::test {
namespace {

const QSize kShown(300, 150);

std::string Write(const TempDir& dir, const char* name, const QByteArray& bytes) {
    const std::string path = dir.File(name);
    WriteText(path, bytes.toStdString());
    return path;
}

pictures::BackgroundPictureResult Load(const std::string& path, QSize fit = kShown) {
    return pictures::LoadBackgroundPicture(QString::fromStdString(path), fit);
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

// Deflates rows made on demand (zlib or gzip framing), without holding the inflated data.
template <typename Row>
QByteArray Deflate(qint64 rows, Row row, bool gzip) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, gzip ? 31 : 15, 9, Z_DEFAULT_STRATEGY), Z_OK);
    QByteArray out;
    unsigned char chunk[65536];
    for (qint64 i = 0; i <= rows; ++i) {
        QByteArray in = i < rows ? row(i) : QByteArray();
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = static_cast<uInt>(in.size());
        do {
            z.next_out = chunk;
            z.avail_out = sizeof chunk;
            deflate(&z, i < rows ? Z_NO_FLUSH : Z_FINISH);
            out.append(reinterpret_cast<char*>(chunk),
                       static_cast<qsizetype>(sizeof chunk - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return out;
}

QByteArray BigEndian(quint32 v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(b, 4);
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type) + data;
    return BigEndian(static_cast<quint32>(data.size())) + body +
           BigEndian(static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(body.constData()),
                                                static_cast<uInt>(body.size()))));
}

// A grey PNG of width x height: the left half black, the right half white.
QByteArray HalvesPng(int width, int height) {
    QByteArray row(1 + width, '\xFF');
    row[0] = 0;  // no filter
    std::memset(row.data() + 1, 0, static_cast<std::size_t>(width / 2));
    const QByteArray header = BigEndian(width) + BigEndian(height) + QByteArray("\x08\0\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) +
           PngChunk("IDAT", Deflate(
                                height, [&](qint64) { return row; }, false)) +
           PngChunk("IEND", {});
}

// A PDF of 200 x 100 points whose page has these contents and resources, and extra objects
// from number 5 on.
QByteArray Pdf(const QByteArray& contents, const QByteArray& resources,
               const QList<QByteArray>& extra = {}, bool compressed = false) {
    const QByteArray stream = compressed ? Deflate(
                                               1, [&](qint64) { return contents; }, false)
                                         : contents;
    QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents 4 0 R /Resources " +
            resources + " >>",
        "<< /Length " + QByteArray::number(stream.size()) +
            (compressed ? " /Filter /FlateDecode" : "") + " >>\nstream\n" + stream + "\nendstream"};
    objects += extra;
    QByteArray out = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype o : offsets)
        out += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

// Forms drawing the form below them ten times, `depth` deep: 10^depth lines.
QByteArray NestedFormsPdf(int depth) {
    QList<QByteArray> forms;
    for (int d = 0; d <= depth; ++d) {
        QByteArray body = "0 0 m 200 100 l S";
        QByteArray resources;
        if (d > 0) {
            body = ("/X" + QByteArray::number(d - 1) + " Do ").repeated(10);
            resources = "/Resources << /XObject << /X" + QByteArray::number(d - 1) + " " +
                        QByteArray::number(5 + d - 1) + " 0 R >> >>";
        }
        forms << "<< /Type /XObject /Subtype /Form /BBox [0 0 200 100] " + resources + " /Length " +
                     QByteArray::number(body.size()) + " >>\nstream\n" + body + "\nendstream";
    }
    return Pdf("/X" + QByteArray::number(depth) + " Do",
               "<< /XObject << /X" + QByteArray::number(depth) + " " +
                   QByteArray::number(5 + depth) + " 0 R >> >>",
               forms);
}

QByteArray LongPathPdf(int segments) {
    QByteArray body = "0 0 m ";
    for (int i = 0; i < segments; ++i)
        body += QByteArray::number(i * 7 % 200) + " " + QByteArray::number(i * 13 % 100) + " l ";
    return Pdf(body + "S", "<< >>", {}, true);
}

QByteArray Svg(const QByteArray& inside, const QByteArray& before = {}) {
    return before +
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"1000\" height=\"500\">"
           "<rect x=\"0\" y=\"0\" width=\"500\" height=\"500\" fill=\"black\"/>" +
           inside + "</svg>";
}

TEST(HostilePicture, IconsLoad) {
    TempDir dir;
    QImage icon(48, 24, QImage::Format_ARGB32);
    icon.fill(QColor(10, 20, 200));
    const auto r = Load(Write(dir, "icoon.ico", Encoded(icon, "ICO")));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.image.size(), kShown);
    EXPECT_EQ(r.image.pixelColor(150, 75).blue(), 200);
}

// Qt SVG opens what an image element names; the loader refuses such a file instead, whether
// the name is absolute, relative or a FIFO that would block it, and reads pictures embedded as
// data only when they are small.
TEST(HostilePicture, SvgNamingAnotherFileIsRefusedWithoutOpeningIt) {
    TempDir dir;
    const QByteArray png = Encoded(QImage(4, 2, QImage::Format_RGB32), "PNG");
    Write(dir, "ander.png", png);
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        const char* name;
        QByteArray href;
    } rows[] = {
        {"absolute", QByteArray::fromStdString(dir.File("ander.png"))},
        {"relative", "ander.png"},
        {"system", "/etc/passwd"},
        {"fifo", QByteArray::fromStdString(fifo)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* attribute : {"href", "xlink:href"}) {
            // A writer on the FIFO notices when the loader opens it, and lets it go on.
            std::atomic<bool> opened = false;
            const bool watch = std::strcmp(row.name, "fifo") == 0;
            std::thread writer([&] {
                for (int i = 0; watch && i < 50 && !opened; ++i) {
                    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0) {
                        opened = true;
                        ::close(fd);
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            });
            const QByteArray svg = Svg(QByteArray("<image ") + attribute + "=\"" + row.href +
                                       "\" x=\"500\" width=\"500\" height=\"500\"/>");
            const auto r = Load(Write(dir, "verwijst.svg", svg));
            writer.join();
            EXPECT_FALSE(opened);
            EXPECT_FALSE(r.ok());
            EXPECT_TRUE(r.error.contains(QLatin1String("refers to another file")))
                << r.error.toStdString();
        }
    }
    // Embedded and small: drawn.
    const auto embedded = Load(Write(dir, "ingebed.svg",
                                     Svg("<image href=\"data:image/png;base64," + png.toBase64() +
                                         "\" x=\"500\" width=\"500\" height=\"500\"/>")));
    EXPECT_TRUE(embedded.ok()) << embedded.error.toStdString();
}

TEST(HostilePicture, SvgIsKnownByItsWholeContentsAndNeverInflated) {
    TempDir dir;
    // The root element after 5 KB of comment: drawn as any SVG, at the size shown, on white.
    const auto late = Load(Write(dir, "laat.svg", Svg({}, "<!--" + QByteArray(5000, 'x') + "-->")));
    ASSERT_TRUE(late.ok()) << late.error.toStdString();
    EXPECT_EQ(late.image.size(), kShown);
    EXPECT_EQ(qAlpha(late.image.pixel(290, 10)), 255);
    EXPECT_GT(qGray(late.image.pixel(290, 10)), 240);
    // Compressed: refused before it is inflated, whatever the name.
    const QByteArray svg = Svg("<line x1=\"0\" y1=\"0\" x2=\"1000\" y2=\"500\" stroke=\"black\"/>");
    const QByteArray svgz = Deflate(
        1, [&](qint64) { return svg; }, true);
    for (const char* name : {"plan.svgz", "plan.svg", "plan.png"}) {
        SCOPED_TRACE(name);
        const auto r = Load(Write(dir, name, svgz));
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.error.contains(QLatin1String("Compressed SVG"))) << r.error.toStdString();
    }
}

TEST(HostilePicture, PdfPagesOverTheBoundAreRefusedNotAborted) {
    TempDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"a billion lines through nested forms", NestedFormsPdf(9)},
        {"one path of 400,000 segments", LongPathPdf(400000)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto r = Load(Write(dir, "zwaar.pdf", row.bytes));
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.error.startsWith(QLatin1String("Afbeelding kan niet gelezen worden")));
        EXPECT_TRUE(r.error.contains(QLatin1String("too long or too much memory")))
            << r.error.toStdString();
    }
    // A thousand lines through the same forms are drawn.
    const auto light = Load(Write(dir, "licht.pdf", NestedFormsPdf(3)));
    ASSERT_TRUE(light.ok()) << light.error.toStdString();
    EXPECT_EQ(light.image.size(), kShown);
}

// A GIF that only claims a 10000 x 10000 screen is refused before it is made. (The memory of
// large pictures shown small is checked on murvex-cli, in a process of its own.)
TEST(HostilePicture, GifClaimingAHugeScreenIsRefused) {
    TempDir dir;
    const QByteArray gif = QByteArray::fromHex(
        "474946383961102710278000000000"
        "00ffffff2c00000000102710270002024401003b");
    const auto r = Load(Write(dir, "scherm.gif", gif));
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QLatin1String("te groot"))) << r.error.toStdString();
}

TEST(HostilePicture, PngIsAveragedToTheSizeShown) {
    const pictures::PngResult half = pictures::DecodePng(HalvesPng(400, 200), QSize(2, 1));
    ASSERT_TRUE(half.ok()) << half.error.toStdString();
    ASSERT_EQ(half.image.size(), QSize(2, 1));
    EXPECT_EQ(half.image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(half.image.pixel(1, 0), qRgb(255, 255, 255));
    // Transparent pixels give no colour to the average; only the alpha thins.
    QImage mixed(2, 1, QImage::Format_ARGB32);
    mixed.setPixel(0, 0, qRgba(200, 0, 0, 255));
    mixed.setPixel(1, 0, qRgba(0, 0, 255, 0));
    const pictures::PngResult one = pictures::DecodePng(Encoded(mixed, "PNG"), QSize(1, 1));
    ASSERT_TRUE(one.ok()) << one.error.toStdString();
    EXPECT_EQ(one.image.pixel(0, 0), qRgba(200, 0, 0, 127));
    // Smaller than shown: its own size; cut short: an error.
    EXPECT_EQ(pictures::DecodePng(HalvesPng(4, 2), kShown).image.size(), QSize(4, 2));
    const QByteArray whole = HalvesPng(64, 64);
    EXPECT_FALSE(pictures::DecodePng(whole.left(whole.size() - 20), kShown).ok());
}

TEST(HostilePicture, VectorPicturesWithTooManyElementsAreRefused) {
    TempDir dir;
    Le lines;
    for (int i = 0; i < 100001; ++i)
        lines.U32(4)
            .U32(44)
            .U32(0)
            .U32(0)
            .U32(1000)
            .U32(500)
            .U32(2)
            .U32(i % 1000)
            .U32(0)
            .U32(999 - i % 1000)
            .U32(499);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* text;
    } rows[] = {
        {"lijnen.svg",
         Svg(QByteArray("<line x1=\"0\" y1=\"0\" x2=\"1000\" y2=\"500\" stroke=\"black\"/>")
                 .repeated(100000)),
         "too many elements"},
        {"lijnen.emf", Emf(lines.bytes_), "too many shapes"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto r = Load(Write(dir, row.name, row.bytes));
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.error.contains(QLatin1String(row.text))) << r.error.toStdString();
    }
}

}  // namespace
}  // namespace murvex::test
