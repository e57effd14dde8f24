// SVG and PDF backgrounds, the content sniffers and the size rules shared with the metafiles.
#include "VectorPictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include <poppler-qt6.h>

#include "BoundedRun.h"
#include "MetafileDrawing.h"

namespace murvex::pictures {
namespace detail {

bool CheckTarget(QSize fit, QString* error) {
    if (fit.width() < 1 || fit.height() < 1 || fit.width() > kMaxSide || fit.height() > kMaxSide ||
        static_cast<long long>(fit.width()) * fit.height() > kMaxPixels) {
        *error = QStringLiteral("The picture cannot be shown at %1 x %2 pixels")
                     .arg(fit.width())
                     .arg(fit.height());
        return false;
    }
    return true;
}

QSize FittedSize(QSizeF natural, QSize fit) {
    const double w = natural.width();
    const double h = natural.height();
    if (!std::isfinite(w) || !std::isfinite(h) || w < 0 || h < 0 || (w <= 0 && h <= 0) ||
        fit.isEmpty())
        return {};
    // A side of 0 (a single horizontal or vertical line) follows the other side alone.
    const double sx = w > 0 ? fit.width() / w : HUGE_VAL;
    const double sy = h > 0 ? fit.height() / h : HUGE_VAL;
    const double s = std::min(sx, sy);
    const auto side = [](double v, int limit) {
        return std::clamp(static_cast<int>(std::lround(std::min(v, 1e9))), 1, limit);
    };
    return {side(w * s, fit.width()), side(h * s, fit.height())};
}

// A white picture of size to draw on; a null image, with the error text, when there is no
// memory for it.
QImage WhitePicture(QSize size, QString* error) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for the picture");
        return image;
    }
    image.fill(Qt::white);
    return image;
}

bool RenderDrawing(const Drawing& drawing, QSize fit, QImage* out, QString* error) {
    if (drawing.tooComplex) {
        *error = QStringLiteral("The metafile has too many shapes to be shown");
        return false;
    }
    QRectF bounds;
    bool any = false;
    for (const Shape& shape : drawing.shapes) {
        if ((!shape.stroke && !shape.fill) || shape.path.isEmpty()) continue;
        QRectF r = shape.path.boundingRect();
        if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !std::isfinite(r.width()) ||
            !std::isfinite(r.height()))
            continue;
        if (shape.stroke && shape.penWidth > 0) {
            const double half = shape.penWidth / 2;
            r.adjust(-half, -half, half, half);
        }
        bounds = any ? bounds.united(r) : r;
        any = true;
    }
    if (!any) {
        *error = QStringLiteral("The metafile contains nothing that can be drawn");
        return false;
    }
    const QSize size = FittedSize(bounds.size(), fit);
    if (size.isEmpty()) {
        *error = QStringLiteral("The metafile's drawing has no size");
        return false;
    }
    const double sx = bounds.width() > 0 ? size.width() / bounds.width() : HUGE_VAL;
    const double sy = bounds.height() > 0 ? size.height() / bounds.height() : HUGE_VAL;
    const double s = std::min(sx, sy);
    QTransform toImage;
    toImage.translate((size.width() - bounds.width() * s) / 2,
                      (size.height() - bounds.height() * s) / 2);
    toImage.scale(s, s);
    toImage.translate(-bounds.left(), -bounds.top());

    QImage image = WhitePicture(size, error);
    if (image.isNull()) return false;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Shape& shape : drawing.shapes) {
        if ((!shape.stroke && !shape.fill) || shape.path.isEmpty()) continue;
        const QPainterPath path = toImage.map(shape.path);
        if (shape.fill) painter.fillPath(path, shape.brushColor);
        if (shape.stroke) {
            // Hairlines and thin pens stay visible: at least one image pixel.
            QPen pen(shape.penColor, std::max(1.0, shape.penWidth * s));
            pen.setCapStyle(Qt::FlatCap);
            painter.strokePath(path, pen);
        }
    }
    painter.end();
    *out = std::move(image);
    return true;
}

}  // namespace detail

namespace {

// The part of `head` after a UTF-8 byte order mark and leading white space.
QByteArray TrimmedStart(const QByteArray& head) {
    qsizetype i = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < head.size() &&
           (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    return head.mid(i);
}

bool IsGzip(const QByteArray& data) {
    return data.startsWith("\x1F\x8B");
}

// Qt SVG keeps every element as a node and draws them one by one: a million lines take seconds
// and most of a gigabyte. More elements than this are refused before Qt SVG parses any.
constexpr qint64 kMaxSvgElements = 100'000;
// Pictures embedded in an SVG (data: addresses) are decoded whole by Qt SVG.
constexpr qint64 kMaxSvgImagePixels = 16LL * 1000LL * 1000LL;

// The raster picture in a data: address when it is one Qt SVG may decode within the bound:
// base64, a raster format recognised by its signature (never SVG again), a size that is known
// before decoding. Returns its pixels, or -1.
qint64 EmbeddedPicturePixels(QStringView address) {
    const qsizetype comma = address.indexOf(QLatin1Char(','));
    if (comma < 0 || !address.left(comma).contains(QLatin1String(";base64"), Qt::CaseInsensitive))
        return -1;
    QByteArray bytes = QByteArray::fromBase64(address.mid(comma + 1).toLatin1());
    const char* format = nullptr;
    if (bytes.startsWith("\x89PNG\r\n\x1A\n")) format = "png";
    if (bytes.startsWith("\xFF\xD8\xFF")) format = "jpeg";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) format = "gif";
    if (bytes.startsWith("BM")) format = "bmp";
    if (!format) return -1;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isEmpty()) return -1;
    return static_cast<qint64>(size.width()) * size.height();
}

// Reads the SVG as XML before Qt SVG does: its root must be an svg element, it must not name
// any other file (Qt SVG would open what an image element names, a FIFO or /dev/stdin included,
// and an external entity is another file too), pictures embedded in it are bounded, and so is
// the number of elements. False with the reason otherwise.
bool CheckSvgContent(const QByteArray& data, QString* error) {
    QXmlStreamReader xml(data);
    qint64 elements = 0;
    qint64 embeddedPixels = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            for (const QXmlStreamEntityDeclaration& entity : xml.entityDeclarations()) {
                if (!entity.systemId().isEmpty() || !entity.publicId().isEmpty()) {
                    *error = QStringLiteral("The SVG file refers to another file");
                    return false;
                }
            }
        }
        if (token != QXmlStreamReader::StartElement) continue;
        if (++elements > kMaxSvgElements) {
            *error = QStringLiteral("The SVG picture has too many elements to be shown");
            return false;
        }
        if (elements == 1 && xml.name() != QLatin1String("svg")) {
            *error = QStringLiteral("The file is not an SVG picture");
            return false;
        }
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            if (attribute.name() != QLatin1String("href")) continue;
            const QStringView target = attribute.value().trimmed();
            if (target.startsWith(QLatin1Char('#')) || xml.name() == QLatin1String("a")) continue;
            if (xml.name() == QLatin1String("image") &&
                target.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) {
                const qint64 pixels = EmbeddedPicturePixels(target);
                if (pixels < 0 || pixels > kMaxSvgImagePixels - embeddedPixels) {
                    *error = QStringLiteral(
                        "A picture embedded in the SVG file cannot be read or is too large");
                    return false;
                }
                embeddedPixels += pixels;
                continue;
            }
            *error = QStringLiteral("The SVG file refers to another file: %1")
                         .arg(target.left(200).toString());
            return false;
        }
    }
    if (xml.hasError() || elements == 0) {
        *error = QStringLiteral("The SVG file is damaged or incomplete");
        return false;
    }
    return true;
}

// Silences poppler's messages on stderr; failures are reported through the return values.
void IgnorePopplerMessage(const QString&, const QVariant&) {}

// A PDF page is drawn in a bounded run: a few kilobytes of nested forms, tiling patterns or one
// long path can keep poppler busy for minutes or make it take gigabytes, and poppler ends the
// process when an allocation fails.
constexpr BoundedLimits kPdfLimits{std::chrono::milliseconds(4000), 256u * 1024u * 1024u};

// The result of the bounded PDF run: a header, then the pixels (RGB32 rows of the fitted width).
enum PdfOutcome : std::int32_t {
    kPdfDrawn = 1,
    kPdfUnreadable,
    kPdfLocked,
    kPdfNoPages,
    kPdfNoPage,
    kPdfBadSize,
    kPdfNotDrawn
};
struct PdfHeader {
    std::int32_t outcome;
    std::int32_t width;
    std::int32_t height;
    std::int32_t reserved;
};

QString PdfOutcomeText(std::int32_t outcome) {
    switch (outcome) {
        case kPdfLocked:
            return QStringLiteral("The PDF file is protected with a password");
        case kPdfNoPages:
            return QStringLiteral("The PDF file has no pages");
        case kPdfNoPage:
            return QStringLiteral("The first page of the PDF file cannot be read");
        case kPdfBadSize:
            return QStringLiteral("The first page of the PDF file has an impossible size");
        case kPdfNotDrawn:
            return QStringLiteral("The first page of the PDF file cannot be drawn");
        default:
            return QStringLiteral("The PDF file cannot be read");
    }
}

struct Deadline {
    std::chrono::steady_clock::time_point end;
};

bool PastDeadline(const QVariant& payload) {
    return std::chrono::steady_clock::now() >=
           static_cast<const Deadline*>(payload.value<void*>())->end;
}

// The input of the bounded PDF run: the size to fit, then the file's bytes.
struct PdfInput {
    std::int32_t width;
    std::int32_t height;
};

// Runs inside the bounded run: the first page drawn to fit, into `out` (room for the header and
// the pixels at the fit size, as RenderPdf makes it).
bool DrawFirstPdfPage(std::span<const unsigned char> input, std::span<unsigned char> out) {
    PdfInput given{};
    if (input.size() < sizeof given) return false;
    std::memcpy(&given, input.data(), sizeof given);
    const QSize fit(given.width, given.height);
    if (fit.isEmpty() ||
        out.size() < sizeof(PdfHeader) + 4 * static_cast<std::size_t>(fit.width()) * fit.height())
        return false;
    const auto data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(input.data()) + sizeof given,
                                static_cast<qsizetype>(input.size() - sizeof given));
    PdfHeader header{kPdfUnreadable, 0, 0, 0};
    const auto finish = [&](std::int32_t outcome) {
        header.outcome = outcome;
        std::memcpy(out.data(), &header, sizeof header);
        return true;
    };
    // Poppler stops drawing a little before the run is stopped, so that a slow page usually
    // ends as a clean refusal.
    Deadline deadline{std::chrono::steady_clock::now() + kPdfLimits.time * 3 / 4};
    Poppler::setDebugErrorFunction(IgnorePopplerMessage, QVariant());
    std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    if (!document) return finish(kPdfUnreadable);
    if (document->isLocked()) return finish(kPdfLocked);
    if (document->numPages() < 1) return finish(kPdfNoPages);
    std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page) return finish(kPdfNoPage);
    // Points; PDF allows 3 to 14400 user units per side, UserUnit may enlarge them.
    const QSizeF points = page->pageSizeF();
    if (!(points.width() >= 1 && points.height() >= 1 && points.width() <= 1e6 &&
          points.height() <= 1e6))
        return finish(kPdfBadSize);
    const QSize size = detail::FittedSize(points, fit);
    const double xres = 72.0 * size.width() / points.width();
    const double yres = 72.0 * size.height() / points.height();
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    document->setPaperColor(Qt::white);
    // Only the fitted rectangle is rendered, whatever the resolution.
    const QImage image = page->renderToImage(xres, yres, 0, 0, size.width(), size.height(),
                                             Poppler::Page::Rotate0, nullptr, nullptr, PastDeadline,
                                             QVariant::fromValue(static_cast<void*>(&deadline)));
    if (image.isNull() || PastDeadline(QVariant::fromValue(static_cast<void*>(&deadline))))
        return finish(kPdfNotDrawn);
    // Rounding at the page edge can leave the image a pixel short: the rest stays white. The
    // rows are copied by hand: Qt's conversions may hand work to threads, which a bounded run
    // must not wait for.
    const QImage rgb = image.depth() == 32 ? image : image.convertToFormat(QImage::Format_RGB32);
    const std::size_t row = 4 * static_cast<std::size_t>(size.width());
    unsigned char* pixels = out.data() + sizeof header;
    std::memset(pixels, 0xFF, row * static_cast<std::size_t>(size.height()));
    const std::size_t copied = 4 * static_cast<std::size_t>(std::min(rgb.width(), size.width()));
    for (int y = 0; y < std::min(rgb.height(), size.height()); ++y) {
        auto* target = reinterpret_cast<QRgb*>(pixels + row * static_cast<std::size_t>(y));
        std::memcpy(target, rgb.constScanLine(y), copied);
        // Poppler's premultiplied pixels on white paper are opaque; keep them so.
        for (std::size_t x = 0; x < copied / 4; ++x)
            target[x] |= 0xFF000000u;
    }
    header.width = size.width();
    header.height = size.height();
    return finish(kPdfDrawn);
}
const BoundedWork kDrawFirstPdfPage = RegisterBoundedWork("pdf-first-page", DrawFirstPdfPage);

}  // namespace

bool LooksLikeSvg(const QByteArray& data) {
    // The whole file: a long comment or DOCTYPE may come before the root element.
    if (!TrimmedStart(data.left(64)).startsWith('<')) return false;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == QLatin1String("svg");
    }
    return false;
}

bool LooksLikePdf(const QByteArray& head) {
    // Readers accept the marker anywhere in the first kilobyte, after junk from mail gateways.
    return head.left(1024).contains("%PDF-");
}

bool RenderSvg(const QByteArray& data, QSize fit, QImage* out, QString* error) {
    if (!detail::CheckTarget(fit, error)) return false;
    // Qt SVG would inflate compressed data without a bound.
    if (IsGzip(data)) {
        *error = QStringLiteral("Compressed SVG files (.svgz) are not supported");
        return false;
    }
    if (!LooksLikeSvg(data)) {
        *error = QStringLiteral("The file is not an SVG picture");
        return false;
    }
    if (!CheckSvgContent(data, error)) return false;
    QSvgRenderer renderer;
    // Qt SVG refuses XML that is not well formed, so a file cut short fails here.
    if (!renderer.load(data) || !renderer.isValid()) {
        *error = QStringLiteral("The SVG file is damaged or incomplete");
        return false;
    }
    QRectF box = renderer.viewBoxF();
    if (box.isEmpty()) box = QRectF(QPointF(0, 0), QSizeF(renderer.defaultSize()));
    const QSize size = detail::FittedSize(box.size(), fit);
    if (size.isEmpty()) {
        *error = QStringLiteral("The SVG picture has no size");
        return false;
    }
    QImage image = detail::WhitePicture(size, error);
    if (image.isNull()) return false;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    *out = std::move(image);
    return true;
}

bool RenderPdf(const QByteArray& data, QSize fit, QImage* out, QString* error) {
    if (!detail::CheckTarget(fit, error)) return false;
    if (!LooksLikePdf(data)) {
        *error = QStringLiteral("The file is not a PDF document");
        return false;
    }
    // Poppler rebuilds a damaged cross-reference table and would show part of a cut-off file; a
    // complete file ends with %%EOF (readers allow trailing junk within the last kilobyte).
    if (!data.right(1024).contains("%%EOF")) {
        *error = QStringLiteral("The PDF file is incomplete");
        return false;
    }
    const std::size_t bytes =
        sizeof(PdfHeader) + 4 * static_cast<std::size_t>(fit.width()) * fit.height();
    std::vector<unsigned char> input(sizeof(PdfInput) + static_cast<std::size_t>(data.size()));
    const PdfInput given{fit.width(), fit.height()};
    std::memcpy(input.data(), &given, sizeof given);
    std::memcpy(input.data() + sizeof given, data.constData(),
                static_cast<std::size_t>(data.size()));
    std::vector<unsigned char> result;
    const BoundedStatus status = RunBounded(kPdfLimits, kDrawFirstPdfPage, input, bytes, &result);
    if (status == BoundedStatus::OverTime || status == BoundedStatus::OverMemory) {
        *error = QStringLiteral("The PDF page takes too long or too much memory to draw");
        return false;
    }
    PdfHeader header{};
    if (status == BoundedStatus::Done) std::memcpy(&header, result.data(), sizeof header);
    if (status != BoundedStatus::Done || header.outcome != kPdfDrawn) {
        *error = PdfOutcomeText(header.outcome);
        return false;
    }
    if (header.width < 1 || header.height < 1 || header.width > fit.width() ||
        header.height > fit.height()) {
        *error = PdfOutcomeText(kPdfNotDrawn);
        return false;
    }
    QImage image(header.width, header.height, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for the picture");
        return false;
    }
    const std::size_t row = 4 * static_cast<std::size_t>(header.width);
    for (int y = 0; y < header.height; ++y)
        std::memcpy(image.scanLine(y), result.data() + sizeof header + row * y, row);
    *out = std::move(image);
    return true;
}

}  // namespace murvex::pictures
