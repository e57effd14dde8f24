// A pattern opened as a figure and converted back ("Op maat" within 1e-3) draws what it drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "BondGenerator.h"
#include "Conversion.h"
#include "NumberText.h"
#include "PatternFigure.h"

namespace murvex::figure {
namespace {

constexpr double kSame = 1e-3;

PatternFigure Open(const std::string& text) {
    RepeatBounds b;
    b.tolerance = ToleranceOfText(text);
    return FigureOfPattern(text, {}, 0, b);
}

// "Maak hatch" with "Op maat" at 1e-3, in the text it writes; a segment without a line fails.
std::string Convert(const TileSize& tile, const std::vector<DrawnSegment>& segments) {
    std::string text = "*R\n";
    for (const DrawnSegment& s : segments) {
        const auto line = ConvertSegment(tile, s.x1, s.y1, s.x2, s.y2, {Accuracy::OpMaat, kSame});
        EXPECT_TRUE(line) << Fmt(s.x1) << " " << Fmt(s.y1) << " " << Fmt(s.x2) << " " << Fmt(s.y2);
        if (line) text += line->text + "\n";
    }
    return text;
}

// What the pattern, `scale` times larger, draws in the box, joined, away from the lines of the
// drawing (which a box's edge would cut at random), each segment from left to right.
std::vector<DrawnSegment> Drawn(const std::string& text, const Box& box, double scale) {
    std::vector<PatternLine> lines = ParsePatternText(text);
    for (PatternLine& l : lines) {
        l = {l.angle,
             l.x * scale - 0.037 * box.x1,
             l.y * scale - 0.021 * box.y1,
             l.shiftX * scale,
             l.shiftY * scale,
             l.dashes};
        for (double& d : l.dashes)
            d *= scale;
    }
    std::vector<DrawnSegment> out = DrawTile(lines, box.x1, box.y1, 1e-6, 2000000).segments;
    for (DrawnSegment& s : out) {
        if (s.x2 < s.x1 || (s.x2 == s.x1 && s.y2 < s.y1)) s = {s.x2, s.y2, s.x1, s.y1};
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.x1 < b.x1; });
    return out;
}

// Each end of p within kSame of q's line, and of q's end unless the box's edge cut both (a line
// moved by d across itself meets an edge at an angle a moved by d / sin a).
bool Same(const DrawnSegment& p, const DrawnSegment& q, const Box& box) {
    const auto onEdge = [&](double x, double y) {
        return std::fabs(x) < 1e-6 || std::fabs(x - box.x1) < 1e-6 || std::fabs(y) < 1e-6 ||
               std::fabs(y - box.y1) < 1e-6;
    };
    const double length = std::max(std::hypot(q.x2 - q.x1, q.y2 - q.y1), 1e-12);
    const double ux = (q.x2 - q.x1) / length;
    const double uy = (q.y2 - q.y1) / length;
    const auto end = [&](double px, double py, double qx, double qy) {
        const double dx = px - qx;
        const double dy = py - qy;
        return std::fabs(dx * uy - dy * ux) <= kSame * 1.001 &&
               ((onEdge(px, py) && onEdge(qx, qy)) || std::hypot(dx, dy) <= kSame * 1.001);
    };
    return end(p.x1, p.y1, q.x1, q.y1) && end(p.x2, p.y2, q.x2, q.y2);
}

// Every segment of `of` has its own counterpart in `in`.
void ExpectDrawnIn(const std::vector<DrawnSegment>& of, const std::vector<DrawnSegment>& in,
                   const Box& box, const char* which) {
    std::vector<bool> used(in.size(), false);
    for (const DrawnSegment& s : of) {
        auto it = std::lower_bound(in.begin(), in.end(), s.x1 - 0.1,
                                   [](const DrawnSegment& q, double x) { return q.x1 < x; });
        for (; it != in.end() && it->x1 <= s.x1 + 0.1; ++it) {
            const auto i = static_cast<std::size_t>(it - in.begin());
            if (!used[i] && Same(s, *it, box)) break;
        }
        if (it == in.end() || it->x1 > s.x1 + 0.1) {
            ADD_FAILURE() << "only the " << which << " draws " << Fmt(s.x1) << " " << Fmt(s.y1)
                          << " " << Fmt(s.x2) << " " << Fmt(s.y2);
            return;
        }
        used[static_cast<std::size_t>(it - in.begin())] = true;
    }
}

// Both draw the same over 10 x 10 of the figure's tiles; the first `scale` times larger.
void ExpectSameDrawing(const std::string& a, const std::string& b, const PatternFigure& f) {
    const Box box{0, 0, 10.0 * f.tileWidth, 10.0 * f.tileHeight};
    const std::vector<DrawnSegment> first = Drawn(a, box, f.scale);
    const std::vector<DrawnSegment> second = Drawn(b, box, 1);
    ExpectDrawnIn(first, second, box, "first");
    ExpectDrawnIn(second, first, box, "second");
}

// The ten bonds at the rotations whose lines stay exact (Tegelverband's 220 x 62.5 comes back
// ten times larger, as a tile of whole units).
TEST(PatternFigure, BondsComeBackThroughTheFigure) {
    for (int bond = 0; bond < bonds::kBondCount; ++bond) {
        for (const double rotation : {0.0, 90.0, 180.0}) {
            SCOPED_TRACE(std::string(bonds::BondNames()[bond]) + " " + Fmt(rotation));
            const std::string text =
                JoinCrLf(bonds::GenerateBond({bond, 210, 220, 50, 62.5, rotation, "B"}));
            const PatternFigure f = Open(text);
            ASSERT_TRUE(f.problem.empty()) << f.problem;
            ExpectSameDrawing(text, Convert({f.tileWidth, f.tileHeight}, f.tile.segments), f);
        }
    }
}

// Random figures: figure -> pattern -> figure -> pattern, and the two patterns draw the same.
TEST(PatternFigure, RandomFiguresRoundTrip) {
    std::mt19937_64 rng(33);
    std::uniform_int_distribution<int> side(20, 400), count(1, 8);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int run = 0; run < 60; ++run) {
        // Every third figure draws its left half twice, half a tile apart: it repeats every half
        // (a whole number of units).
        const bool twice = run % 3 == 0;
        const TileSize tile{side(rng) / (twice ? 2 : 1) * (twice ? 2 : 1), side(rng)};
        const auto at = [&](double size) { return std::round(unit(rng) * size * 10) / 10; };
        const double across = twice ? tile.width / 2.0 : tile.width;
        std::string first = "*R\n";
        for (int n = count(rng); n > 0; --n) {
            const double x1 = at(across), y1 = at(tile.height);
            const double x2 = at(across), y2 = at(tile.height);
            for (const double dx : {0.0, twice ? tile.width / 2.0 : -1.0}) {
                if (dx < 0) continue;
                const auto line =
                    ConvertSegment(tile, x1 + dx, y1, x2 + dx, y2, {Accuracy::OpMaat, kSame});
                if (line) first += line->text + "\n";
            }
        }
        SCOPED_TRACE("run " + std::to_string(run) + "\n" + first);
        const PatternFigure f = Open(first);
        ASSERT_TRUE(f.problem.empty()) << f.problem;
        // The repeat found divides the figure's own tile.
        EXPECT_NEAR(std::remainder(tile.width, f.repeat.width), 0, 1e-6);
        EXPECT_NEAR(std::remainder(tile.height, f.repeat.height), 0, 1e-6);
        // In the half tile a line may need twice the tile sides "Op maat" allows to come back.
        if (twice) {
            EXPECT_LE(f.repeat.width, tile.width / 2.0 + 1e-6);
            continue;
        }
        ExpectSameDrawing(first, Convert({f.tileWidth, f.tileHeight}, f.tile.segments), f);
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace murvex::figure
