// Over many plausible brick sizes and rotations: line counts, closing courses, and that the drawn
// lines of every bond outline whole bricks and never run through one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BondGenerator.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "PatternGeometry.h"

namespace murvex::bonds {
namespace {

// Drawing units; the lines are exact doubles, so only rounding in the arithmetic is allowed for.
constexpr double kTolerance = 1e-6;
constexpr int kRuns = 200;
constexpr int kLineCounts[kBondCount] = {8, 4, 32, 32, 24, 8, 8, 8, 16, 340};

std::string Describe(const BondInput& in) {
    return std::string(BondNames()[EffectiveBondIndex(in.bondIndex)]) + " L=" + Fmt10(in.length) +
           " Lv=" + Fmt10(in.lengthJoint) + " H=" + Fmt10(in.height) +
           " Hv=" + Fmt10(in.heightJoint) + " R=" + Fmt10(in.rotation);
}

// Sensible bricks: a joint between nothing and a fifth of the length, a bed joint up to 30.
std::vector<BondInput> RandomInputs(int bond) {
    std::mt19937_64 rng(20260 + static_cast<unsigned>(bond));
    std::uniform_real_distribution<double> length(40, 300), joint(0, 0.2), height(20, 120),
        bed(0, 30), rotation(-360, 360);
    std::vector<BondInput> inputs;
    for (int i = 0; i < kRuns; ++i) {
        BondInput in;
        in.bondIndex = bond;
        in.length = length(rng);
        in.lengthJoint = in.length + in.length * joint(rng);
        in.height = height(rng);
        in.heightJoint = in.height + bed(rng);
        // Every fifth run on a whole quarter turn, where the drawing is exactly axis-parallel.
        in.rotation = i % 5 == 0 ? 90.0 * (i % 4) : rotation(rng);
        inputs.push_back(in);
    }
    return inputs;
}

// The same with the brick's own width: a header between a quarter and three quarters of the
// length, so that the courses no longer close on the periods of (L - J) / 2 headers.
std::vector<BondInput> RandomInputsWithWidth(int bond) {
    std::vector<BondInput> inputs = RandomInputs(bond);
    std::mt19937_64 rng(7781 + static_cast<unsigned>(bond));
    std::uniform_real_distribution<double> share(0.25, 0.75);
    for (BondInput& in : inputs)
        in.width = in.length * share(rng);
    return inputs;
}

struct Rect {
    double x0, y0, x1, y1;
};

// A drawn piece in the bond's own frame (rotation undone), horizontal or vertical.
struct Piece {
    double at;      // y of a horizontal piece, x of a vertical one
    double lo, hi;  // its extent along the line
};

class Wall {
  public:
    Wall(const BondInput& in) : input_(in), bricks_(BondBricks(in)) {
        for (const BrickBlock& b : bricks_) {
            periodX_ = std::max(periodX_, b.periodX);
            periodY_ = std::max(periodY_, b.periodY);
        }
        // Two periods each way, away from the origin so that nothing lines up with the box.
        region_ = {0.37 * periodX_, 0.21 * periodY_, 2.37 * periodX_, 2.21 * periodY_};
        Lay();
        Draw();
    }

    // Bricks whose outline lies wholly inside the region: each edge must be drawn whole.
    void ExpectClosedOutlines() const {
        int checked = 0;
        for (const Rect& r : copies_) {
            if (r.x0 < region_.x0 || r.x1 > region_.x1 || r.y0 < region_.y0 || r.y1 > region_.y1) {
                continue;
            }
            ++checked;
            EXPECT_TRUE(Covered(horizontal_, r.y0, r.x0, r.x1)) << Where("bottom", r);
            EXPECT_TRUE(Covered(horizontal_, r.y1, r.x0, r.x1)) << Where("top", r);
            EXPECT_TRUE(Covered(vertical_, r.x0, r.y0, r.y1)) << Where("left", r);
            EXPECT_TRUE(Covered(vertical_, r.x1, r.y0, r.y1)) << Where("right", r);
        }
        EXPECT_GE(checked, static_cast<int>(bricks_.size()));
    }

    // No drawn piece may pass through the inside of any brick.
    void ExpectNoLineThroughABrick() const {
        for (const Piece& p : horizontal_) {
            for (const Rect& r : Candidates(p.at, p.at)) {
                if (p.at > r.y0 + kTolerance && p.at < r.y1 - kTolerance &&
                    p.hi > r.x0 + kTolerance && p.lo < r.x1 - kTolerance) {
                    ADD_FAILURE() << "horizontal line at y=" << Fmt(p.at) << " from x=" << Fmt(p.lo)
                                  << " to " << Fmt(p.hi) << Where(" crosses", r);
                    return;
                }
            }
        }
        for (const Piece& p : vertical_) {
            for (const Rect& r : Candidates(p.lo, p.hi)) {
                if (p.at > r.x0 + kTolerance && p.at < r.x1 - kTolerance &&
                    p.hi > r.y0 + kTolerance && p.lo < r.y1 - kTolerance) {
                    ADD_FAILURE() << "vertical line at x=" << Fmt(p.at) << " from y=" << Fmt(p.lo)
                                  << " to " << Fmt(p.hi) << Where(" crosses", r);
                    return;
                }
            }
        }
    }

    // Every drawn piece inside the region lies on the outline of some brick.
    void ExpectNoStrayLines() const {
        const auto check = [](const std::vector<Piece>& drawn, const std::vector<Piece>& edges,
                              double lo, double hi, double acrossLo, double acrossHi,
                              const char* kind) {
            for (const Piece& p : drawn) {
                if (p.at < acrossLo || p.at > acrossHi) continue;
                const double a = std::max(p.lo, lo);
                const double b = std::min(p.hi, hi);
                if (a >= b) continue;
                if (!Covered(edges, p.at, a, b)) {
                    ADD_FAILURE() << kind << " line at " << Fmt(p.at) << " from " << Fmt(a)
                                  << " to " << Fmt(b) << " outlines no brick";
                    return;
                }
            }
        };
        std::vector<Piece> horizontalEdges;
        std::vector<Piece> verticalEdges;
        for (const Rect& r : copies_) {
            horizontalEdges.push_back({r.y0, r.x0, r.x1});
            horizontalEdges.push_back({r.y1, r.x0, r.x1});
            verticalEdges.push_back({r.x0, r.y0, r.y1});
            verticalEdges.push_back({r.x1, r.y0, r.y1});
        }
        const auto byLine = [](const Piece& a, const Piece& b) { return a.at < b.at; };
        std::sort(horizontalEdges.begin(), horizontalEdges.end(), byLine);
        std::sort(verticalEdges.begin(), verticalEdges.end(), byLine);
        check(horizontal_, horizontalEdges, region_.x0, region_.x1, region_.y0, region_.y1,
              "horizontal");
        check(vertical_, verticalEdges, region_.y0, region_.y1, region_.x0, region_.x1, "vertical");
    }

    // The bricks lie in courses of height plus bed joint, one head joint apart within a course.
    void ExpectCoursesWithHeadJoints() const {
        const double J = input_.lengthJoint - input_.length;
        std::vector<Rect> sorted = copies_;
        std::set<long> courses;
        for (const Rect& r : sorted) {
            const double course = r.y0 / input_.heightJoint;
            EXPECT_NEAR(course, std::round(course), kTolerance) << Where("off-course", r);
            if (r.y1 > region_.y0 && r.y0 < region_.y1) courses.insert(std::lround(course));
        }
        // No course through the region is left out.
        ASSERT_FALSE(courses.empty());
        EXPECT_EQ(static_cast<long>(courses.size()), *courses.rbegin() - *courses.begin() + 1);
        std::sort(sorted.begin(), sorted.end(), [](const Rect& a, const Rect& b) {
            return a.y0 < b.y0 - kTolerance || (a.y0 <= b.y0 + kTolerance && a.x0 < b.x0);
        });
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            const Rect& a = sorted[i - 1];
            const Rect& b = sorted[i];
            if (std::fabs(a.y0 - b.y0) > kTolerance) continue;
            // Only joints that lie wholly inside the region are known to have both neighbours.
            if (a.x1 < region_.x0 || b.x0 > region_.x1) continue;
            if (std::fabs(b.x0 - a.x1 - J) > kTolerance) {
                ADD_FAILURE() << "joint of " << Fmt(b.x0 - a.x1) << " instead of " << Fmt(J)
                              << Where(" after", a);
                return;
            }
        }
    }

    bool drewOnlyHorizontalAndVertical = true;

  private:
    std::string Where(const char* what, const Rect& r) const {
        return std::string(" ") + what + " brick (" + Fmt(r.x0) + ", " + Fmt(r.y0) + ") - (" +
               Fmt(r.x1) + ", " + Fmt(r.y1) + ")";
    }

    // Every copy of every brick that reaches into the region, sorted by its lower edge.
    void Lay() {
        for (const BrickBlock& b : bricks_) {
            const double iFirst = std::floor((region_.x0 - b.x - b.width) / b.periodX);
            const double iLast = std::ceil((region_.x1 - b.x) / b.periodX);
            const double jFirst = std::floor((region_.y0 - b.y - input_.height) / b.periodY);
            const double jLast = std::ceil((region_.y1 - b.y) / b.periodY);
            for (double i = iFirst; i <= iLast; ++i) {
                for (double j = jFirst; j <= jLast; ++j) {
                    const double x = b.x + i * b.periodX;
                    const double y = b.y + j * b.periodY;
                    copies_.push_back({x, y, x + b.width, y + input_.height});
                }
            }
        }
        std::sort(copies_.begin(), copies_.end(),
                  [](const Rect& a, const Rect& b) { return a.y0 < b.y0; });
    }

    // Draws the bond's lines over the turned region and turns what is drawn back.
    void Draw() {
        const double radians = input_.rotation * std::numbers::pi / 180;
        const double c = std::cos(radians);
        const double s = std::sin(radians);
        const double xs[4] = {region_.x0, region_.x1, region_.x0, region_.x1};
        const double ys[4] = {region_.y0, region_.y0, region_.y1, region_.y1};
        Box box{1e300, 1e300, -1e300, -1e300};
        for (int i = 0; i < 4; ++i) {
            const double xr = xs[i] * c - ys[i] * s;
            const double yr = xs[i] * s + ys[i] * c;
            box = {std::min(box.x0, xr), std::min(box.y0, yr), std::max(box.x1, xr),
                   std::max(box.y1, yr)};
        }
        const DrawResult drawn = DrawPattern(BondPatternLines(input_), box);
        EXPECT_FALSE(drawn.truncated);
        for (const DrawnSegment& seg : drawn.segments) {
            const double x1 = seg.x1 * c + seg.y1 * s;
            const double y1 = -seg.x1 * s + seg.y1 * c;
            const double x2 = seg.x2 * c + seg.y2 * s;
            const double y2 = -seg.x2 * s + seg.y2 * c;
            if (std::fabs(y1 - y2) <= kTolerance) {
                horizontal_.push_back({(y1 + y2) / 2, std::min(x1, x2), std::max(x1, x2)});
            } else if (std::fabs(x1 - x2) <= kTolerance) {
                vertical_.push_back({(x1 + x2) / 2, std::min(y1, y2), std::max(y1, y2)});
            } else {
                drewOnlyHorizontalAndVertical = false;
            }
        }
        const auto byLine = [](const Piece& a, const Piece& b) { return a.at < b.at; };
        std::sort(horizontal_.begin(), horizontal_.end(), byLine);
        std::sort(vertical_.begin(), vertical_.end(), byLine);
    }

    // Whether the pieces on the line `at` together cover [lo, hi].
    static bool Covered(const std::vector<Piece>& pieces, double at, double lo, double hi) {
        const auto first = std::lower_bound(pieces.begin(), pieces.end(), at - kTolerance,
                                            [](const Piece& p, double v) { return p.at < v; });
        std::vector<std::pair<double, double>> spans;
        for (auto it = first; it != pieces.end() && it->at <= at + kTolerance; ++it) {
            spans.emplace_back(it->lo, it->hi);
        }
        std::sort(spans.begin(), spans.end());
        double reached = lo;
        for (const auto& [a, b] : spans) {
            if (a > reached + kTolerance) break;
            reached = std::max(reached, b);
        }
        return reached >= hi - kTolerance;
    }

    // The bricks whose height range overlaps [y0, y1].
    std::vector<Rect> Candidates(double y0, double y1) const {
        const auto first = std::lower_bound(copies_.begin(), copies_.end(), y0 - input_.height,
                                            [](const Rect& r, double v) { return r.y0 < v; });
        std::vector<Rect> out;
        for (auto it = first; it != copies_.end() && it->y0 <= y1; ++it)
            out.push_back(*it);
        return out;
    }

    BondInput input_;
    std::vector<BrickBlock> bricks_;
    double periodX_ = 0;
    double periodY_ = 0;
    Rect region_{};
    std::vector<Rect> copies_;
    std::vector<Piece> horizontal_;
    std::vector<Piece> vertical_;
};

class BondProperties : public testing::TestWithParam<int> {};

TEST_P(BondProperties, LineCountIsFixed) {
    for (const BondInput& in : RandomInputs(GetParam())) {
        EXPECT_EQ(GenerateBond(in).size(), static_cast<std::size_t>(kLineCounts[GetParam()] + 5))
            << Describe(in);
        EXPECT_EQ(BondPatternLines(in).size(), static_cast<std::size_t>(kLineCounts[GetParam()]));
        EXPECT_EQ(BondBricks(in).size() * 4, static_cast<std::size_t>(kLineCounts[GetParam()]));
    }
}

// The written text says what the computed lines say, to its three decimals (the origins that
// are rounded before turning may be off by a little more).
TEST_P(BondProperties, WrittenLinesReadBackAsComputed) {
    for (const BondInput& in : RandomInputs(GetParam())) {
        SCOPED_TRACE(Describe(in));
        const std::vector<PatternLine> read = ParsePatternLines(GenerateBond(in));
        const std::vector<PatternLine> exact = BondPatternLines(in);
        ASSERT_EQ(read.size(), exact.size());
        for (std::size_t i = 0; i < read.size(); ++i) {
            SCOPED_TRACE("line " + std::to_string(i + 1));
            EXPECT_NEAR(read[i].angle, exact[i].angle, 5e-4);
            EXPECT_NEAR(read[i].x, exact[i].x, 2e-3);
            EXPECT_NEAR(read[i].y, exact[i].y, 2e-3);
            EXPECT_EQ(read[i].shiftX, 0);
            EXPECT_NEAR(read[i].shiftY, exact[i].shiftY, 5e-4);
            ASSERT_EQ(read[i].dashes.size(), 2u);
            EXPECT_NEAR(read[i].dashes[0], exact[i].dashes[0], 5e-4);
            EXPECT_NEAR(read[i].dashes[1], exact[i].dashes[1], 5e-4);
            EXPECT_GE(exact[i].dashes[0], 0);
            EXPECT_LE(exact[i].dashes[1], 0);
        }
    }
}

// Also with the brick's own width.
TEST_P(BondProperties, DrawsAWallOfWholeBricks) {
    std::vector<BondInput> inputs = RandomInputs(GetParam());
    for (const BondInput& in : RandomInputsWithWidth(GetParam()))
        inputs.push_back(in);
    for (const BondInput& in : inputs) {
        SCOPED_TRACE(Describe(in) + (in.width ? " width=" + Fmt10(*in.width) : ""));
        const Wall wall(in);
        EXPECT_TRUE(wall.drewOnlyHorizontalAndVertical);
        wall.ExpectClosedOutlines();
        wall.ExpectNoLineThroughABrick();
        wall.ExpectNoStrayLines();
        wall.ExpectCoursesWithHeadJoints();
        if (HasFailure()) return;  // one failing input tells the story
    }
}

INSTANTIATE_TEST_SUITE_P(Bonds, BondProperties, testing::Range(0, kBondCount),
                         [](const auto& info) { return std::string(BondNames()[info.param]); });

TEST(BondProperties, EveryWildverbandCourseClosesOnThePeriod) {
    for (const BondInput& in : RandomInputs(9)) {
        SCOPED_TRACE(Describe(in));
        const std::vector<BrickBlock> bricks = BondBricks(in);
        const double J = in.lengthJoint - in.length;
        const double P = 8.5 * in.lengthJoint;
        std::size_t first = 0;
        int courses = 0;
        for (std::size_t i = 1; i <= bricks.size(); ++i) {
            if (i < bricks.size() && bricks[i].y == bricks[first].y) continue;
            const BrickBlock& last = bricks[i - 1];
            EXPECT_NEAR(last.x + last.width + J, bricks[first].x + P, 1e-9 * P)
                << "course " << courses + 1;
            EXPECT_NEAR(bricks[first].y, courses * in.heightJoint, 1e-9 * in.heightJoint);
            EXPECT_NEAR(bricks[first].periodX, P, 1e-9 * P);
            EXPECT_NEAR(bricks[first].periodY, 8 * in.heightJoint, 1e-9 * in.heightJoint);
            first = i;
            ++courses;
        }
        EXPECT_EQ(courses, 8);
    }
}

}  // namespace
}  // namespace murvex::bonds
