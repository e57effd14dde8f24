// HatchImage: the widget that shows the figure's canvas and reports the mouse on it.
#pragma once

#include <QPoint>
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

  signals:
    // Canvas pixels (the widget's own coordinates).
    void MouseMoved(QPoint pixel);
    // A left button press and release on the canvas, at the release.
    void Clicked(QPoint pixel);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImageCanvas canvas_;
    bool transparent_ = false;
    bool pressed_ = false;
};

}  // namespace murvex::app
