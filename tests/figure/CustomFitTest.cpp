// "Op maat": over random segments, the written line keeps the segment and its copies within the
// chosen deviation (measured on the pattern drawn from the text), no lattice direction with a
// shorter repeat would, and a failure names a deviation that works.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "Conversion.h"
#include "PatternFile.h"
#include "PatternGeometry.h"

namespace murvex::figure {
namespace {

struct Segment {
    TileSize tile;
    double x1, y1, x2, y2;
    std::string Describe() const {
        return "tile " + std::to_string(tile.width) + " x " + std::to_string(tile.height) + " (" +
               std::to_string(x1) + ", " + std::to_string(y1) + ")-(" + std::to_string(x2) + ", " +
               std::to_string(y2) + ")";
    }
};

std::vector<Segment> RandomSegments(int count, unsigned seed) {
    std::mt19937_64 rng(seed);
    const TileSize tiles[] = {{600, 300}, {100, 100}, {215, 65}, {1000, 37}, {7, 3}};
    std::uniform_int_distribution<int> pick(0, 4), side(1, 2000);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<Segment> out;
    for (int n = 0; n < count; ++n) {
        const TileSize t = unit(rng) < 0.8 ? tiles[pick(rng)] : TileSize{side(rng), side(rng)};
        out.push_back({t, unit(rng) * t.width, unit(rng) * t.height, unit(rng) * t.width,
                       unit(rng) * t.height});
    }
    return out;
}

double PointToPiece(double px, double py, const DrawnSegment& s) {
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    const double len2 = dx * dx + dy * dy;
    const double t =
        len2 > 0 ? std::clamp(((px - s.x1) * dx + (py - s.y1) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (s.x1 + t * dx), py - (s.y1 + t * dy));
}

// The largest distance from points along the copy of the segment (a, b) tiles away to the
// pattern drawn around that copy.
double CopyDeviation(const Segment& s, const PatternLine& line, int a, int b, double margin) {
    const double ox = a * s.tile.width;
    const double oy = b * s.tile.height;
    const Box box{std::min(s.x1, s.x2) + ox - margin, std::min(s.y1, s.y2) + oy - margin,
                  std::max(s.x1, s.x2) + ox + margin, std::max(s.y1, s.y2) + oy + margin};
    const DrawResult drawn = DrawPattern({line}, box, 200000);
    double worst = 0;
    for (int k = 0; k <= 16; ++k) {
        const double px = ox + s.x1 + (s.x2 - s.x1) * k / 16;
        const double py = oy + s.y1 + (s.y2 - s.y1) * k / 16;
        double nearest = INFINITY;
        for (const DrawnSegment& piece : drawn.segments)
            nearest = std::min(nearest, PointToPiece(px, py, piece));
        worst = std::max(worst, nearest);
    }
    return worst;
}

// Laid through the segment's middle in the direction of k widths and i heights, the line
// misses the segment's ends by this much.
double DirectionDeviation(const Segment& s, long long k, long long i) {
    const double ux = static_cast<double>(k) * s.tile.width;
    const double uy = static_cast<double>(i) * s.tile.height;
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    return std::fabs(ux * dy - uy * dx) / std::hypot(ux, uy) / 2;
}

TEST(OpMaat, EveryCopyStaysWithinTheDeviationAndNoShorterRepeatWould) {
    int converted = 0;
    for (const double limit : {0.05, 0.1, 0.5, 2.0}) {
        for (const Segment& s : RandomSegments(300, 19 + static_cast<unsigned>(limit * 100))) {
            SCOPED_TRACE(s.Describe() + " within " + std::to_string(limit));
            const ConversionSettings settings(Accuracy::OpMaat, limit);
            const std::optional<ConvertedLine> line =
                ConvertSegment(s.tile, s.x1, s.y1, s.x2, s.y2, settings);
            const long double needed = *SmallestMaxDeviation(s.tile, s.x1, s.y1, s.x2, s.y2);
            if (!line) {
                // Only when no direction within the side limit keeps it within the limit.
                EXPECT_GT(needed, limit);
                EXPECT_TRUE(FitLattice(s.tile, s.x1, s.y1, s.x2, s.y2, needed).has_value());
                continue;
            }
            ++converted;
            const std::optional<PatternLine> read = ParsePatternLine(line->text);
            ASSERT_TRUE(read.has_value());
            ASSERT_EQ(read->dashes.size(), 2u);
            const double repeat = read->dashes[0] - read->dashes[1];
            EXPECT_LE(std::fabs(read->shiftX), repeat / 2 + 1e-6) << line->text;
            const long long k = line->repeat.run;
            const long long i = std::llabs(line->repeat.climb);
            EXPECT_LE(k + i, kRepeatSideLimit);
            for (const auto& [a, b] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1},
                                       std::pair{-3, 2}, std::pair{7, -5}}) {
                EXPECT_LE(CopyDeviation(s, *read, a, b, limit + 1), limit + 1e-6)
                    << line->text << " copy " << a << ", " << b;
            }
            // The segment's own sign of climb; a shorter repeat stays outside the limit.
            const double chosen = std::hypot(static_cast<double>(k) * s.tile.width,
                                             static_cast<double>(i) * s.tile.height);
            const double dy = (s.x1 <= s.x2 ? 1 : -1) * (s.y2 - s.y1);
            const long long sign = dy < 0 ? -1 : 1;
            const long long maxRun = static_cast<long long>(chosen / s.tile.width);
            const long long maxClimb = static_cast<long long>(chosen / s.tile.height);
            if (maxRun * maxClimb > 200000) continue;
            for (long long kk = 0; kk <= maxRun; ++kk) {
                for (long long ii = 0; ii <= maxClimb; ++ii) {
                    if (std::gcd(kk, ii) != 1) continue;
                    const double r = std::hypot(static_cast<double>(kk) * s.tile.width,
                                                static_cast<double>(ii) * s.tile.height);
                    if (r >= chosen * (1 - 1e-12)) continue;
                    const Segment mirrored{s.tile, 0, 0, std::fabs(s.x2 - s.x1),
                                           static_cast<double>(sign) * dy};
                    EXPECT_GT(DirectionDeviation(mirrored, kk, ii), limit * (1 - 1e-9))
                        << kk << " widths, " << ii << " heights beats " << line->text;
                }
            }
        }
    }
    EXPECT_GT(converted, 900);
}

TEST(OpMaat, ConvertsTheHandDrawnEdgeTheSearchedLevelsCannot) {
    const TileSize tile{600, 300};
    for (const Accuracy level : {Accuracy::Nauwkeurig, Accuracy::Middel, Accuracy::Laag})
        EXPECT_FALSE(ConvertSegment(tile, 112.517, 124.267, 113.233, 71.233, level));
    const std::optional<ConvertedLine> line = ConvertSegment(
        tile, 112.517, 124.267, 113.233, 71.233, ConversionSettings(Accuracy::OpMaat, 0.1L));
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->lineCase, LineCase::Falling);
    EXPECT_EQ(line->tolerance, 0.1L);
}

TEST(OpMaat, ExactSidesAndDiagonalsComeOutAsInTheOtherLevels) {
    const struct {
        const char* name;
        TileSize tile;
        double x1, y1, x2, y2;
    } rows[] = {
        {"Horizontal", {100, 50}, 10, 10, 60, 10},
        {"VerticalDown", {100, 50}, 20, 30, 20, 0},
        {"Diagonal", {100, 100}, 0, 0, 50, 50},
        {"MirroredDiagonal", {100, 50}, 0, 50, 40, 30},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto custom = ConvertSegment(r.tile, r.x1, r.y1, r.x2, r.y2,
                                           ConversionSettings(Accuracy::OpMaat, 0.1L));
        const auto level = ConvertSegment(r.tile, r.x1, r.y1, r.x2, r.y2, Accuracy::Nauwkeurig);
        ASSERT_TRUE(custom && level);
        EXPECT_EQ(custom->text, level->text);
    }
}

TEST(OpMaat, DeviationMustBeAPositiveNumberWithinTheTile) {
    const TileSize tile{215, 65};
    const struct {
        const char* text;
        bool valid;
    } rows[] = {{"0.1", true}, {"0,5", true},   {"215", true},  {"215.001", false},
                {"0", false},  {"-1", false},   {"nan", false}, {"abc", false},
                {"", false},   {"1e400", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ParseMaxDeviation(tile, r.text).has_value(), r.valid);
    }
    EXPECT_FALSE(MaxDeviationValid(tile, std::nan("")));
    EXPECT_FALSE(MaxDeviationValid(tile, INFINITY));
}

}  // namespace
}  // namespace murvex::figure
