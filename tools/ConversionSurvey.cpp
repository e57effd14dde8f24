// conversion-survey [SEGMENTS]: the figure conversion per accuracy ("Op maat" within 0.1 and
// 0.5), on random segments and on hand-drawn ones, in tiles of 600 x 300, 100 x 100, 215 x 65 and
// 1000 x 37. Per setting: the share of rows converted, the largest distance of a drawn segment or
// one of its copies over 4 x 4 tiles from the pattern drawn from the written text, the longest
// repeat, and the lines and dashes a CAD program draws over 4 x 4 tiles (per segment: mean and
// largest).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Conversion.h"
#include "ConversionReport.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "PatternGeometry.h"

namespace {

using namespace murvex;
using namespace murvex::figure;

struct Seg {
    double x1, y1, x2, y2;
};

// Cells as the editor writes them: three decimals.
double Cell(double v) {
    return ParseDecimal(Fmt(v)).value;
}

std::vector<Seg> RandomSegments(const TileSize& t, int count, std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<Seg> out;
    for (int n = 0; n < count; ++n)
        out.push_back({Cell(unit(rng) * t.width), Cell(unit(rng) * t.height),
                       Cell(unit(rng) * t.width), Cell(unit(rng) * t.height)});
    return out;
}

// The figure tab's drawing: points on canvas pixels (x = px s, y = H - py s, s the longer side
// over 300); half of the segments meant horizontal or vertical, a quarter along a tile diagonal,
// the rest anywhere; the end point then lands up to one pixel off where it was meant.
std::vector<Seg> HandDrawn(const TileSize& t, int count, std::mt19937_64& rng) {
    const double s = std::max(t.width, t.height) / 300.0;
    const int pw = static_cast<int>(std::lround(t.width / s));
    const int ph = static_cast<int>(std::lround(t.height / s));
    std::uniform_int_distribution<int> px(0, pw), py(0, ph), kind(0, 3), jitter(-1, 1);
    std::vector<Seg> out;
    while (static_cast<int>(out.size()) < count) {
        const int ax = px(rng), ay = py(rng);
        int bx = px(rng), by = py(rng);
        switch (kind(rng)) {
            case 0:
                by = ay;
                break;
            case 1:
                bx = ax;
                break;
            case 2: {  // along the diagonal from (ax, ay) as far as the tile allows
                const double run = std::min(pw - ax, ay) * 0.9;
                bx = ax + static_cast<int>(run);
                by = ay - static_cast<int>(std::lround(run * ph / std::max(pw, 1)));
                break;
            }
            default:
                break;
        }
        bx = std::clamp(bx + jitter(rng), 0, pw);
        by = std::clamp(by + jitter(rng), 0, ph);
        if (bx == ax && by == ay) continue;
        out.push_back(
            {Cell(ax * s), Cell(t.height - ay * s), Cell(bx * s), Cell(t.height - by * s)});
    }
    return out;
}

struct Tally {
    int rows = 0;
    int converted = 0;
    double worst = 0;     // over every copy in 4 x 4 tiles
    double longest = 0;   // repeat along the line
    long long lines = 0;  // family lines crossing 4 x 4 tiles, summed
    long long mostLines = 0;
    long long pieces = 0;  // dashes drawn in 4 x 4 tiles, summed
    long long mostPieces = 0;
    int unmeasured = 0;
};

// The distance of the copy (a, b) tiles away from the pattern, drawn around the copy.
double CopyDistance(const TileSize& t, const Seg& s, const PatternLine& line, int a, int b) {
    const DrawnSegment copy{s.x1 + a * t.width, s.y1 + b * t.height, s.x2 + a * t.width,
                            s.y2 + b * t.height};
    double margin = 1;
    for (;;) {
        const Box box{std::min(copy.x1, copy.x2) - margin, std::min(copy.y1, copy.y2) - margin,
                      std::max(copy.x1, copy.x2) + margin, std::max(copy.y1, copy.y2) + margin};
        const DrawResult drawn = DrawPattern({line}, box, 400000);
        if (drawn.truncated) return -1;
        const double d = drawn.segments.empty()
                             ? INFINITY
                             : LargestDistance(copy, drawn.segments, 50000000).value_or(-1);
        if (d < 0) return -1;
        if (d <= margin || margin > 4.0 * std::max(t.width, t.height)) return d;
        margin = std::isfinite(d) ? d * 1.01 : margin * 8;
    }
}

void Measure(const TileSize& t, const std::vector<Seg>& segs, const ConversionSettings& settings,
             Tally& tally) {
    const Box area{0, 0, 4.0 * t.width, 4.0 * t.height};
    for (const Seg& s : segs) {
        ++tally.rows;
        const auto line = ConvertSegment(t, s.x1, s.y1, s.x2, s.y2, settings);
        if (!line) continue;
        ++tally.converted;
        const PatternLine read = *ParsePatternLine(line->text);
        tally.longest = std::max(tally.longest, read.dashes[0] - read.dashes[1]);
        const long long lines = 4 * (std::llabs(line->repeat.climb) + line->repeat.run) + 1;
        tally.lines += lines;
        tally.mostLines = std::max(tally.mostLines, lines);
        const DrawResult drawn = DrawPattern({read}, area, 4000000);
        const long long pieces = static_cast<long long>(drawn.segments.size());
        tally.pieces += pieces;
        tally.mostPieces = std::max(tally.mostPieces, pieces);
        for (int a = 0; a < 4; ++a) {
            for (int b = 0; b < 4; ++b) {
                const double d = CopyDistance(t, s, read, a, b);
                if (d < 0) {
                    ++tally.unmeasured;
                } else {
                    tally.worst = std::max(tally.worst, d);
                }
            }
        }
    }
}

std::string F(double v) {
    return std::isfinite(v) ? Fmt(v) : std::string("inf");
}

std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

void Row(const std::vector<std::string>& cells) {
    const std::size_t widths[] = {12, 10, 10, 12, 15, 11, 18, 8};
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c)
        line += Pad(cells[c], widths[c]) + " ";
    std::puts(line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int count = 300;
    if (argc > 1)
        std::from_chars(argv[1], argv[1] + std::char_traits<char>::length(argv[1]), count);
    const TileSize tiles[] = {{600, 300}, {100, 100}, {215, 65}, {1000, 37}};
    const ConversionSettings settings[] = {Accuracy::Nauwkeurig, Accuracy::Middel, Accuracy::Laag,
                                           ConversionSettings(Accuracy::OpMaat, 0.1L),
                                           ConversionSettings(Accuracy::OpMaat, 0.5L)};
    for (const char* set : {"random", "hand-drawn"}) {
        std::puts((std::string(set) + " segments, " + std::to_string(count) + " per tile").c_str());
        Row({"setting", "tile", "converted", "worst 4x4", "longest repeat", "lines mean",
             "dashes mean/max", "unmeas."});
        for (const ConversionSettings& st : settings) {
            Tally all;
            std::string name(AccuracyText(st.accuracy));
            if (st.accuracy == Accuracy::OpMaat) name += " " + Fmt(st.maxDeviation);
            for (const TileSize& t : tiles) {
                std::mt19937_64 rng(1900 + t.width);
                const std::vector<Seg> segs = std::string(set) == "random"
                                                  ? RandomSegments(t, count, rng)
                                                  : HandDrawn(t, count, rng);
                Tally tally;
                Measure(t, segs, st, tally);
                const double conv = tally.converted ? tally.converted : 1;
                Row({name, std::to_string(t.width) + "x" + std::to_string(t.height),
                     Fmt(100.0 * tally.converted / tally.rows) + "%", F(tally.worst),
                     F(tally.longest), Fmt(tally.lines / conv),
                     Fmt(tally.pieces / conv) + "/" + std::to_string(tally.mostPieces),
                     std::to_string(tally.unmeasured)});
                all.rows += tally.rows;
                all.converted += tally.converted;
                all.worst = std::max(all.worst, tally.worst);
                all.longest = std::max(all.longest, tally.longest);
                all.mostLines = std::max(all.mostLines, tally.mostLines);
            }
            Row({name, "all", Fmt(100.0 * all.converted / all.rows) + "%", F(all.worst),
                 F(all.longest), "max " + std::to_string(all.mostLines)});
        }
    }
    return 0;
}
