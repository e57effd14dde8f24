// Background pictures of the figure canvas: a picture file read into an image that fits the
// canvas.
#include "BackgroundPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#include "JpegDecoder.h"
#include "PngDecoder.h"
#include "VectorPictures.h"

namespace murvex::pictures {
namespace {

// Larger files are not read: every format the loader knows stores 100 megapixels in less, and
// the bytes are held in memory while the picture is decoded.
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
// The formats Qt decodes only at their full size (bitmap, GIF, TIFF, icon, interlaced PNG) are
// held as 32-bit pixels before they are scaled down; this bounds that image.
constexpr qint64 kMaxFullDecodePixels = 40LL * 1000LL * 1000LL;
constexpr int kMaxDecodeMegabytes = static_cast<int>(4 * kMaxFullDecodePixels / (1024 * 1024)) + 1;

QString TooLargeText(const QString& path, qint64 pixels = kMaxPicturePixels) {
    return QStringLiteral("Afbeelding is te groot (meer dan %1 megapixels): %2")
        .arg(pixels / 1000000)
        .arg(path);
}

QString NotReadableText(const QString& path) {
    return QStringLiteral("Afbeelding kan niet gelezen worden: %1").arg(path);
}

bool IsJpeg(const QByteArray& bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// The picture size from a JPEG's start-of-frame marker, without decoding; empty when the
// markers end before it.
QSize JpegSize(const QByteArray& bytes) {
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    qsizetype i = 2;
    while (i + 3 < bytes.size()) {
        if (at(i) != 0xFF) return {};
        const unsigned char marker = at(i + 1);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            i += 2;
            continue;
        }
        const int length = (at(i + 2) << 8) | at(i + 3);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (i + 8 >= bytes.size()) return {};
            const int height = (at(i + 5) << 8) | at(i + 6);
            const int width = (at(i + 7) << 8) | at(i + 8);
            return {width, height};
        }
        if (length < 2) return {};
        i += 2 + length;
    }
    return {};
}

bool TooManyPixels(QSize size, qint64 limit = kMaxPicturePixels) {
    return static_cast<qint64>(size.width()) * size.height() > limit;
}

// The size a picture of `size` is shown at within fit (its own size without a fit).
QSize ShownSize(QSize size, QSize fit) {
    if (fit.isEmpty()) return size;
    return size.scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

BackgroundPictureResult Failure(QString text) {
    return {QImage(), std::move(text)};
}

BackgroundPictureResult DecodeJpegPicture(QByteArray bytes, const QString& path, QSize fit) {
    const QSize size = JpegSize(bytes);
    if (size.isEmpty()) return Failure(NotReadableText(path));
    if (TooManyPixels(size)) return Failure(TooLargeText(path));
    JpegResult jpeg = DecodeJpeg(bytes, ShownSize(size, fit));
    if (!jpeg.ok()) return Failure(NotReadableText(path) + QStringLiteral("\n") + jpeg.error);
    return {std::move(jpeg.image), QString()};
}

// A PNG is reduced to the size shown while it is read; an interlaced one is not (its rows come
// in passes), and goes to Qt's reader with the full-size bound.
BackgroundPictureResult DecodePngPicture(QByteArray bytes, const QString& path, QSize fit);

// Qt's readers for the raster formats other than JPEG, each chosen by its signature, so that no
// other of Qt's image plugins (its SVG reader above all, which inflates .svgz without a bound)
// ever sees the bytes.
const char* QtFormat(const QByteArray& b) {
    if (b.startsWith("\x89PNG\r\n\x1A\n")) return "png";
    if (b.startsWith("BM")) return "bmp";
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a")) return "gif";
    if (b.startsWith(QByteArray("II*\0", 4)) || b.startsWith(QByteArray("MM\0*", 4))) return "tiff";
    // An icon or cursor directory: reserved 0, type 1 or 2, at least one entry.
    if (b.size() >= 6 && b[0] == 0 && b[1] == 0 && (b[2] == 1 || b[2] == 2) && b[3] == 0 &&
        (b[4] != 0 || b[5] != 0))
        return "ico";
    return nullptr;
}

bool IsQtRaster(const QByteArray& bytes) {
    return QtFormat(bytes) != nullptr;
}

BackgroundPictureResult DecodeWithQt(QByteArray bytes, const QString& path, QSize) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QtFormat(bytes));
    reader.setDecideFormatFromContent(false);
    // Qt's default limit would refuse pictures this loader accepts. The size a reader reports
    // before decoding is not always the size it decodes (a GIF's first frame against its screen),
    // so the decoding itself is bounded too.
    reader.setAllocationLimit(kMaxDecodeMegabytes);
    // The icon reader answers nothing more once it was asked for the size first.
    if (!reader.canRead()) return Failure(NotReadableText(path));
    const QSize size = reader.size();
    if (size.isEmpty()) return Failure(NotReadableText(path));
    if (TooManyPixels(size)) return Failure(TooLargeText(path));
    // Qt decodes at the full size and scales afterwards, even where it offers a scaled size.
    if (TooManyPixels(size, kMaxFullDecodePixels))
        return Failure(TooLargeText(path, kMaxFullDecodePixels));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return Failure(NotReadableText(path) + QStringLiteral("\n") + reader.errorString());
    }
    if (TooManyPixels(image.size())) return Failure(TooLargeText(path));
    return {std::move(image), QString()};
}

BackgroundPictureResult DecodePngPicture(QByteArray bytes, const QString& path, QSize fit) {
    if (PngInterlaced(bytes)) return DecodeWithQt(std::move(bytes), path, fit);
    const QSize size = PngSize(bytes);
    if (size.isEmpty()) return Failure(NotReadableText(path));
    if (TooManyPixels(size)) return Failure(TooLargeText(path));
    PngResult png = DecodePng(bytes, ShownSize(size, fit));
    if (!png.ok()) return Failure(NotReadableText(path) + QStringLiteral("\n") + png.error);
    return {std::move(png.image), QString()};
}

bool IsPng(const QByteArray& bytes) {
    return bytes.startsWith("\x89PNG\r\n\x1A\n");
}

// Without a size to fit, a vector picture is drawn this large.
constexpr QSize kVectorDefaultSize(1000, 1000);

// A vector picture is drawn at the size it is shown, not drawn small and enlarged.
template <bool (*Render)(const QByteArray&, QSize, QImage*, QString*)>
BackgroundPictureResult DecodeVector(QByteArray bytes, const QString& path, QSize fit) {
    QImage image;
    QString error;
    if (!Render(bytes, fit.isEmpty() ? kVectorDefaultSize : fit, &image, &error)) {
        return Failure(NotReadableText(path) + QStringLiteral("\n") + error);
    }
    return {std::move(image), QString()};
}

// gzip: a compressed SVG (.svgz). Its size once inflated is unknown until it is inflated.
bool IsGzip(const QByteArray& bytes) {
    return bytes.startsWith("\x1F\x8B");
}

BackgroundPictureResult RefuseCompressed(QByteArray, const QString& path, QSize) {
    return Failure(NotReadableText(path) + QStringLiteral("\n") +
                   QStringLiteral("Compressed SVG files (.svgz) are not supported"));
}

// The formats the loader knows, tried in this order: the first row whose test accepts the
// file's contents decodes it. A new format family is one more row with its test, its decoder
// and its file name patterns.
struct FormatRow {
    bool (*matches)(const QByteArray& bytes);
    // fit: the size the picture will be shown at (empty: its own size)
    BackgroundPictureResult (*decode)(QByteArray bytes, const QString& path, QSize fit);
    const char* masks;  // file name patterns offered by the open dialog
};

constexpr FormatRow kFormats[] = {
    {IsJpeg, DecodeJpegPicture, "*.jpg *.jpeg"},
    {LooksLikeWmf, DecodeVector<RenderWmf>, "*.wmf"},
    {LooksLikeEmf, DecodeVector<RenderEmf>, "*.emf"},
    {IsPng, DecodePngPicture, "*.png"},
    {IsQtRaster, DecodeWithQt, "*.bmp *.ico *.gif *.tif *.tiff"},
    {LooksLikePdf, DecodeVector<RenderPdf>, "*.pdf"},
    {IsGzip, RefuseCompressed, ""},
    {LooksLikeSvg, DecodeVector<RenderSvg>, "*.svg"},
};

}  // namespace

QString BackgroundPictureMask() {
    QStringList masks;
    for (const FormatRow& row : kFormats)
        if (*row.masks) masks << QString::fromLatin1(row.masks);
    return masks.join(QLatin1Char(' '));
}

BackgroundPictureResult LoadBackgroundPicture(const QString& path, QSize fit) {
    // Only a regular file: opening a FIFO or a device would wait for a writer or never end.
    const QFileInfo info(path);
    if (!info.isFile()) return Failure(NotReadableText(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Failure(NotReadableText(path));
    if (file.size() > kMaxFileBytes) {
        return Failure(QStringLiteral("Afbeelding is te groot (meer dan %1 MB): %2")
                           .arg(kMaxFileBytes / (1024 * 1024))
                           .arg(path));
    }
    // One byte more than the size: a file that grows meanwhile is not taken half.
    const QByteArray bytes = file.read(file.size() + 1);
    if (bytes.size() != file.size()) return Failure(NotReadableText(path));

    BackgroundPictureResult result = Failure(NotReadableText(path));
    for (const FormatRow& row : kFormats) {
        if (row.matches(bytes)) {
            result = row.decode(bytes, path, fit);
            break;
        }
    }
    if (!result.ok()) return result;
    if (!fit.isEmpty() && result.image.size() != ShownSize(result.image.size(), fit)) {
        result.image = result.image.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return result;
}

}  // namespace murvex::pictures
