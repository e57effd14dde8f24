// "Op maat" over random segments: every copy within the deviation, measured on the pattern drawn
// from the written text; no shorter lattice repeat would do; a failure names a deviation that
// works.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "Conversion.h"
#include "ConversionReport.h"
#include "NumberText.h"
#include "PatternGeometry.h"

namespace murvex::figure {
namespace {

// The copy of the segment (a, b) tiles away, measured against the pattern drawn around it.
double CopyDistance(const TileSize& t, DrawnSegment s, const PatternLine& line, int a, int b,
                    double m) {
    s = {s.x1 + a * t.width, s.y1 + b * t.height, s.x2 + a * t.width, s.y2 + b * t.height};
    const Box box{std::min(s.x1, s.x2) - m, std::min(s.y1, s.y2) - m, std::max(s.x1, s.x2) + m,
                  std::max(s.y1, s.y2) + m};
    return LargestDistance(s, DrawPattern({line}, box, 200000).segments, 1LL << 40).value();
}

TEST(OpMaat, EveryCopyStaysWithinTheDeviationAndNoShorterRepeatWould) {
    std::mt19937_64 rng(19);
    const TileSize tiles[] = {{600, 300}, {100, 100}, {215, 65}, {1000, 37}, {7, 3}, {1, 900}};
    std::uniform_real_distribution<double> unit(0, 1);
    int converted = 0;
    for (int n = 0; n < 1200; ++n) {
        const TileSize t = tiles[n % 6];
        const double limit = std::pow(10.0, -2 + 2.5 * unit(rng));
        const DrawnSegment s{unit(rng) * t.width, unit(rng) * t.height, unit(rng) * t.width,
                             unit(rng) * t.height};
        SCOPED_TRACE(testing::Message() << t.width << "x" << t.height << " (" << s.x1 << ", "
                                        << s.y1 << ")-(" << s.x2 << ", " << s.y2 << ") " << limit);
        const auto line = ConvertSegment(t, s.x1, s.y1, s.x2, s.y2, {Accuracy::OpMaat, limit});
        const long double needed = *SmallestMaxDeviation(t, s.x1, s.y1, s.x2, s.y2);
        if (!line) {  // only when no direction within the side limit would do
            EXPECT_GT(needed, limit);
            EXPECT_TRUE(FitLattice(t, s.x1, s.y1, s.x2, s.y2, needed));
            continue;
        }
        ++converted;
        const PatternLine read = *ParsePatternLine(line->text);
        EXPECT_LE(std::fabs(read.shiftX), (read.dashes[0] - read.dashes[1]) / 2 + 1e-6);
        // The dash's ends lie by the segment's ends (the other way round from the copies).
        if (!line->continuous) {
            const CosSin u = CosSinDegrees(read.angle);
            const double ex = read.x + read.dashes[0] * u.c, ey = read.y + read.dashes[0] * u.s;
            const auto miss = [&](double ax, double ay, double bx, double by) {
                return std::max(std::hypot(read.x - ax, read.y - ay), std::hypot(ex - bx, ey - by));
            };
            EXPECT_LE(std::min(miss(s.x1, s.y1, s.x2, s.y2), miss(s.x2, s.y2, s.x1, s.y1)),
                      limit + 1e-6)
                << line->text;
        }
        for (const auto& [a, b] : {std::pair{0, 0}, {1, 0}, {0, 1}, {-3, 2}, {7, -5}})
            EXPECT_LE(CopyDistance(t, s, read, a, b, limit + 1), limit + 1e-6) << line->text;
        // Every lattice direction with a shorter repeat misses the segment's ends by more.
        const long long k = line->repeat.run, i = std::llabs(line->repeat.climb);
        EXPECT_LE(k + i, kRepeatSideLimit);
        const double repeat = std::hypot(k * t.width, i * t.height);
        const double dx = std::fabs(s.x2 - s.x1), dy = std::fabs(s.y2 - s.y1);
        for (long long kk = 0; kk * t.width < repeat && kk < 400; ++kk) {
            for (long long ii = 0; ii * t.height < repeat && ii < 400; ++ii) {
                const double r = std::hypot(kk * t.width, ii * t.height);
                if (std::gcd(kk, ii) != 1 || r >= repeat * (1 - 1e-12)) continue;
                EXPECT_GT(std::fabs(kk * t.width * dy - ii * t.height * dx) / r / 2,
                          limit * (1 - 1e-9))
                    << kk << " widths, " << ii << " heights beat " << line->text;
            }
        }
    }
    EXPECT_GT(converted, 1000);
}

TEST(OpMaat, ConvertsTheHandDrawnEdgeAndKeepsExactSidesAndDiagonalsAsTheLevels) {
    const TileSize tile{600, 300};
    EXPECT_FALSE(ConvertSegment(tile, 112.517, 124.267, 113.233, 71.233, Accuracy::Middel));
    const auto edge =
        ConvertSegment(tile, 112.517, 124.267, 113.233, 71.233, {Accuracy::OpMaat, 0.1L});
    ASSERT_TRUE(edge.has_value());
    EXPECT_EQ(edge->lineCase, LineCase::Falling);
    const std::array<double, 4> exact[] = {
        {10, 10, 60, 10}, {20, 30, 20, 0}, {20, 0, 20, 30}, {0, 50, 40, 30}, {0, 0, 50, 25}};
    for (const auto& [x1, y1, x2, y2] : exact) {
        SCOPED_TRACE(testing::Message() << x1 << ", " << y1 << ", " << x2 << ", " << y2);
        const auto custom = ConvertSegment({100, 50}, x1, y1, x2, y2, {Accuracy::OpMaat, 0.1L});
        const auto level = ConvertSegment({100, 50}, x1, y1, x2, y2, Accuracy::Nauwkeurig);
        ASSERT_TRUE(custom && level);
        EXPECT_EQ(custom->text, level->text);
    }
}

}  // namespace
}  // namespace murvex::figure
