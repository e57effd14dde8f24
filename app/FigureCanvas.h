// HatchImage: the widget that shows the figure's canvas and reports the mouse on it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QVector>
#include <QWidget>

#include "QImageCanvas.h"

namespace murvex::app {

class FigureCanvas : public QWidget {
    Q_OBJECT

  public:
    explicit FigureCanvas(QWidget* parent = nullptr);

    QImageCanvas& Canvas() { return canvas_; }

    // Transparent: the canvas's white pixels let the background picture underneath show.
    void SetTransparent(bool transparent);
    bool Transparent() const { return transparent_; }

    // Drawn over the canvas's picture, never into it: the grid's dots, the snap marker (kind 0
    // hides it), the selection window (an empty rectangle hides it).
    void SetGridDots(QVector<QPoint> dots);
    void SetSnapMarker(QPoint at, int kind);
    void SetSelectionWindow(QRect window);
    // The tile's outline, shown while the view is zoomed, moved or grown (a null rectangle hides
    // it): beyond the designed view the tile's edges are no longer the canvas's.
    void SetTileFrame(QRect frame);
    int SnapMarkerKind() const { return markerKind_; }
    // Space is held on the figure tab: a left drag pans as the middle button does.
    void SetSpaceHeld(bool held) { spaceHeld_ = held; }

  signals:
    // Canvas pixels (the widget's own coordinates).
    void MouseMoved(QPoint pixel);
    // A left button press and release on the canvas, at the release.
    void Clicked(QPoint pixel);
    // The left button went down, and came up again (inside: on the canvas).
    void LeftPressed(QPoint pixel);
    void LeftReleased(QPoint pixel, bool inside);
    // The wheel turned by delta (120 a notch) with the mouse at pixel.
    void Wheeled(QPoint pixel, int delta);
    // A pan moved the mouse by delta pixels.
    void Panned(QPoint delta);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QImageCanvas canvas_;
    bool transparent_ = false;
    bool pressed_ = false;
    bool spaceHeld_ = false;
    bool panning_ = false;
    Qt::MouseButton panButton_ = Qt::NoButton;
    QPoint panFrom_;
    QVector<QPoint> dots_;
    QPoint markerAt_;
    int markerKind_ = 0;
    QRect window_;
    QRect tileFrame_;
};

}  // namespace murvex::app
