// Background pictures of the figure canvas: a picture file read into an image that fits the
// canvas.
#include "BackgroundPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QStringList>

#include "JpegDecoder.h"
#include "VectorPictures.h"

namespace murvex::pictures {
namespace {

// Larger files are not read into memory: 100 megapixels of uncompressed 32-bit pixels.
constexpr qint64 kMaxFileBytes = 4 * kMaxPicturePixels;
constexpr int kMaxDecodeMegabytes = static_cast<int>(8 * kMaxPicturePixels / (1024 * 1024)) + 1;

QString TooLargeText(const QString& path) {
    return QStringLiteral("Afbeelding is te groot (meer dan 100 megapixels): %1").arg(path);
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

bool TooManyPixels(QSize size) {
    return static_cast<qint64>(size.width()) * size.height() > kMaxPicturePixels;
}

BackgroundPictureResult Failure(QString text) {
    return {QImage(), std::move(text)};
}

BackgroundPictureResult DecodeJpegPicture(QByteArray bytes, const QString& path, QSize) {
    const QSize size = JpegSize(bytes);
    if (size.isEmpty()) return Failure(NotReadableText(path));
    if (TooManyPixels(size)) return Failure(TooLargeText(path));
    JpegResult jpeg = DecodeJpeg(bytes);
    if (!jpeg.ok()) return Failure(NotReadableText(path) + QStringLiteral("\n") + jpeg.error);
    return {std::move(jpeg.image), QString()};
}

BackgroundPictureResult DecodeWithQt(QByteArray bytes, const QString& path, QSize) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Qt's default limit would refuse pictures this loader accepts. The size a reader reports
    // before decoding is not always the size it decodes (a GIF's first frame against its screen),
    // so the decoding itself is bounded too: 100 megapixels at up to 8 bytes each.
    reader.setAllocationLimit(kMaxDecodeMegabytes);
    const QSize size = reader.size();
    if (!reader.canRead() || size.isEmpty()) return Failure(NotReadableText(path));
    if (TooManyPixels(size)) return Failure(TooLargeText(path));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return Failure(NotReadableText(path) + QStringLiteral("\n") + reader.errorString());
    }
    if (TooManyPixels(image.size())) return Failure(TooLargeText(path));
    return {std::move(image), QString()};
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

bool AnyBytes(const QByteArray&) {
    return true;
}

// The formats the loader knows, tried in this order: the first row whose test accepts the
// file's first bytes decodes it. A new format family is one more row with its test, its
// decoder and its file name patterns.
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
    {LooksLikeSvg, DecodeVector<RenderSvg>, "*.svg"},
    {LooksLikePdf, DecodeVector<RenderPdf>, "*.pdf"},
    // Bitmap, icon, PNG, GIF and TIFF, recognised by Qt's image readers from their contents.
    {AnyBytes, DecodeWithQt, "*.bmp *.ico *.png *.gif *.tif *.tiff"},
};

}  // namespace

QString BackgroundPictureMask() {
    QStringList masks;
    for (const FormatRow& row : kFormats)
        masks << QString::fromLatin1(row.masks);
    return masks.join(QLatin1Char(' '));
}

BackgroundPictureResult LoadBackgroundPicture(const QString& path, QSize fit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Failure(NotReadableText(path));
    if (file.size() > kMaxFileBytes) return Failure(TooLargeText(path));
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) return Failure(NotReadableText(path));

    BackgroundPictureResult result = Failure(NotReadableText(path));
    for (const FormatRow& row : kFormats) {
        if (row.matches(bytes)) {
            result = row.decode(bytes, path, fit);
            break;
        }
    }
    if (!result.ok()) return result;
    if (!fit.isEmpty()) {
        result.image = result.image.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return result;
}

}  // namespace murvex::pictures
