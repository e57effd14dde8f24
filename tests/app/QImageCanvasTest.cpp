// The figure's drawing surface on a QImage: pens and the not-xor rubber line.
#include <gtest/gtest.h>

#include <QPainter>
#include <random>

#include "QImageCanvas.h"

namespace murvex::test {
namespace {

using figure::Pixel;

TEST(QImageCanvas, DrawsSolidPensOfTheirColourAndWidth) {
    app::QImageCanvas canvas;
    canvas.SetSize(40, 20);
    canvas.FillWhite();
    EXPECT_EQ(canvas.Image().size(), QSize(40, 20));
    canvas.SetPenWidth(3);
    canvas.MoveTo({5, 10});
    canvas.LineTo({35, 10});
    canvas.SetPenColor(figure::PenColor::Red);
    canvas.SetPenWidth(1);
    canvas.MoveTo({20, 2});
    canvas.LineTo({20, 6});
    const QImage& image = canvas.Image();
    for (int y : {9, 10, 11})
        EXPECT_EQ(image.pixelColor(12, y), QColor(0, 0, 0)) << y;
    EXPECT_EQ(image.pixelColor(12, 13), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(20, 4), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(21, 4), QColor(255, 255, 255));
    // FillWhite leaves a black pen.
    canvas.FillWhite();
    canvas.MoveTo({0, 0});
    canvas.LineTo({10, 0});
    EXPECT_EQ(canvas.Image().pixelColor(5, 0), QColor(0, 0, 0));
}

TEST(QImageCanvas, TheRubberLineInvertsAndTheSecondOneRestores) {
    for (int width : {1, 3}) {
        SCOPED_TRACE(width);
        app::QImageCanvas canvas;
        canvas.SetSize(50, 50);
        canvas.FillWhite();
        canvas.SetPenWidth(width);
        canvas.SetPenColor(figure::PenColor::Red);
        canvas.MoveTo({0, 25});
        canvas.LineTo({49, 25});
        const QImage before = canvas.Image().copy();

        canvas.NotXorLine({25, 3}, {31, 47});
        const QImage& after = canvas.Image();
        EXPECT_EQ(after.pixelColor(26, 10), QColor(0, 0, 0));      // white became black
        EXPECT_EQ(after.pixelColor(28, 25), QColor(0, 255, 255));  // red became its inverse
        EXPECT_NE(after, before);
        canvas.NotXorLine({25, 3}, {31, 47});
        EXPECT_EQ(canvas.Image(), before);
        // The pen is as it was: red at its width.
        canvas.MoveTo({0, 40});
        canvas.LineTo({10, 40});
        EXPECT_EQ(canvas.Image().pixelColor(5, 40), QColor(255, 0, 0));
    }
}

// The canvas sets its lines into the pixels itself: random lines, many far beyond the picture,
// look as the painter's solid pens draw them: no pixel of one more than a pixel from the other.
TEST(QImageCanvas, LinesLookAsThePaintersPensDrawThem) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> coordinate(-300, 500);
    for (int width : {1, 3}) {
        SCOPED_TRACE(width);
        app::QImageCanvas canvas;
        canvas.SetSize(200, 150);
        canvas.FillWhite();
        canvas.SetPenWidth(width);
        QImage painted(200, 150, QImage::Format_RGB32);
        painted.fill(Qt::white);
        QPainter painter(&painted);
        painter.setPen(width == 1 ? QPen(Qt::black, 0)
                                  : QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 300; ++i) {
            const Pixel a{coordinate(random), coordinate(random)};
            const Pixel b = i % 10 == 0 ? a : Pixel{coordinate(random), coordinate(random)};
            canvas.MoveTo(a);
            canvas.LineTo(b);
            painter.drawLine(a.x, a.y, b.x, b.y);
        }
        painter.end();
        const QImage& drawn = canvas.Image();
        // Inked pixels of one picture with no inked pixel of the other one pixel away or nearer.
        const auto astray = [](const QImage& one, const QImage& other, int* inked) {
            const QRgb white = qRgb(255, 255, 255);
            int count = 0;
            for (int y = 0; y < one.height(); ++y) {
                for (int x = 0; x < one.width(); ++x) {
                    if (one.pixel(x, y) == white) continue;
                    ++*inked;
                    bool near = false;
                    for (int dy = -1; dy <= 1 && !near; ++dy) {
                        for (int dx = -1; dx <= 1 && !near; ++dx) {
                            const QPoint q(x + dx, y + dy);
                            // Beyond the edge the other may have its pixel unseen.
                            near = !other.rect().contains(q) || other.pixel(q) != white;
                        }
                    }
                    count += !near;
                }
            }
            return count;
        };
        int inked = 0;
        EXPECT_EQ(astray(drawn, painted, &inked), 0);
        EXPECT_EQ(astray(painted, drawn, &inked), 0);
        EXPECT_GT(inked, 10000);
    }
}

}  // namespace
}  // namespace murvex::test
