// A pattern opened as a figure and converted back ("Op maat" within 1e-3) draws what it drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
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

RepeatBounds BoundsOf(const std::string& text) {
    RepeatBounds b;
    b.tolerance = ToleranceOfText(text);
    return b;
}

// "Maak hatch" with "Op maat" at 1e-3 over the segments, in the text it writes; segments
// without a line are left out and counted.
std::string Convert(const TileSize& tile, const std::vector<DrawnSegment>& segments,
                    int* failed = nullptr) {
    std::string text = "*R\n";
    for (const DrawnSegment& s : segments) {
        const auto line = ConvertSegment(tile, s.x1, s.y1, s.x2, s.y2, {Accuracy::OpMaat, kSame});
        if (line) {
            text += line->text + "\n";
        } else if (failed != nullptr) {
            ++*failed;
        }
    }
    return text;
}

std::vector<DrawnSegment> Ordered(std::vector<DrawnSegment> segments) {
    for (DrawnSegment& s : segments) {
        if (s.x2 < s.x1 || (s.x2 == s.x1 && s.y2 < s.y1)) s = {s.x2, s.y2, s.x1, s.y1};
    }
    std::sort(segments.begin(), segments.end(),
              [](const DrawnSegment& a, const DrawnSegment& b) { return a.x1 < b.x1; });
    return segments;
}

// Whether two drawn segments are the same within kSame: each end off the other's line by at most
// that, and along it too unless the box's edge cut both (a line moved by d across itself meets
// an edge at an angle a moved by d / sin a).
bool Same(const DrawnSegment& p, const DrawnSegment& q, const Box& box) {
    const double within = kSame * 1.001;
    const auto onEdge = [&](double x, double y) {
        return std::fabs(x - box.x0) < 1e-6 || std::fabs(x - box.x1) < 1e-6 ||
               std::fabs(y - box.y0) < 1e-6 || std::fabs(y - box.y1) < 1e-6;
    };
    const double length = std::hypot(q.x2 - q.x1, q.y2 - q.y1);
    const double ux = length > 0 ? (q.x2 - q.x1) / length : 1;
    const double uy = length > 0 ? (q.y2 - q.y1) / length : 0;
    const auto end = [&](double px, double py, double qx, double qy) {
        const double dx = px - qx;
        const double dy = py - qy;
        const bool cut = onEdge(px, py) && onEdge(qx, qy);
        return std::fabs(dx * uy - dy * ux) <= within &&
               (cut || std::fabs(dx * ux + dy * uy) <= within);
    };
    return end(p.x1, p.y1, q.x1, q.y1) && end(p.x2, p.y2, q.x2, q.y2);
}

// The first segment of `of` that `in` does not draw; nothing when it draws them all.
std::optional<DrawnSegment> Unmatched(const std::vector<DrawnSegment>& of,
                                      const std::vector<DrawnSegment>& in, const Box& box) {
    std::vector<bool> used(in.size(), false);
    for (const DrawnSegment& s : of) {
        auto it = std::lower_bound(in.begin(), in.end(), s.x1 - 0.1,
                                   [](const DrawnSegment& q, double x) { return q.x1 < x; });
        bool found = false;
        for (; it != in.end() && it->x1 <= s.x1 + 0.1 && !found; ++it) {
            const std::size_t i = static_cast<std::size_t>(it - in.begin());
            found = !used[i] && Same(s, *it, box);
            if (found) used[i] = true;
        }
        if (!found) return s;
    }
    return std::nullopt;
}

std::string Text(const DrawnSegment& s) {
    return Fmt(s.x1) + " " + Fmt(s.y1) + " " + Fmt(s.x2) + " " + Fmt(s.y2);
}

// Both patterns draw the same segments in the box, after joining, each end within kSame; the
// first drawn `scale` times larger.
void ExpectSameDrawing(const std::string& a, const std::string& b, double width, double height,
                       double scale = 1) {
    const auto draw = [&](const std::string& text, double times) {
        // Away from the lines of the drawing, which a box's edge would cut at random.
        std::vector<PatternLine> lines = ParsePatternText(text);
        for (PatternLine& l : lines) {
            l.x = l.x * times - 0.037 * width;
            l.y = l.y * times - 0.021 * height;
            l.shiftX *= times;
            l.shiftY *= times;
            for (double& d : l.dashes)
                d *= times;
        }
        const TileDrawing t = DrawTile(lines, width, height, 1e-6, 2000000);
        EXPECT_FALSE(t.truncated);
        return Ordered(t.segments);
    };
    const std::vector<DrawnSegment> first = draw(a, scale);
    const std::vector<DrawnSegment> second = draw(b, 1);
    const Box box{0, 0, width, height};
    if (const auto s = Unmatched(first, second, box)) {
        ADD_FAILURE() << "only the first draws " << Text(*s);
    }
    if (const auto s = Unmatched(second, first, box)) {
        ADD_FAILURE() << "only the second draws " << Text(*s);
    }
}

// The ten bonds at the rotations whose lines stay exact, over 10 x 10 repeats (Tegelverband's
// 220 x 62.5 comes back ten times larger, as a tile of whole units).
TEST(PatternFigure, BondsComeBackThroughTheFigure) {
    for (int bond = 0; bond < bonds::kBondCount; ++bond) {
        for (const double rotation : {0.0, 90.0, 180.0}) {
            bonds::BondInput in{bond, 210, 220, 50, 62.5, rotation, "B"};
            SCOPED_TRACE(std::string(bonds::BondNames()[bond]) + " " + Fmt(rotation));
            const std::string text = JoinCrLf(bonds::GenerateBond(in));
            const PatternFigure f = FigureOfPattern(text, {}, 0, BoundsOf(text));
            ASSERT_TRUE(f.problem.empty()) << f.problem;
            int failed = 0;
            const std::string back = Convert({f.tileWidth, f.tileHeight}, f.tile.segments, &failed);
            EXPECT_EQ(failed, 0);
            ExpectSameDrawing(text, back, 10 * f.tileWidth, 10 * f.tileHeight, f.scale);
        }
    }
}

// Random figures: figure -> pattern -> figure -> pattern, and the two patterns draw the same.
TEST(PatternFigure, RandomFiguresRoundTrip) {
    std::mt19937_64 rng(33);
    std::uniform_int_distribution<int> side(20, 400);
    std::uniform_int_distribution<int> count(1, 8);
    std::uniform_real_distribution<double> unit(0, 1);
    int converted = 0;
    for (int run = 0; run < 60; ++run) {
        const TileSize tile{side(rng), side(rng)};
        std::vector<DrawnSegment> figure;
        for (int n = count(rng); n > 0; --n) {
            const auto at = [&](double size) { return std::round(unit(rng) * size * 10) / 10; };
            figure.push_back({at(tile.width), at(tile.height), at(tile.width), at(tile.height)});
        }
        SCOPED_TRACE("run " + std::to_string(run) + " tile " + std::to_string(tile.width) + " x " +
                     std::to_string(tile.height));
        const std::string first = Convert(tile, figure);
        if (ParsePatternText(first).empty()) continue;
        const PatternFigure f = FigureOfPattern(first, {}, 0, BoundsOf(first));
        ASSERT_TRUE(f.problem.empty())
            << f.problem << FmtDecimals(f.repeat.width - tile.width, 14) << " "
            << FmtDecimals(f.repeat.height - tile.height, 14) << "\n"
            << first;
        // The repeat found divides the figure's own tile.
        EXPECT_NEAR(tile.width / f.repeat.width, std::round(tile.width / f.repeat.width), 1e-6);
        EXPECT_NEAR(tile.height / f.repeat.height, std::round(tile.height / f.repeat.height), 1e-6);
        int failed = 0;
        const std::string second = Convert({f.tileWidth, f.tileHeight}, f.tile.segments, &failed);
        EXPECT_EQ(failed, 0);
        ExpectSameDrawing(first, second, 10.0 * tile.width, 10.0 * tile.height);
        if (HasFailure()) return;
        ++converted;
    }
    EXPECT_GT(converted, 40);
}

}  // namespace
}  // namespace murvex::figure
