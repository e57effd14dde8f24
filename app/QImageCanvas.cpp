// The figure's drawing surface on a QImage: solid pens without antialiasing and the not-xor
// rubber line.
#include "QImageCanvas.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "FigureModel.h"

namespace murvex::app {
namespace {

QPoint ToPoint(figure::Pixel p) {
    return {p.x, p.y};
}

// Round ends like the screen pens of the window system. One pixel wide is the cosmetic pen,
// single pixels on the painter's fast path.
QPen SolidPen(const QColor& color, int width) {
    if (width <= 1) return QPen(color, 0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Ends within this many pixels of the picture keep the arithmetic below within 64 bits.
constexpr int kDirectLimit = 1 << 28;

// A solid line one pixel wide from a to b, both ends included, into an RGB32 image: on each
// column (or row, for a steep line) the pixel nearest to the line, found step by step without a
// division. Only the columns (rows) inside the image are walked, however far the ends lie. False
// (nothing painted) for an end beyond kDirectLimit.
bool PaintThinLine(QImage& image, QLine line, QRgb colour) {
    for (const int c : {line.x1(), line.y1(), line.x2(), line.y2()}) {
        if (c > kDirectLimit || c < -kDirectLimit) return false;
    }
    const bool steep = std::abs(line.dy()) > std::abs(line.dx());
    // Along the major axis from low to high: u major, v minor.
    long long u0 = steep ? line.y1() : line.x1();
    long long v0 = steep ? line.x1() : line.y1();
    long long u1 = steep ? line.y2() : line.x2();
    long long v1 = steep ? line.x2() : line.y2();
    if (u1 < u0) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const long long uSize = steep ? image.height() : image.width();
    const long long vSize = steep ? image.width() : image.height();
    const long long from = std::max(u0, 0LL);
    const long long to = std::min(u1, uSize - 1);
    if (from > to) return true;
    const long long du = u1 - u0;
    const long long dv = v1 - v0;
    auto* const bits = reinterpret_cast<QRgb*>(image.bits());
    const long long stride = image.bytesPerLine() / static_cast<long long>(sizeof(QRgb));
    const QRgb pixel = 0xff000000u | colour;
    // v = v0 + floor((2 (u - u0) dv + du) / (2 du)): q whole steps and r of 2 du left over.
    const long long twice = 2 * du;
    long long q = 0;
    long long r = 0;
    if (du > 0) {
        const long long n = 2 * (from - u0) * dv + du;
        q = n / twice;
        r = n % twice;
        if (r < 0) {
            r += twice;
            --q;
        }
    }
    for (long long u = from; u <= to; ++u) {
        const long long v = v0 + q;
        if (v >= 0 && v < vSize) bits[steep ? u * stride + v : v * stride + u] = pixel;
        r += 2 * dv;
        while (r >= twice && twice > 0) {
            r -= twice;
            ++q;
        }
        while (r < 0) {
            r += twice;
            --q;
        }
    }
    return true;
}

// A solid line width pixels wide (above 1) with round ends, as the screen's wide pen draws it:
// on each column (row) between the ends the pixels whose centres lie within half the width of
// the line, and a disc of that radius at each end. False (nothing painted) for an end beyond
// kDirectLimit.
bool PaintWideLine(QImage& image, QLine line, QRgb colour, int width) {
    for (const int c : {line.x1(), line.y1(), line.x2(), line.y2()}) {
        if (c > kDirectLimit || c < -kDirectLimit) return false;
    }
    const bool steep = std::abs(line.dy()) > std::abs(line.dx());
    double u0 = steep ? line.y1() : line.x1();
    double v0 = steep ? line.x1() : line.y1();
    double u1 = steep ? line.y2() : line.x2();
    double v1 = steep ? line.x2() : line.y2();
    if (u1 < u0) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const int uSize = steep ? image.height() : image.width();
    const int vSize = steep ? image.width() : image.height();
    auto* const bits = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const QRgb pixel = 0xff000000u | colour;
    const auto run = [&](int u, double low, double high) {
        if (u < 0 || u >= uSize) return;
        const int from = std::max(static_cast<int>(std::ceil(low)), 0);
        const int to = std::min(static_cast<int>(std::floor(high)), vSize - 1);
        for (int v = from; v <= to; ++v)
            bits[steep ? u * stride + v : v * stride + u] = pixel;
    };
    const double radius = width / 2.0;
    const double slope = u1 > u0 ? (v1 - v0) / (u1 - u0) : 0.0;
    const double half = radius * std::sqrt(1 + slope * slope);
    const int from = static_cast<int>(std::max(u0, 0.0));
    const int to = static_cast<int>(std::min(u1, uSize - 1.0));
    for (int u = from; u <= to; ++u) {
        const double v = v0 + (u - u0) * slope;
        run(u, v - half, v + half);
    }
    for (const auto& [cu, cv] : {std::pair{u0, v0}, std::pair{u1, v1}}) {
        const int reach = static_cast<int>(radius);
        for (int du = -reach; du <= reach; ++du) {
            const double dv = std::sqrt(radius * radius - du * du);
            run(static_cast<int>(cu) + du, cv - dv, cv + dv);
        }
    }
    return true;
}

}  // namespace

QImageCanvas::QImageCanvas() {
    SetSize(figure::kStartPanelSize - 2, figure::kStartPanelSize - 2);
    FillWhite();
}

QImageCanvas::~QImageCanvas() {
    EndPainting();
}

const QImage& QImageCanvas::Image() const {
    EndPainting();
    return image_;
}

QPainter& QImageCanvas::Painter() const {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setPen(SolidPen(penColor_, penWidth_));
    }
    return *painter_;
}

void QImageCanvas::PaintPendingLines() const {
    if (pending_.isEmpty()) return;
    // The painter's own lines cost tens of nanoseconds a pixel: a redraw of ten thousand rows
    // would take most of a frame. The painter lets go of the pixels first.
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
    const QRgb colour = penColor_.rgb();
    QVector<QLine> far;
    for (const QLine& line : pending_) {
        const bool painted = penWidth_ > 1 ? PaintWideLine(image_, line, colour, penWidth_)
                                           : PaintThinLine(image_, line, colour);
        if (!painted) far.append(line);
    }
    if (!far.isEmpty()) Painter().drawLines(far);
    pending_.clear();
}

void QImageCanvas::EndPainting() const {
    PaintPendingLines();
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

void QImageCanvas::SetSize(int width, int height) {
    pending_.clear();  // painted over anyway
    EndPainting();
    // The raster operations of the rubber line work on 32-bit pixels without alpha.
    image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
}

void QImageCanvas::FillWhite() {
    pending_.clear();  // painted over anyway
    EndPainting();
    image_.fill(Qt::white);
    penColor_ = Qt::black;
}

void QImageCanvas::SetPenColor(figure::PenColor color) {
    const QColor next = color == figure::PenColor::Red ? QColor(255, 0, 0) : QColor(0, 0, 0);
    if (next == penColor_) return;
    PaintPendingLines();
    penColor_ = next;
    if (painter_) painter_->setPen(SolidPen(penColor_, penWidth_));
}

void QImageCanvas::SetPenWidth(int width) {
    if (std::max(width, 1) == penWidth_) return;
    PaintPendingLines();
    penWidth_ = std::max(width, 1);
    if (painter_) painter_->setPen(SolidPen(penColor_, penWidth_));
}

void QImageCanvas::MoveTo(figure::Pixel p) {
    position_ = p;
}

void QImageCanvas::LineTo(figure::Pixel p) {
    pending_.append(QLine(ToPoint(position_), ToPoint(p)));
    position_ = p;
}

void QImageCanvas::NotXorLine(figure::Pixel from, figure::Pixel to) {
    PaintPendingLines();
    QPainter& painter = Painter();
    // Not (source) xor destination with a black pen inverts every covered pixel once, so the
    // same line drawn again gives the picture back.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(SolidPen(Qt::black, penWidth_));
    painter.drawLine(ToPoint(from), ToPoint(to));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(SolidPen(penColor_, penWidth_));
}

}  // namespace murvex::app
