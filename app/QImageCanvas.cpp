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

// Round ends like the screen pens of the window system; one pixel wide draws single pixels.
QPen SolidPen(const QColor& color, int width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QImageCanvas::QImageCanvas() {
    SetSize(figure::kStartPanelSize - 2, figure::kStartPanelSize - 2);
    FillWhite();
}

void QImageCanvas::SetSize(int width, int height) {
    // The raster operations of the rubber line work on 32-bit pixels without alpha.
    image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
}

void QImageCanvas::FillWhite() {
    image_.fill(Qt::white);
    penColor_ = Qt::black;
}

void QImageCanvas::SetPenColor(figure::PenColor color) {
    penColor_ = color == figure::PenColor::Red ? QColor(255, 0, 0) : QColor(0, 0, 0);
}

void QImageCanvas::SetPenWidth(int width) {
    penWidth_ = std::max(width, 1);
}

void QImageCanvas::MoveTo(figure::Pixel p) {
    position_ = p;
}

void QImageCanvas::LineTo(figure::Pixel p) {
    QPainter painter(&image_);
    painter.setPen(SolidPen(penColor_, penWidth_));
    painter.drawLine(ToPoint(position_), ToPoint(p));
    position_ = p;
}

void QImageCanvas::NotXorLine(figure::Pixel from, figure::Pixel to) {
    QPainter painter(&image_);
    // Not (source) xor destination with a black pen inverts every covered pixel once, so the
    // same line drawn again gives the picture back.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(SolidPen(Qt::black, penWidth_));
    painter.drawLine(ToPoint(from), ToPoint(to));
}

}  // namespace murvex::app
