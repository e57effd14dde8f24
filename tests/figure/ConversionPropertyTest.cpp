// Over many random segments in random tiles: the written lines, read back and drawn through the
// pattern geometry, start at the segment, repeat with the tile, and carry the right dash and gap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "Conversion.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "PatternGeometry.h"

namespace murvex::figure {
namespace {

constexpr int kRuns = 5000;

struct Point {
    double x = 0;
    double y = 0;
};

double Distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double DistanceToSegment(Point p, const DrawnSegment& s) {
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - s.x1) * dx + (p.y - s.y1) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return Distance(p, {s.x1 + t * dx, s.y1 + t * dy});
}

struct Case {
    TileSize tile;
    RowCells cells;
    std::string texts[4];
    Accuracy accuracy = Accuracy::Nauwkeurig;
    std::string Describe() const {
        return "tile " + std::to_string(tile.width) + " x " + std::to_string(tile.height) + " (" +
               texts[0] + ", " + texts[1] + ")-(" + texts[2] + ", " + texts[3] + ") " +
               std::string(AccuracyText(accuracy));
    }
};

// Segments as the editor writes them (three decimals), mostly in general directions, some near
// the horizontal, the vertical and the diagonals, some longer than the tile is wide.
std::vector<Case> RandomCases() {
    std::mt19937_64 rng(4242);
    std::uniform_int_distribution<int> side(1, 1000), smallSide(1, 20), kind(0, 9), level(0, 2);
    std::uniform_real_distribution<double> unit(0, 1), small(-0.004, 0.004);
    std::vector<Case> cases(kRuns);
    for (Case& c : cases) {
        // Small tiles now and then: their long runs put the lines of a family close together.
        c.tile = unit(rng) < 0.3 ? TileSize{smallSide(rng), smallSide(rng)}
                                 : TileSize{side(rng), side(rng)};
        const double W = c.tile.width;
        const double H = c.tile.height;
        double x1 = unit(rng) * W, y1 = unit(rng) * H, x2 = unit(rng) * W, y2 = unit(rng) * H;
        switch (kind(rng)) {
            case 0:  // near horizontal, across the whole width now and then
                x1 = unit(rng) < 0.3 ? 0 : x1;
                x2 = unit(rng) < 0.3 ? W : x2;
                y2 = y1 + (x2 - x1) * small(rng);
                break;
            case 1:  // near vertical
                x2 = x1 + (y2 - y1) * small(rng);
                break;
            case 2: {  // near a diagonal or its mirror image
                const double f = unit(rng);
                const double slope = H / W * (1 + small(rng) / 2) * (unit(rng) < 0.5 ? 1 : -1);
                x1 = 0;
                x2 = f * W;
                y1 = slope > 0 ? 0 : H;
                y2 = y1 + slope * x2;
                break;
            }
            default:
                break;
        }
        const double v[4] = {x1, y1, x2, y2};
        for (int i = 0; i < 4; ++i)
            c.texts[i] = Fmt(v[i]);
        c.cells = {c.texts[0], c.texts[1], c.texts[2], c.texts[3]};
        c.accuracy = AccuracyFromIndex(level(rng));
    }
    return cases;
}

// Segments of the drawing that start within tol of p.
bool StartsAt(const DrawResult& drawn, Point p, double tol) {
    return std::any_of(drawn.segments.begin(), drawn.segments.end(), [&](const DrawnSegment& s) {
        return Distance({s.x1, s.y1}, p) <= tol;
    });
}

bool Covers(const DrawResult& drawn, Point p, double tol) {
    return std::any_of(drawn.segments.begin(), drawn.segments.end(),
                       [&](const DrawnSegment& s) { return DistanceToSegment(p, s) <= tol; });
}

void CheckLine(const Case& c, const ConvertedLine& line) {
    const double W = c.tile.width;
    const double H = c.tile.height;
    double v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = ParseDecimal(c.texts[i]).value;
    Point start{v[0], v[1]}, end{v[2], v[3]};
    if (start.x > end.x) std::swap(start, end);
    const double length = Distance(start, end);

    const std::optional<PatternLine> read = ParsePatternLine(line.text);
    ASSERT_TRUE(read.has_value()) << line.text;
    ASSERT_EQ(read->dashes.size(), 2u) << line.text;
    const double dash = read->dashes[0];
    const double gap = read->dashes[1];
    EXPECT_EQ(line.text.substr(line.text.rfind(", ") + 2, 1), "-") << "the gap is written negative";

    // The step after which the family is to meet a copy of its start, and the distance to it.
    const double run = static_cast<double>(line.repeat.run) * W;
    const double climb = static_cast<double>(line.repeat.climb) * H;
    const double repeat = std::hypot(run, climb);
    ASSERT_GT(repeat, 0);
    // Written with ten decimals: the angle's rounding moves points far along the line a little.
    const double eps = 1e-6 + 1e-9 * repeat;
    // The diagonal keeps the segment's angle, accepted within a tenth of a degree of the lattice.
    const double tol = line.lineCase == LineCase::Diagonal
                           ? eps + repeat * std::sin(0.1 * std::numbers::pi / 180)
                           : eps;

    // Dash and gap.
    if (line.continuous) {
        EXPECT_GT(length, repeat - eps);
        EXPECT_NEAR(dash, repeat, eps);
        EXPECT_EQ(gap, 0.0);
    } else {
        EXPECT_NEAR(dash, length, 1e-9 * std::max(1.0, length));
        EXPECT_NEAR(dash - gap, repeat, eps);
    }

    // The general search claims the segment's own direction meets the lattice point within the
    // accepted stage.
    if (line.lineCase == LineCase::Rising || line.lineCase == LineCase::Falling) {
        const std::span<const long double> stages = ToleranceStages(c.accuracy);
        EXPECT_NE(std::find(stages.begin(), stages.end(), line.tolerance), stages.end());
        const double slope = (end.y - start.y) / (end.x - start.x);
        EXPECT_LT(std::fabs(run * slope - climb), static_cast<double>(line.tolerance) + 1e-9);
        EXPECT_EQ(line.lineCase == LineCase::Falling, slope < 0);
    }

    // Drawn around the start point, over its copies in the eight neighbouring tiles: a dash
    // begins at the start point and at every copy, and nowhere else. Without a gap the dashes
    // join into one line, which runs through the copies.
    const bool joined = gap == 0;
    const double margin = 1 + tol;
    const Box box{start.x - W - margin, start.y - H - margin, start.x + W + margin,
                  start.y + H + margin};
    const DrawResult drawn = DrawPattern({*read}, box);
    ASSERT_FALSE(drawn.truncated);
    for (int a = -1; a <= 1; ++a) {
        for (int b = -1; b <= 1; ++b) {
            const Point copy{start.x + a * W, start.y + b * H};
            SCOPED_TRACE("copy " + std::to_string(a) + ", " + std::to_string(b));
            if (joined) {
                EXPECT_TRUE(Covers(drawn, copy, tol));
            } else {
                EXPECT_TRUE(StartsAt(drawn, copy, tol));
            }
        }
    }
    if (!joined) {
        const auto inside = [&](Point p) {
            return p.x > box.x0 + tol && p.x < box.x1 - tol && p.y > box.y0 + tol &&
                   p.y < box.y1 - tol;
        };
        for (const DrawnSegment& s : drawn.segments) {
            const Point p{s.x1, s.y1};
            if (!inside(p)) continue;  // cut by the box, not a dash start
            const double a = std::round((p.x - start.x) / W);
            const double b = std::round((p.y - start.y) / H);
            EXPECT_LE(Distance(p, {start.x + a * W, start.y + b * H}), tol)
                << "a dash starts off the lattice at " << p.x << ", " << p.y;
        }
    }

    // After the claimed climb and run the family meets the copy of its start point: drawn around
    // that copy alone, a dash begins there.
    const Point far{start.x + run, start.y + climb};
    const DrawResult there =
        DrawPattern({*read}, {far.x - margin, far.y - margin, far.x + margin, far.y + margin});
    EXPECT_TRUE(joined ? Covers(there, far, tol) : StartsAt(there, far, tol));
}

TEST(ConversionProperties, EveryWrittenLineStartsAtItsSegmentAndRepeatsWithTheTile) {
    int solved = 0;
    int counts[5] = {};
    int continuous = 0;
    for (const Case& c : RandomCases()) {
        const std::optional<ConvertedLine> line = ConvertFiguurLijn(c.tile, c.cells, c.accuracy);
        if (!line) continue;
        ++solved;
        ++counts[static_cast<int>(line->lineCase)];
        continuous += line->continuous ? 1 : 0;
        SCOPED_TRACE(c.Describe() + " -> " + line->text);
        CheckLine(c, *line);
        if (HasFailure()) return;  // one described failure is enough
    }
    // The draw covers every case, and most segments find a repeat.
    EXPECT_GT(solved, kRuns * 8 / 10);
    for (int n : counts)
        EXPECT_GT(n, 30);
    EXPECT_GT(continuous, 10);
}

// How far the written family misses the copy of its start point (dx, dy) away, solved on its own:
// the copy as whole numbers n of shifts S and j of repeats P along the line (Cramer's rule), or
// for a line without a gap the distance across from line n.
long double Miss(const PatternLine& l, long double dx, long double dy) {
    const long double a = l.angle * std::numbers::pi_v<long double> / 180;
    const long double ux = std::cos(a), uy = std::sin(a);
    const long double sx = l.shiftX * ux - l.shiftY * uy, sy = l.shiftX * uy + l.shiftY * ux;
    const bool gap = l.dashes[1] < 0;
    const long double period = gap ? static_cast<long double>(l.dashes[0]) - l.dashes[1] : 1;
    const long double px = period * ux, py = period * uy;
    const long double det = sx * py - sy * px;
    const long double n = std::nearbyint((dx * py - dy * px) / det);
    const long double j = gap ? std::nearbyint((sx * dy - sy * dx) / det) : 0;
    const long double rx = dx - n * sx - j * px, ry = dy - n * sy - j * py;
    return gap ? std::hypot(rx, ry) : std::fabs(ux * ry - uy * rx);
}

TEST(ConversionProperties, EveryWrittenLineRepeatsWithTheTileUpToTheLargestTiles) {
    std::mt19937_64 rng(2147483647);
    std::uniform_real_distribution<double> unit(0, 1), logSide(0, std::log(2147483647.0));
    int solved[5] = {}, refused = 0;
    for (int run = 0; run < kRuns; ++run) {
        const TileSize tile{static_cast<int>(std::exp(logSide(rng))),
                            static_cast<int>(std::exp(logSide(rng)))};
        const double W = tile.width, H = tile.height, y1 = unit(rng) * H, x1 = unit(rng) * W;
        const std::string t[4] = {Fmt(x1), Fmt(y1), Fmt(run % 7 ? unit(rng) * W : x1),
                                  Fmt(run % 5 ? unit(rng) * H : y1)};
        const auto line =
            ConvertFiguurLijn(tile, {t[0], t[1], t[2], t[3]}, AccuracyFromIndex(run % 3));
        // The axis directions are exact whatever the tile; the others may be refused.
        EXPECT_TRUE(line || (t[0] != t[2] && t[1] != t[3])) << W << " x " << H;
        if (!line) {
            ++refused;
            continue;
        }
        ++solved[static_cast<int>(line->lineCase)];
        const std::optional<PatternLine> read = ParsePatternLine(line->text);
        ASSERT_TRUE(read && read->dashes.size() == 2);
        // Within a millionth of the tile and the test's own rounding; the diagonal repeats along
        // it only roughly.
        const long double bound = 1.5e-6L * std::max(1.0, std::max(W, H));
        EXPECT_LE(Miss(*read, 0, H), bound) << W << " x " << H << ": " << line->text;
        if (line->lineCase != LineCase::Diagonal) {
            EXPECT_LE(Miss(*read, W, 0), bound) << W << " x " << H << ": " << line->text;
        }
        if (HasFailure()) return;
    }
    for (int n : solved)
        EXPECT_GT(n, 10);
    EXPECT_GT(refused, 10);
}

}  // namespace
}  // namespace murvex::figure
