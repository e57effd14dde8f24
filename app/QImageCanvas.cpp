// The figure's drawing surface on a QImage: solid pens without antialiasing and the not-xor
// rubber line.
#include "QImageCanvas.h"

#include <QPainter>
#include <algorithm>

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

QPainter& QImageCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setPen(SolidPen(penColor_, penWidth_));
    }
    return *painter_;
}

void QImageCanvas::PaintPendingLines() const {
    if (pending_.isEmpty()) return;
    painter_->drawLines(pending_);
    pending_.clear();
}

void QImageCanvas::EndPainting() const {
    if (painter_) {
        PaintPendingLines();
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
    if (painter_) PaintPendingLines();
    penColor_ = next;
    if (painter_) painter_->setPen(SolidPen(penColor_, penWidth_));
}

void QImageCanvas::SetPenWidth(int width) {
    if (std::max(width, 1) == penWidth_) return;
    if (painter_) PaintPendingLines();
    penWidth_ = std::max(width, 1);
    if (painter_) painter_->setPen(SolidPen(penColor_, penWidth_));
}

void QImageCanvas::MoveTo(figure::Pixel p) {
    position_ = p;
}

void QImageCanvas::LineTo(figure::Pixel p) {
    Painter();
    pending_.append(QLine(ToPoint(position_), ToPoint(p)));
    position_ = p;
}

void QImageCanvas::NotXorLine(figure::Pixel from, figure::Pixel to) {
    QPainter& painter = Painter();
    PaintPendingLines();
    // Not (source) xor destination with a black pen inverts every covered pixel once, so the
    // same line drawn again gives the picture back.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(SolidPen(Qt::black, penWidth_));
    painter.drawLine(ToPoint(from), ToPoint(to));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(SolidPen(penColor_, penWidth_));
}

}  // namespace murvex::app
