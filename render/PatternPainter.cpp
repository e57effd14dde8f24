// Painting drawn segments through a view with QPainter.
#include "PatternPainter.h"

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <algorithm>
#include <vector>

namespace murvex {

namespace {

// Lines go to the painter in batches: one call per line costs far more than the drawing itself.
constexpr std::size_t kBatch = 4096;

}  // namespace

std::size_t PaintSegments(QPainter& painter, const std::vector<DrawnSegment>& segments,
                          const ViewTransform& view, const QColor& color, double width) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen linePen(color);
    linePen.setWidthF(width);
    linePen.setCapStyle(Qt::FlatCap);
    // A dot one pixel wide would come out pale grey once antialiased: dots get two pixels.
    QPen dotPen(color);
    dotPen.setWidthF(width + 1.0);
    dotPen.setCapStyle(Qt::RoundCap);

    std::vector<QLineF> lines;
    std::vector<QPointF> dots;
    lines.reserve(std::min(segments.size(), kBatch));
    const auto flushLines = [&] {
        if (lines.empty()) return;
        painter.setPen(linePen);
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        lines.clear();
    };
    const auto flushDots = [&] {
        if (dots.empty()) return;
        painter.setPen(dotPen);
        painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
        dots.clear();
    };
    const double shortest2 = kShortSegmentPixels * kShortSegmentPixels;
    for (const DrawnSegment& s : segments) {
        const ViewPoint a = view.ToPixel(s.x1, s.y1);
        const ViewPoint b = view.ToPixel(s.x2, s.y2);
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        if (dx * dx + dy * dy < shortest2) {
            dots.emplace_back((a.x + b.x) / 2, (a.y + b.y) / 2);
            if (dots.size() == kBatch) flushDots();
        } else {
            lines.emplace_back(a.x, a.y, b.x, b.y);
            if (lines.size() == kBatch) flushLines();
        }
    }
    flushLines();
    flushDots();
    painter.restore();
    return segments.size();
}

std::size_t PaintOverlay(QPainter& painter, const std::vector<OverlaySegment>& overlay,
                         const ViewTransform& view) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const OverlaySegment& o : overlay) {
        QPen pen(QColor::fromRgb(static_cast<QRgb>(o.rgb)));
        pen.setWidthF(o.marked ? 3.0 : 2.0);
        pen.setCapStyle(Qt::RoundCap);
        if (o.marked) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        const ViewPoint a = view.ToPixel(o.segment.x1, o.segment.y1);
        const ViewPoint b = view.ToPixel(o.segment.x2, o.segment.y2);
        painter.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
    }
    painter.restore();
    return overlay.size();
}

}  // namespace murvex
