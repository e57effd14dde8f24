// A canvas that draws nowhere and remembers every call and every line, with its colour and width.
#pragma once

#include <ostream>
#include <vector>

#include "Canvas.h"

namespace murvex::test {

// One line as it reached the picture.
struct DrawnLine {
    figure::Pixel from;
    figure::Pixel to;
    figure::PenColor color = figure::PenColor::Black;
    int width = 1;
    bool notXor = false;
    friend bool operator==(const DrawnLine&, const DrawnLine&) = default;
};
std::ostream& operator<<(std::ostream& os, const DrawnLine& line);

class RecordingCanvas final : public figure::Canvas {
  public:
    enum class Call { SetSize, FillWhite, SetPenColor, SetPenWidth, MoveTo, LineTo, NotXorLine };

    void SetSize(int width, int height) override;
    void FillWhite() override;
    void SetPenColor(figure::PenColor color) override;
    void SetPenWidth(int width) override;
    void MoveTo(figure::Pixel p) override;
    void LineTo(figure::Pixel p) override;
    void NotXorLine(figure::Pixel from, figure::Pixel to) override;

    // Forgets the records (calls, lines, fills); the pen and the size stay.
    void ClearRecords();

    std::vector<Call> calls;
    std::vector<DrawnLine> lines;  // since the last ClearRecords, in order
    int fills = 0;                 // FillWhite calls since the last ClearRecords
    int width = 0;
    int height = 0;
    figure::PenColor penColor = figure::PenColor::Black;
    int penWidth = 1;
    figure::Pixel position;
};

}  // namespace murvex::test
