// A canvas that draws nowhere and remembers every call and every line, with its colour and width.
#include "RecordingCanvas.h"

namespace murvex::test {

std::ostream& operator<<(std::ostream& os, const DrawnLine& line) {
    return os << (line.notXor ? "notxor " : "") << "(" << line.from.x << "," << line.from.y << ")-("
              << line.to.x << "," << line.to.y << ") "
              << (line.color == figure::PenColor::Red ? "red" : "black") << " w" << line.width;
}

void RecordingCanvas::SetSize(int w, int h) {
    calls.push_back(Call::SetSize);
    width = w;
    height = h;
}

void RecordingCanvas::FillWhite() {
    calls.push_back(Call::FillWhite);
    ++fills;
    penColor = figure::PenColor::Black;
}

void RecordingCanvas::SetPenColor(figure::PenColor color) {
    calls.push_back(Call::SetPenColor);
    penColor = color;
}

void RecordingCanvas::SetPenWidth(int w) {
    calls.push_back(Call::SetPenWidth);
    penWidth = w;
}

void RecordingCanvas::MoveTo(figure::Pixel p) {
    calls.push_back(Call::MoveTo);
    position = p;
}

void RecordingCanvas::LineTo(figure::Pixel p) {
    calls.push_back(Call::LineTo);
    lines.push_back({position, p, penColor, penWidth, false});
    position = p;
}

void RecordingCanvas::NotXorLine(figure::Pixel from, figure::Pixel to) {
    calls.push_back(Call::NotXorLine);
    lines.push_back({from, to, penColor, penWidth, true});
}

void RecordingCanvas::ClearRecords() {
    calls.clear();
    lines.clear();
    fills = 0;
}

}  // namespace murvex::test
