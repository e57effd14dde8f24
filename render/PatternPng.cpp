// The PNG picture of a pattern. Qt rasterises one antialiased disc in about a microsecond and
// batching them into one path or one drawPoints call saves nothing: the cost is the shape, not
// the call. Dots therefore are rasterised once per sub-pixel place and blended into the image
// with the same arithmetic as Qt's solid fill.
#include "PatternPng.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

namespace murvex {

namespace {

// The pixels a disc can touch, with a margin for any sub-pixel place.
constexpr int kStampSide = 2 * static_cast<int>(kPngDotRadius) + 3;
constexpr int kStampCentre = kStampSide / 2;

using Stamp = std::array<std::uint8_t, kStampSide * kStampSide>;  // coverage 0..255

// x * a / 255 on each byte of a pixel, rounded as Qt's raster engine rounds it.
std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t t = (x & 0xff00ffu) * a;
    t = ((t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = (x + ((x >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return x | t;
}

// The coverage of a disc at each sub-pixel place, made by Qt on first use.
class DotStamps {
  public:
    DotStamps() : scratch_(kStampSide, kStampSide, QImage::Format_RGB32) {}

    const Stamp& At(int stepX, int stepY) {
        std::unique_ptr<Stamp>& stamp =
            stamps_[static_cast<std::size_t>(stepY * kDotSteps + stepX)];
        if (!stamp) {
            stamp = std::make_unique<Stamp>();
            scratch_.fill(Qt::white);
            {
                QPainter painter(&scratch_);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::black);
                painter.drawEllipse(QPointF(kStampCentre + static_cast<double>(stepX) / kDotSteps,
                                            kStampCentre + static_cast<double>(stepY) / kDotSteps),
                                    kPngDotRadius, kPngDotRadius);
            }
            // Black over white leaves 255 - coverage in every channel.
            for (int y = 0; y < kStampSide; ++y) {
                for (int x = 0; x < kStampSide; ++x)
                    (*stamp)[static_cast<std::size_t>(y * kStampSide + x)] =
                        static_cast<std::uint8_t>(255 - qRed(scratch_.pixel(x, y)));
            }
            ++made_;
        }
        return *stamp;
    }

    std::size_t Made() const { return made_; }

  private:
    QImage scratch_;
    std::array<std::unique_ptr<Stamp>, kDotSteps * kDotSteps> stamps_;
    std::size_t made_ = 0;
};

// Blends a black disc centred at pixel coordinates (x, y) into the RGB32 image, its coverage
// taken alpha / 255 times.
void PaintDot(QImage& image, unsigned char* bits, double x, double y, DotStamps& stamps,
              std::uint32_t alpha) {
    double fx = std::floor(x);
    double fy = std::floor(y);
    int stepX = static_cast<int>(std::lround((x - fx) * kDotSteps));
    int stepY = static_cast<int>(std::lround((y - fy) * kDotSteps));
    if (stepX == kDotSteps) {
        stepX = 0;
        fx += 1;
    }
    if (stepY == kDotSteps) {
        stepY = 0;
        fy += 1;
    }
    const double left = fx - kStampCentre;
    const double top = fy - kStampCentre;
    // Far outside (or not finite): nothing to paint, and no cast of a huge double to int.
    if (!(left > -kStampSide && left < image.width() && top > -kStampSide &&
          top < image.height())) {
        return;
    }
    const Stamp& stamp = stamps.At(stepX, stepY);
    const int x0 = static_cast<int>(left);
    const int y0 = static_cast<int>(top);
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (int sy = 0; sy < kStampSide; ++sy) {
        const int py = y0 + sy;
        if (py < 0 || py >= image.height()) continue;
        auto* row = reinterpret_cast<std::uint32_t*>(bits + py * bytesPerLine);
        for (int sx = 0; sx < kStampSide; ++sx) {
            const int px = x0 + sx;
            const std::uint32_t coverage =
                alpha == 255
                    ? stamp[static_cast<std::size_t>(sy * kStampSide + sx)]
                    : (stamp[static_cast<std::size_t>(sy * kStampSide + sx)] * alpha + 127) / 255;
            if (coverage == 0 || px < 0 || px >= image.width()) continue;
            row[px] = ByteMul(0xff000000u, coverage) + ByteMul(row[px], 255 - coverage);
        }
    }
}

}  // namespace

std::size_t PaintPatternImage(QImage& image, const std::vector<DrawnSegment>& segments,
                              const Box& box, const PictureSize& size, double opacity) {
    // Taken before painting starts: the painter then writes into the same pixels, and dots
    // blended in between keep the order of the segments.
    unsigned char* const bits = image.bits();
    DotStamps stamps;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    opacity = std::clamp(opacity, 0.0, 1.0);
    painter.setOpacity(opacity);
    const auto alpha = static_cast<std::uint32_t>(std::lround(opacity * 255));
    QPen pen(Qt::black);
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const auto at = [&](double x, double y) {
        return QPointF((x - box.x0) * size.scale, (box.y1 - y) * size.scale);
    };
    for (const DrawnSegment& s : segments) {
        const QPointF a = at(s.x1, s.y1);
        const QPointF b = at(s.x2, s.y2);
        if (a == b) {
            PaintDot(image, bits, a.x(), a.y(), stamps, alpha);
        } else {
            painter.drawLine(a, b);
        }
    }
    return stamps.Made();
}

}  // namespace murvex
