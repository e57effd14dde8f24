// The figure's drawing surface on a QImage: solid pens without antialiasing and the not-xor
// rubber line.
#pragma once

#include <QColor>
#include <QImage>

#include "Canvas.h"

namespace murvex::app {

class QImageCanvas final : public figure::Canvas {
  public:
    QImageCanvas();

    const QImage& Image() const { return image_; }

    void SetSize(int width, int height) override;
    void FillWhite() override;
    void SetPenColor(figure::PenColor color) override;
    void SetPenWidth(int width) override;
    void MoveTo(figure::Pixel p) override;
    void LineTo(figure::Pixel p) override;
    void NotXorLine(figure::Pixel from, figure::Pixel to) override;

  private:
    QImage image_;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    figure::Pixel position_;
};

}  // namespace murvex::app
