// The figure's drawing surface on a QImage: pens and the not-xor rubber line.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace murvex::test
