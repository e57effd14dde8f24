// SVG and PDF backgrounds, the content sniffers and the size rules shared with the metafiles.
#include "VectorPictures.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <memory>

#include <poppler-qt6.h>

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

    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for the picture");
        return false;
    }
    image.fill(Qt::white);
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

// Silences poppler's messages on stderr; failures are reported through the return values.
void IgnorePopplerMessage(const QString&, const QVariant&) {}

}  // namespace

bool LooksLikeSvg(const QByteArray& head) {
    const QByteArray start = TrimmedStart(head.left(4096));
    if (!start.startsWith('<')) return false;
    return start.contains("<svg") || start.contains("<svg:svg");
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
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for the picture");
        return false;
    }
    image.fill(Qt::white);
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
    Poppler::setDebugErrorFunction(IgnorePopplerMessage, QVariant());
    std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    if (!document) {
        *error = QStringLiteral("The PDF file cannot be read");
        return false;
    }
    if (document->isLocked()) {
        *error = QStringLiteral("The PDF file is protected with a password");
        return false;
    }
    if (document->numPages() < 1) {
        *error = QStringLiteral("The PDF file has no pages");
        return false;
    }
    std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page) {
        *error = QStringLiteral("The first page of the PDF file cannot be read");
        return false;
    }
    // Points; PDF allows 3 to 14400 user units per side, UserUnit may enlarge them.
    const QSizeF points = page->pageSizeF();
    if (!(points.width() >= 1 && points.height() >= 1 && points.width() <= 1e6 &&
          points.height() <= 1e6)) {
        *error = QStringLiteral("The first page of the PDF file has an impossible size");
        return false;
    }
    const QSize size = detail::FittedSize(points, fit);
    const double xres = 72.0 * size.width() / points.width();
    const double yres = 72.0 * size.height() / points.height();
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    document->setPaperColor(Qt::white);
    // Only the fitted rectangle is rendered, whatever the resolution.
    QImage image = page->renderToImage(xres, yres, 0, 0, size.width(), size.height());
    if (image.isNull()) {
        *error = QStringLiteral("The first page of the PDF file cannot be drawn");
        return false;
    }
    if (image.size() != size) {  // rounding at the page edge
        QImage exact(size, QImage::Format_RGB32);
        exact.fill(Qt::white);
        QPainter painter(&exact);
        painter.drawImage(0, 0, image);
        painter.end();
        image = std::move(exact);
    }
    *out = image.convertToFormat(QImage::Format_RGB32);
    return true;
}

}  // namespace murvex::pictures
