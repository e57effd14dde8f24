// HatchImage: the widget that shows the figure's canvas and reports the mouse on it.
#include "FigureCanvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace murvex::app {
namespace {

// The canvas with its pure white pixels made fully transparent.
QImage WhiteAsTransparent(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == 0x00FFFFFFu) line[x] = 0;
        }
    }
    return out;
}

}  // namespace

FigureCanvas::FigureCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HatchImage"));
    setMouseTracking(true);
    // The widget paints only the canvas; underneath it lies the background picture.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
}

void FigureCanvas::SetTransparent(bool transparent) {
    if (transparent_ == transparent) return;
    transparent_ = transparent;
    update();
}

void FigureCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& picture = canvas_.Image();
    if (transparent_) {
        painter.drawImage(0, 0, WhiteAsTransparent(picture));
    } else {
        painter.drawImage(0, 0, picture);
    }
}

void FigureCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->position().toPoint());
}

void FigureCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void FigureCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    const QPoint at = event->position().toPoint();
    if (rect().contains(at)) emit Clicked(at);
}

}  // namespace murvex::app
