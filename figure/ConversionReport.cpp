// The conversion report: the written line is read back from its text and drawn with the
// pattern geometry, so the distance does not repeat the conversion's own arithmetic.
#include "ConversionReport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <queue>
#include <utility>

#include "Clip.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "PatternGeometry.h"
#include "TextGrid.h"

namespace murvex::figure {

namespace {

// A drawn piece of a pattern line; the figure's own segments are figure::TileSegment.
using Piece = murvex::DrawnSegment;

constexpr double kPi = std::numbers::pi;

// A written line that crosses the tile with more lines or pieces than this is not measured: a
// family that dense says nothing a user can see, and the report stays quick for any row.
constexpr std::size_t kMaxPieces = 1500;
// The distance is found to within this many drawing units.
constexpr double kDistanceAccuracy = 1e-7;
// A copy this close to the family, relative to the tile's larger side, lies on it: the ten
// written decimals move copies that much, and the conversion writes no line that misses more.
constexpr double kDriftNoise = 1e-6;

// Three decimals rounded up: a drift never reads as none.
std::string FmtUp(double value) {
    return Fmt(std::max(std::ceil(value * 1000) / 1000, 0.001));
}

double PointToPiece(double px, double py, const Piece& s) {
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    const double len2 = dx * dx + dy * dy;
    double t = 0;
    if (len2 > 0) t = std::clamp(((px - s.x1) * dx + (py - s.y1) * dy) / len2, 0.0, 1.0);
    return std::hypot(px - (s.x1 + t * dx), py - (s.y1 + t * dy));
}

double PieceToPiece(const Piece& a, const Piece& b) {
    const auto cross = [](double ox, double oy, double px, double py, double qx, double qy) {
        return (px - ox) * (qy - oy) - (py - oy) * (qx - ox);
    };
    const double d1 = cross(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1);
    const double d2 = cross(a.x1, a.y1, a.x2, a.y2, b.x2, b.y2);
    const double d3 = cross(b.x1, b.y1, b.x2, b.y2, a.x1, a.y1);
    const double d4 = cross(b.x1, b.y1, b.x2, b.y2, a.x2, a.y2);
    if (((d1 < 0 && d2 > 0) || (d1 > 0 && d2 < 0)) && ((d3 < 0 && d4 > 0) || (d3 > 0 && d4 < 0)))
        return 0;
    return std::min({PointToPiece(b.x1, b.y1, a), PointToPiece(b.x2, b.y2, a),
                     PointToPiece(a.x1, a.y1, b), PointToPiece(a.x2, a.y2, b)});
}

double DrawnAngle(double x1, double y1, double x2, double y2) {
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (x1 == x2) return y1 < y2 ? 90.0 : 270.0;
    return std::atan((y2 - y1) / (x2 - x1)) * 180.0 / kPi;
}

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

}  // namespace

// The distance to one piece is convex along the segment, so over an interval it stays below the
// larger of its values at the ends, and the distance to the nearest piece stays below the
// smallest of those. Pieces farther from the whole segment than that bound over all of it are
// never the nearest and are dropped first. Intervals that could still beat the best found are
// halved until none can by more than kDistanceAccuracy; with one piece near no interval needs
// halving. Every distance to a piece counts against the budget.
std::optional<double> LargestDistance(const Piece& drawn, const std::vector<Piece>& pieces,
                                      long long budget) {
    if (pieces.empty()) return INFINITY;
    const double x1 = drawn.x1;
    const double y1 = drawn.y1;
    const double x2 = drawn.x2;
    const double y2 = drawn.y2;
    long long work = 0;
    auto point = [&](double t) {
        return std::pair<double, double>{x1 + t * (x2 - x1), y1 + t * (y2 - y1)};
    };
    std::vector<Piece> near;
    double whole = INFINITY;
    for (const Piece& s : pieces)
        whole = std::min(whole, std::max(PointToPiece(x1, y1, s), PointToPiece(x2, y2, s)));
    for (const Piece& s : pieces) {
        if (PieceToPiece(drawn, s) <= whole) near.push_back(s);
    }
    work += 6 * static_cast<long long>(pieces.size());
    auto nearest = [&](double t) {
        const auto [px, py] = point(t);
        double best = INFINITY;
        for (const Piece& s : near)
            best = std::min(best, PointToPiece(px, py, s));
        work += static_cast<long long>(near.size());
        return best;
    };
    auto bound = [&](double t0, double t1) {
        const auto [ax, ay] = point(t0);
        const auto [bx, by] = point(t1);
        double b = INFINITY;
        for (const Piece& s : near)
            b = std::min(b, std::max(PointToPiece(ax, ay, s), PointToPiece(bx, by, s)));
        work += 2 * static_cast<long long>(near.size());
        return b;
    };
    struct Interval {
        double t0, t1, bound;
    };
    auto less = [](const Interval& a, const Interval& b) { return a.bound < b.bound; };
    std::priority_queue<Interval, std::vector<Interval>, decltype(less)> open(less);
    double best = std::max(nearest(0), nearest(1));
    open.push({0, 1, whole});
    while (!open.empty()) {
        if (work > budget) return std::nullopt;
        const Interval iv = open.top();
        open.pop();
        if (iv.bound <= best + kDistanceAccuracy) break;
        const double tm = (iv.t0 + iv.t1) / 2;
        // Halving no longer moves the point: the bound is as good as the numbers allow.
        if (!(iv.t0 < tm && tm < iv.t1)) continue;
        best = std::max(best, nearest(tm));
        open.push({iv.t0, tm, bound(iv.t0, tm)});
        open.push({tm, iv.t1, bound(tm, iv.t1)});
    }
    return best;
}

ReportRow ReportFiguurLijn(const TileSize& tile, const RowCells& cells,
                           const ConversionSettings& settings, int row) {
    return ReportConvertedRow(tile, ConvertRowCells(tile, cells, settings, row));
}

ReportRow ReportConvertedRow(const TileSize& tile, const ConvertedRow& converted) {
    ReportRow out;
    out.row = converted.row;
    const std::array<double, 4>& v = converted.drawn;
    out.drawnAngle = DrawnAngle(v[0], v[1], v[2], v[3]);

    const std::optional<ConvertedLine>& line = converted.line;
    const std::optional<PatternLine> written =
        line ? ParsePatternLine(line->text) : std::optional<PatternLine>();
    if (!written) {
        out.failed = true;
        out.neededDeviation = static_cast<double>(converted.neededDeviation);
        return out;
    }
    out.writtenAngle = written->angle;
    out.lineCase = line->lineCase;
    out.repeat = line->repeat;
    out.tolerance = static_cast<double>(line->tolerance);
    out.continuous = line->continuous;

    out.neededDeviation = 0;
    out.drift = DriftPerTile(tile, *written);

    // Measured on what the figure shows: the part of the segment inside the tile, clipped as
    // the redraw clips a complete row (an incomplete one, its empty cells read as 0, is never
    // drawn, and may reach far beyond the tile). The pattern is drawn around that part, also
    // beyond the tile's edges: the nearest dash may lie in the next tile.
    out.distance = -1;
    const std::optional<figure::TileSegment> inside =
        ClipFiguurLijn({{v[0], v[1]}, {v[2], v[3]}}, static_cast<long double>(tile.width),
                       static_cast<long double>(tile.height));
    if (!inside) return out;
    const Piece shown{static_cast<double>(inside->start.x), static_cast<double>(inside->start.y),
                      static_cast<double>(inside->end.x), static_cast<double>(inside->end.y)};
    const double side = std::max(tile.width, tile.height);
    // A dash farther than the margin from the segment's box is never nearer than the distance
    // found while that stays within the margin; otherwise once more with the margin it found.
    double margin = side / 64;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Box box{std::min(shown.x1, shown.x2) - margin, std::min(shown.y1, shown.y2) - margin,
                      std::max(shown.x1, shown.x2) + margin, std::max(shown.y1, shown.y2) + margin};
        const DrawResult drawn = DrawPattern({*written}, box, kMaxPieces);
        if (drawn.truncated) return out;
        const double d = drawn.segments.empty()
                             ? INFINITY
                             : LargestDistance(shown, drawn.segments, kDistanceWork).value_or(-1);
        if (d < 0) return out;
        if (d <= margin || attempt == 1) {
            out.distance = std::isfinite(d) ? d : -1;
            break;
        }
        margin = std::min(d, 2 * side);
    }
    return out;
}

double DriftPerTile(const TileSize& tile, const PatternLine& line) {
    const double side = std::max({1, tile.width, tile.height});
    double drift = 0;
    for (const auto& [dx, dy] :
         {std::pair<double, double>{tile.width, 0}, std::pair<double, double>{0, tile.height}}) {
        const std::optional<Miss> miss = MissedBy(line, dx, dy);
        // A line that cannot be measured has no repeat a copy could land on.
        if (!miss) return INFINITY;
        if (miss->distance > kDriftNoise * side + miss->error)
            drift = std::max(drift, static_cast<double>(miss->distance));
    }
    return drift;
}

std::vector<ReportRow> ConversionReport(const TileSize& tile, const TextGrid& grid,
                                        const ConversionSettings& settings) {
    return ConversionReport(tile, ConvertFiguurGrid(tile, grid, settings));
}

std::vector<ReportRow> ConversionReport(const TileSize& tile,
                                        const std::vector<ConvertedRow>& rows) {
    std::vector<ReportRow> report;
    report.reserve(rows.size());
    for (const ConvertedRow& row : rows)
        report.push_back(ReportConvertedRow(tile, row));
    return report;
}

std::vector<std::vector<std::string>> ConversionReportTable(const std::vector<ReportRow>& rows) {
    const std::vector<std::string> header = {
        "Nr.", "getekende hoek", "geschreven hoek", "hoogte/breedte", "tolerantie", "afstand"};
    std::vector<std::vector<std::string>> table = {header};
    for (const ReportRow& r : rows) {
        std::vector<std::string> line = {std::to_string(r.row), Fmt(r.drawnAngle)};
        if (r.failed) {
            line.push_back(r.neededDeviation > 0 ? "geen oplossing; max. afwijking " +
                                                       FmtUp(r.neededDeviation) + " nodig"
                                                 : std::string("geen oplossing"));
        } else {
            const bool searched = r.lineCase == LineCase::Rising || r.lineCase == LineCase::Falling;
            line.push_back(Fmt(r.writtenAngle));
            line.push_back(std::to_string(std::llabs(r.repeat.climb)) + "/" +
                           std::to_string(r.repeat.run));
            line.push_back(searched ? Fmt(r.tolerance) : "-");
            if (r.drift > 0) {
                line.push_back(std::isfinite(r.drift) ? FmtUp(r.drift) + "/tegel" : "?");
            } else {
                line.push_back(r.distance < 0 ? "?" : Fmt(r.distance));
            }
        }
        table.push_back(std::move(line));
    }
    return table;
}

std::string FormatConversionReport(const std::vector<ReportRow>& rows) {
    const std::vector<std::vector<std::string>> table = ConversionReportTable(rows);
    const std::vector<std::string>& header = table.front();
    std::vector<std::size_t> widths(header.size(), 0);
    for (const auto& line : table) {
        // A failed row's message spans the columns after the drawn angle.
        if (line.size() < header.size()) continue;
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());
    }
    std::string text;
    for (const auto& line : table) {
        std::string out;
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (c > 0) out += "  ";
            const bool last = c + 1 == line.size();
            if (last && line.size() < header.size()) {
                out += line[c];
            } else if (c == 0 || &line == &table.front()) {
                out += last ? line[c] : PadRight(line[c], widths[c]);
            } else {
                out += PadLeft(line[c], widths[c]);
            }
        }
        text += out + "\n";
    }
    return text;
}

}  // namespace murvex::figure
