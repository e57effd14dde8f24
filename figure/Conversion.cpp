// Figure-to-pattern conversion: the case choice, the lattice search and the written line.
#include "Conversion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>

#include "NumberText.h"
#include "Platform.h"
#include "TextGrid.h"

namespace murvex::figure {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// The first six stages belong to every level, "Middel" adds up to 20 and "Laag" up to 50.
constexpr std::array<long double, 35> kStages = {
    0.1L, 0.2L, 0.4L, 0.6L, 0.8L, 1.0L, 1.2L, 1.4L, 1.6L, 1.8L, 2,  4,  6,  8,  10, 12, 14, 16,
    18,   20,   22,   24,   26,   28,   30,   32,   34,   36,   38, 40, 42, 44, 46, 48, 50};

// The second search looks for the neighbouring line of the family at this tolerance at most.
constexpr long double kNeighbourTolerance = 0.1L;

// Beyond this the tile counts can no longer be stepped one by one in extended precision.
constexpr long double kCountLimit = 0x1p62L;

// How close the written line must bring the copies of the segment: a millionth of the tile's
// larger side (and never less than 1e-6 units). Relative, because the digits cut off the angle
// and the shifts move a copy in proportion to the repeat, which grows with the tile: an absolute
// bound refused a line in a hundred in ordinary 1000 x 1000 tiles for an error of a few
// millionths of a unit that no drawing shows.
constexpr long double kRepeatTolerance = 1e-6L;

long double Degrees(long double radians) {
    return radians * 360 / (2 * kPi);
}

// Nearest integer, halves to even.
long double Round(long double x) {
    return std::nearbyint(x);
}

bool AllFinite(std::initializer_list<long double> values) {
    for (long double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// The fields of a pattern line before they are written.
struct Fields {
    long double angle = 0;
    long double along = 0;
    long double across = 0;
    long double repeat = 0;  // the repeat distance along the line: dash plus gap
};

// The general search result for the rising direction phi (the falling case mirrors it).
struct General {
    Fields fields;
    RepeatStep step;
    long double tolerance = 0;
};

std::optional<General> SolveGeneral(const TileSize& tile, long double phi, Accuracy accuracy) {
    const long double W = tile.width;
    const long double H = tile.height;
    const int limit = RepeatLimit(accuracy);
    std::optional<RepeatStep> step;
    long double accepted = 0;
    for (long double t : ToleranceStages(accuracy)) {
        step = FindRepeat(tile, limit, 0, t, phi);
        if (step) {
            accepted = t;
            break;
        }
    }
    if (!step) return std::nullopt;

    // The line is turned onto the lattice point (w, h): it runs through every copy of its
    // start point that lies on it, at the price of the accepted tolerance.
    const long double h = static_cast<long double>(step->climb) * H;
    const long double w = static_cast<long double>(step->run) * W;
    const long double direction = std::atan(h / w);
    General g;
    g.step = *step;
    g.tolerance = accepted;
    g.fields.angle = Degrees(direction);
    g.fields.repeat = h / std::sin(direction);
    // m is the run in tile widths; 0 when the line climbs a height within no width at all.
    const long double m = Round(w / W);
    if (!(m > 0)) return std::nullopt;
    g.fields.across = H * std::cos(direction) / m;

    // The neighbouring line crosses the vertical through the start point H / m higher; the
    // lattice point it runs through gives the shift along. In the direction (w, h) the heights
    // that k2 tile widths reach from there miss the tile heights by whole multiples of H / m,
    // so a tolerance of H / m or more (small tiles, long runs) would accept a lattice point of
    // a farther line; half of H / m accepts the neighbour's own lattice point only.
    const long double neighbourTolerance = std::min(kNeighbourTolerance, H / m / 2);
    const std::optional<RepeatStep> next =
        FindRepeat(tile, limit, H / m, neighbourTolerance, direction);
    if (!next) return std::nullopt;
    const long double h2 = static_cast<long double>(next->climb) * H;
    const long double w2 = static_cast<long double>(next->run) * W;
    g.fields.along = std::sqrt(w2 * w2 + h2 * h2 - g.fields.across * g.fields.across);
    if (!AllFinite({g.fields.angle, g.fields.repeat, g.fields.across, g.fields.along})) {
        return std::nullopt;
    }
    return g;
}

// How far the written family misses the copy of its start point one step (dx, dy) away: the
// distance from the copy to the nearest dash start, or to the nearest line of the family when
// the line has no gap. `error` bounds the rounding of the measurement itself.
struct Miss {
    long double distance = 0;
    long double error = 0;
};

// Relative rounding of the extended products and sums below, with room for the angle's sine and
// cosine: a few units in the last place of a 64-bit mantissa.
constexpr long double kMeasureRounding = 0x1p-58L;

std::optional<Miss> MissedBy(const PatternLine& line, long double dx, long double dy) {
    const long double a = static_cast<long double>(line.angle) * kPi / 180;
    const long double cosA = std::cos(a);
    const long double sinA = std::sin(a);
    const long double along = dx * cosA + dy * sinA;
    const long double across = dy * cosA - dx * sinA;
    const long double shiftAlong = line.shiftX;
    const long double shiftAcross = line.shiftY;
    // The line of the family nearest to the copy: line n starts n shifts from the origin.
    const long double n = shiftAcross != 0 ? std::nearbyint(across / shiftAcross) : 0;
    if (!(std::fabs(n) < kCountLimit)) return std::nullopt;
    Miss miss;
    const long double offAcross = std::fma(-n, shiftAcross, across);
    long double scale = std::fabs(dx) + std::fabs(dy) + std::fabs(n * shiftAcross);
    long double offAlong = 0;
    const bool dashed = line.dashes.size() == 2 && line.dashes[1] < 0;
    if (dashed) {
        const long double period = static_cast<long double>(line.dashes[0]) - line.dashes[1];
        if (!(period > 0)) return std::nullopt;
        const long double fromStart = std::fma(-n, shiftAlong, along);
        const long double j = std::nearbyint(fromStart / period);
        if (!(std::fabs(j) < kCountLimit)) return std::nullopt;
        offAlong = std::fma(-j, period, fromStart);
        scale += std::fabs(n * shiftAlong) + std::fabs(j * period);
    }
    miss.distance = std::hypot(offAcross, offAlong);
    miss.error = scale * kMeasureRounding;
    return miss;
}

// The written line repeats with the tile: the copies of its start point one tile width to the
// right and one tile height up lie within kRepeatTolerance of a dash start (of a line, without
// a gap). The diagonal keeps the segment's own angle, so its repeat along the diagonal holds only
// within the tenth of a degree that case accepts; what its digits must carry is the shift one
// tile height up.
bool WrittenLineRepeats(const std::string& text, LineCase lineCase, long double W, long double H) {
    const std::optional<PatternLine> line = ParsePatternLine(text);
    if (!line || line->dashes.size() != 2) return false;
    const long double tolerance = kRepeatTolerance * std::max(1.0L, std::max(W, H));
    const auto carries = [&](long double dx, long double dy) {
        const std::optional<Miss> miss = MissedBy(*line, dx, dy);
        return miss && miss->distance + miss->error <= tolerance;
    };
    if (!carries(0, H)) return false;
    return lineCase == LineCase::Diagonal || carries(W, 0);
}

std::string LineText(const Fields& f, long double x1, long double y1, long double dash,
                     long double gap) {
    std::string text;
    for (long double v : {f.angle, x1, y1, f.along, f.across, dash, gap}) {
        if (!text.empty()) text += ", ";
        text += Fmt10(v);
    }
    return text;
}

}  // namespace

std::optional<Accuracy> AccuracyFromText(std::string_view text) {
    for (Accuracy a : {Accuracy::Nauwkeurig, Accuracy::Middel, Accuracy::Laag}) {
        if (text == AccuracyText(a)) return a;
    }
    return std::nullopt;
}

std::string_view AccuracyText(Accuracy accuracy) {
    switch (accuracy) {
        case Accuracy::Nauwkeurig:
            return "Nauwkeurig";
        case Accuracy::Middel:
            return "Middel";
        case Accuracy::Laag:
            return "Laag";
    }
    return "Nauwkeurig";
}

Accuracy AccuracyFromIndex(int index) {
    if (index == 1) return Accuracy::Middel;
    if (index == 2) return Accuracy::Laag;
    return Accuracy::Nauwkeurig;
}

int RepeatLimit(Accuracy accuracy) {
    switch (accuracy) {
        case Accuracy::Nauwkeurig:
            return 150;
        case Accuracy::Middel:
            return 100;
        case Accuracy::Laag:
            return 50;
    }
    return 150;
}

std::span<const long double> ToleranceStages(Accuracy accuracy) {
    std::size_t count = 6;
    switch (accuracy) {
        case Accuracy::Nauwkeurig:
            count = 6;
            break;
        case Accuracy::Middel:
            count = 20;
            break;
        case Accuracy::Laag:
            count = 35;
            break;
    }
    return std::span<const long double>(kStages.data(), count);
}

std::optional<RepeatStep> FindRepeat(const TileSize& tile, int limit, long double offset,
                                     long double tolerance, long double direction) {
    const long double H = tile.height;
    // The rise of the line over one tile width.
    const long double q = tile.width * SafeTan(direction);
    if (!std::isfinite(q) || !(q > 0) || !std::isfinite(offset) || !(H > 0)) return std::nullopt;
    for (int i = 1; i < limit; ++i) {
        const long double e = i * H;
        const long double start = (e - offset) / q;
        if (!(std::fabs(start) < kCountLimit)) return std::nullopt;
        // Only the one or two multiples of q nearest to e are tested: from the integer part of
        // (e - o) / q upward until k q + o passes e + t.
        for (long double k = std::trunc(start); k * q + offset < e + tolerance; k += 1) {
            if (e - tolerance < k * q + offset) {
                return RepeatStep{i, static_cast<long long>(k)};
            }
        }
    }
    return std::nullopt;
}

std::optional<ConvertedLine> ConvertSegment(const TileSize& tile, long double x1, long double y1,
                                            long double x2, long double y2, Accuracy accuracy) {
    if (tile.width <= 0 || tile.height <= 0 || !AllFinite({x1, y1, x2, y2})) return std::nullopt;
    const long double W = tile.width;
    const long double H = tile.height;
    const long double diagonal = Degrees(std::atan(H / W));
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const long double dx = x2 - x1;
    const long double dy = y2 - y1;
    const long double length = std::sqrt(dx * dx + dy * dy);
    const long double theta = x2 != x1 ? std::atan(dy / dx) : (y1 < y2 ? kPi / 2 : 3 * kPi / 2);

    ConvertedLine out;
    Fields f;
    f.angle = Degrees(theta);
    const long double angle10 = Round(f.angle * 10);
    const long double theta100 = Round(theta * 100);
    // Horizontal and vertical come before the diagonal: in a tile far taller than wide (or
    // wider than tall) the diagonal's tenth of a degree lies inside the vertical (horizontal)
    // window, and the diagonal's shift, one tile height along the segment's own angle, then
    // has next to no part across the line.
    if (theta100 == 0) {
        out.lineCase = LineCase::Horizontal;
        out.repeat = {0, 1};
        f.angle = 0;
        f.across = H;
        f.repeat = W;
    } else if (theta100 == 157 || theta100 == 471) {
        out.lineCase = LineCase::Vertical;
        out.repeat = {1, 0};
        f.angle = theta100 == 157 ? 90 : 270;
        f.across = W;
        f.repeat = H;
    } else if (angle10 == Round(diagonal * 10) || angle10 == Round(diagonal * -10)) {
        // The segment's own angle is kept; the shift is one tile height straight up, so the
        // family repeats along the diagonal D only within the tenth of a degree accepted here.
        out.lineCase = LineCase::Diagonal;
        out.repeat = {theta < 0 ? -1 : 1, 1};
        f.repeat = std::sqrt(W * W + H * H);
        f.along = H * std::sin(theta);
        f.across = H * std::cos(theta);
    } else {
        const bool falling = !(theta > 0);
        const std::optional<General> g = SolveGeneral(tile, std::fabs(theta), accuracy);
        if (!g) return std::nullopt;
        out.lineCase = falling ? LineCase::Falling : LineCase::Rising;
        out.repeat = {falling ? -g->step.climb : g->step.climb, g->step.run};
        out.tolerance = g->tolerance;
        f = g->fields;
        if (falling) {
            f.angle = -f.angle;
            f.across = -f.across;
        }
    }

    long double dash = length;
    long double gap = -(f.repeat - length);
    if (gap > 0) {
        // A positive second entry would be a second pen-down dash: the segment overlaps its own
        // copy, so the line is drawn continuously instead.
        dash = f.repeat;
        gap = -0.0L;
        out.continuous = true;
    }
    out.text = LineText(f, x1, y1, dash, gap);
    // Ten decimals carry the angle and the shifts only so far: over a long repeat (a huge tile,
    // many tile widths) the digits that are cut off move the copies of the segment off the
    // family. Judged on the text as a reader gets it.
    if (!WrittenLineRepeats(out.text, out.lineCase, W, H)) return std::nullopt;
    return out;
}

std::array<double, 4> RowCellValues(const RowCells& cells) {
    std::array<double, 4> v{};
    for (std::size_t c = 0; c < cells.size(); ++c) {
        v[c] = ParseDecimal(cells[c]).value;  // 0 when the cell does not parse
    }
    return v;
}

std::optional<ConvertedLine> ConvertFiguurLijn(const TileSize& tile, const RowCells& cells,
                                               Accuracy accuracy) {
    const std::array<double, 4> v = RowCellValues(cells);
    return ConvertSegment(tile, v[0], v[1], v[2], v[3], accuracy);
}

std::string NoSolutionMessage(int row) {
    return "Geen oplossing gevonden voor lijn: " + std::to_string(row);
}

std::string NoSolutionComment(int row) {
    return "; " + NoSolutionMessage(row);
}

bool RowCellsEmpty(const RowCells& cells) {
    return std::ranges::all_of(cells, [](std::string_view cell) { return cell.empty(); });
}

std::vector<ConvertedRow> ConvertFiguurGrid(const TileSize& tile, const TextGrid& grid,
                                            Accuracy accuracy, Platform* platform) {
    std::vector<ConvertedRow> rows;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const RowCells cells = {grid.Cell(1, row), grid.Cell(2, row), grid.Cell(3, row),
                                grid.Cell(4, row)};
        if (RowCellsEmpty(cells)) continue;
        const Cursor saved = platform ? platform->CurrentCursor() : Cursor::Default;
        if (platform) platform->SetCursor(Cursor::Busy);
        std::optional<ConvertedLine> line = ConvertFiguurLijn(tile, cells, accuracy);
        if (platform) platform->SetCursor(saved);
        rows.push_back({row, RowCellValues(cells), std::move(line)});
    }
    return rows;
}

FigureHatch FigureHatchLines(const TileSize& tile, const TextGrid& grid,
                             const PatternHeader& header, Accuracy accuracy, Platform* platform,
                             PatternStyle style) {
    return FigureHatchLines(header, ConvertFiguurGrid(tile, grid, accuracy, platform), style, tile);
}

FigureHatch FigureHatchLines(const PatternHeader& header, const std::vector<ConvertedRow>& rows,
                             PatternStyle style, const TileSize& tile) {
    FigureHatch out;
    AppendHeaderLines(out.lines, header);
    out.lines.emplace_back(kSeparatorLine);
    for (const ConvertedRow& r : rows) {
        if (r.line) {
            out.lines.push_back(r.line->text);
        } else {
            out.lines.push_back(NoSolutionComment(r.row));
            out.failedRows.push_back(r.row);
        }
    }
    out.lines.emplace_back(kSeparatorLine);
    if (style == PatternStyle::Compatible) {
        const CompatibleTile repeat{static_cast<double>(tile.width),
                                    static_cast<double>(tile.height)};
        MakeCompatible(out.lines, &repeat);
    }
    return out;
}

std::vector<std::string> FailedRowMessages(const std::vector<int>& failedRows) {
    std::vector<std::string> messages;
    for (int row : failedRows)
        messages.push_back(NoSolutionMessage(row));
    return messages;
}

}  // namespace murvex::figure
