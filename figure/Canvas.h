// The drawing surface of the figure: what the figure editor draws with, and nothing more.
#pragma once

namespace murvex::figure {

// A canvas pixel: x to the right, y downward, (0, 0) the top left pixel.
struct Pixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// Black is (0, 0, 0), red is pure red (255, 0, 0).
enum class PenColor { Black, Red };

// The window implements this on a picture it shows; tests record the calls. Pens are solid.
class Canvas {
  public:
    virtual ~Canvas() = default;

    // Drops the picture and starts a new one of this size (before the first fill its pixels are
    // unspecified).
    virtual void SetSize(int width, int height) = 0;
    // Paints the whole picture white; the pen is black afterwards.
    virtual void FillWhite() = 0;
    virtual void SetPenColor(PenColor color) = 0;
    // Width in pixels (3 for the thick screen pen, 1 otherwise).
    virtual void SetPenWidth(int width) = 0;
    virtual void MoveTo(Pixel p) = 0;
    // A line in the pen's colour and width from the pen position to p, which becomes the pen
    // position.
    virtual void LineTo(Pixel p) = 0;
    // A line from `from` to `to` with the pen's width that inverts what it covers instead of
    // painting (not-xor): drawing the same line twice restores the picture. Leaves the pen
    // position and the normal painting mode as they were.
    virtual void NotXorLine(Pixel from, Pixel to) = 0;
};

// A canvas that draws nowhere, for work without a window (the command line).
class NullCanvas final : public Canvas {
  public:
    void SetSize(int, int) override {}
    void FillWhite() override {}
    void SetPenColor(PenColor) override {}
    void SetPenWidth(int) override {}
    void MoveTo(Pixel) override {}
    void LineTo(Pixel) override {}
    void NotXorLine(Pixel, Pixel) override {}
};

}  // namespace murvex::figure
