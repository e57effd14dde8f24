// A pattern opened as a figure: its rectangular repeat as the tile, what it draws there as rows.
#include "PatternFigure.h"

#include <cmath>

#include "NumberText.h"
#include "Text.h"

namespace murvex::figure {

namespace {

// Six decimals keep every end well within the thousandth the conversion is measured at; the
// zeros at the end are left off, as the grid's own cells have none to spare.
std::string Coordinate(double v) {
    std::string text = FmtDecimals(std::fabs(v) < 5e-7 ? 0.0 : v, 6);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

PatternFigure FigureOfPattern(std::string_view patternText, const PatternHeader& header,
                              double scale, const RepeatBounds& bounds) {
    PatternFigure f;
    const std::vector<PatternLine> lines = ParsePatternText(patternText);
    f.repeat = FindPatternRepeat(lines, bounds);
    if (f.repeat.status != RepeatStatus::Found) {
        f.problem = f.repeat.reason;
        return f;
    }
    const double s = scale > 0 ? scale : f.repeat.scale;
    const auto whole = [&](double v, double error) {
        return WholeAtScale(v, s, bounds.tolerance, error) && std::round(v * s) <= bounds.maxSide;
    };
    if (!(s > 0) || !whole(f.repeat.width, f.repeat.widthError) ||
        !whole(f.repeat.height, f.repeat.heightError)) {
        f.problem = scale > 0
                        ? "at scale " + Fmt(scale) + " the repeat " + Fmt(f.repeat.width * scale) +
                              " x " + Fmt(f.repeat.height * scale) + " is no whole number of units"
                        : f.repeat.reason;
        return f;
    }
    f.scale = s;
    f.tileWidth = static_cast<int>(std::round(f.repeat.width * s));
    f.tileHeight = static_cast<int>(std::round(f.repeat.height * s));
    // The tile is drawn in the pattern's own units and scaled afterwards, so that the scale does
    // not change what counts as touching.
    f.tile = DrawTile(lines, f.repeat.width, f.repeat.height, bounds.tolerance,
                      static_cast<std::size_t>(bounds.maxSegments));
    for (DrawnSegment& seg : f.tile.segments) {
        // Snapped onto the tile's whole sides, so that nothing is clipped away by a rounding.
        const auto fit = [](double v, double side) {
            return std::fabs(v - side) <= 1e-9 * std::max(1.0, side) ? side : v;
        };
        seg = {fit(seg.x1 * s, f.tileWidth), fit(seg.y1 * s, f.tileHeight),
               fit(seg.x2 * s, f.tileWidth), fit(seg.y2 * s, f.tileHeight)};
    }
    f.list.push_back(";%SIZE=" + IntText(f.tileWidth) + "," + IntText(f.tileHeight));
    AppendHeaderLines(f.list, header, HeaderLayout::FigureList);
    for (const DrawnSegment& seg : f.tile.segments) {
        f.list.push_back(Coordinate(seg.x1) + "," + Coordinate(seg.y1) + "," + Coordinate(seg.x2) +
                         "," + Coordinate(seg.y2));
    }
    return f;
}

}  // namespace murvex::figure
