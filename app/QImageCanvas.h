// The figure's drawing surface on a QImage: solid pens without antialiasing and the not-xor
// rubber line.
#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QVector>
#include <memory>

#include "Canvas.h"

class QPainter;

namespace murvex::app {

class QImageCanvas final : public figure::Canvas {
  public:
    QImageCanvas();
    ~QImageCanvas() override;

    // The picture as drawn so far (the painter of a redraw ends here).
    const QImage& Image() const;

    void SetSize(int width, int height) override;
    void FillWhite() override;
    void SetPenColor(figure::PenColor color) override;
    void SetPenWidth(int width) override;
    void MoveTo(figure::Pixel p) override;
    void LineTo(figure::Pixel p) override;
    void NotXorLine(figure::Pixel from, figure::Pixel to) override;

  private:
    // One painter for all the lines drawn between two looks at the picture: a redraw of many
    // rows opens it once. The lines of one pen are painted together, when the pen changes or the
    // picture is looked at: the raster engine then sets up its line drawing once for all. Lines
    // one pixel wide are set into the pixels directly, without the painter.
    QPainter& Painter() const;
    void PaintPendingLines() const;
    void EndPainting() const;

    mutable QImage image_;
    mutable std::unique_ptr<QPainter> painter_;
    mutable QVector<QLine> pending_;  // drawn with the present pen, not yet painted
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    figure::Pixel position_;
};

}  // namespace murvex::app
