// HatchImage: the widget that shows the figure's canvas and reports the mouse on it.
#include "FigureCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

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
    if (!tileFrame_.isNull()) {
        painter.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(tileFrame_);
    }
    if (!dots_.isEmpty()) {
        painter.setPen(QPen(QColor(128, 128, 128), 1));
        painter.drawPoints(dots_.constData(), static_cast<int>(dots_.size()));
    }
    if (!window_.isNull()) {
        painter.setPen(QPen(QColor(0, 0, 255), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(window_.normalized());
    }
    if (markerKind_ != 0) {
        // A green marker whose shape tells the kind of point: a square for end points, a
        // triangle for mid points, a cross for intersections, an hourglass for the nearest
        // point, a diamond for the tile, a small plus for the grid, a circle otherwise.
        painter.setPen(QPen(QColor(0, 160, 0), 2));
        painter.setBrush(Qt::NoBrush);
        const QPoint c = markerAt_;
        constexpr int r = 5;
        switch (markerKind_) {
            case 1:  // end point
            case 2:  // a neighbouring copy's end point
                painter.drawRect(c.x() - r, c.y() - r, 2 * r, 2 * r);
                if (markerKind_ == 2) painter.drawPoint(c);
                break;
            case 3:  // intersection
                painter.drawLine(c + QPoint(-r, -r), c + QPoint(r, r));
                painter.drawLine(c + QPoint(-r, r), c + QPoint(r, -r));
                break;
            case 4: {  // mid point
                const QPoint t[] = {c + QPoint(0, -r), c + QPoint(r, r), c + QPoint(-r, r)};
                painter.drawPolygon(t, 3);
                break;
            }
            case 5:    // tile corner
            case 7: {  // tile edge
                const QPoint d[] = {c + QPoint(0, -r), c + QPoint(r, 0), c + QPoint(0, r),
                                    c + QPoint(-r, 0)};
                painter.drawPolygon(d, 4);
                break;
            }
            case 6: {  // nearest
                const QPoint h[] = {c + QPoint(-r, -r), c + QPoint(r, -r), c + QPoint(-r, r),
                                    c + QPoint(r, r)};
                painter.drawPolygon(h, 4);
                break;
            }
            case 8:  // grid
                painter.drawLine(c + QPoint(-3, 0), c + QPoint(3, 0));
                painter.drawLine(c + QPoint(0, -3), c + QPoint(0, 3));
                break;
            default:
                painter.drawEllipse(c, r, r);
                break;
        }
    }
}

void FigureCanvas::SetGridDots(QVector<QPoint> dots) {
    if (dots == dots_) return;
    dots_ = std::move(dots);
    update();
}

void FigureCanvas::SetSnapMarker(QPoint at, int kind) {
    if (kind == markerKind_ && (kind == 0 || at == markerAt_)) return;
    markerAt_ = at;
    markerKind_ = kind;
    update();
}

void FigureCanvas::SetTileFrame(QRect frame) {
    if (frame == tileFrame_) return;
    tileFrame_ = frame;
    update();
}

void FigureCanvas::SetSelectionWindow(QRect window) {
    if (window == window_) return;
    window_ = window;
    update();
}

void FigureCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (panning_) {
        const QPoint delta = at - panFrom_;
        panFrom_ = at;
        if (!delta.isNull()) emit Panned(delta);
        return;
    }
    emit MouseMoved(at);
}

void FigureCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    // The middle button, or the left one with Space held, moves the view.
    if (!panning_ && (event->button() == Qt::MiddleButton ||
                      (event->button() == Qt::LeftButton && spaceHeld_))) {
        panning_ = true;
        panButton_ = event->button();
        panFrom_ = at;
        return;
    }
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        emit LeftPressed(at);
    }
}

void FigureCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && event->button() == panButton_) {
        panning_ = false;
        return;
    }
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    const QPoint at = event->position().toPoint();
    emit LeftReleased(at, rect().contains(at));
}

void FigureCanvas::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) emit Wheeled(event->position().toPoint(), delta);
    event->accept();
}

}  // namespace murvex::app
