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

// Relative rounding of the extended products and sums below, with room for the angle's sine and
// cosine: a few units in the last place of a 64-bit mantissa.
constexpr long double kMeasureRounding = 0x1p-58L;

// The written line repeats with the tile: the copies of its start point one tile width to the
// right and one tile height up lie within kRepeatTolerance of a dash start (of a line, without
// a gap).
bool WrittenLineRepeats(const std::string& text, long double W, long double H) {
    const std::optional<PatternLine> line = ParsePatternLine(text);
    if (!line || line->dashes.size() != 2) return false;
    const long double tolerance = kRepeatTolerance * std::max(1.0L, std::max(W, H));
    const auto carries = [&](long double dx, long double dy) {
        const std::optional<Miss> miss = MissedBy(*line, dx, dy);
        return miss && miss->distance + miss->error <= tolerance;
    };
    return carries(0, H) && carries(W, 0);
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

// A lattice direction in tile counts: `run` tile widths, `climb` tile heights (both >= 0 while
// searching; the segment is mirrored to rise).
struct Direction {
    long long run = 0;
    long long climb = 0;
    Direction operator+(const Direction& o) const { return {run + o.run, climb + o.climb}; }
    Direction operator*(long long j) const { return {run * j, climb * j}; }
    long long Sides() const { return run + climb; }
};

// The rising segment (dx, dy >= 0) measured against lattice directions.
class SegmentAgainstLattice {
  public:
    SegmentAgainstLattice(long double W, long double H, long double dx, long double dy)
        : W_(W), H_(H), dx_(dx), dy_(dy) {}
    // Positive when the direction lies below the segment (turns clockwise from it), negative
    // above, 0 along it: the cross product of (k W, i H) and (dx, dy).
    long double Side(const Direction& d) const {
        return static_cast<long double>(d.run) * W_ * dy_ -
               static_cast<long double>(d.climb) * H_ * dx_;
    }
    long double Repeat(const Direction& d) const {
        return std::hypot(static_cast<long double>(d.run) * W_,
                          static_cast<long double>(d.climb) * H_);
    }
    // Laid through the segment's middle, the line misses each end by half the segment's length
    // times the sine of the angle between them.
    long double Deviation(const Direction& d) const { return std::fabs(Side(d)) / Repeat(d) / 2; }

  private:
    long double W_, H_, dx_, dy_;
};

// The walk down the Stern-Brocot tree of the slope (in tile counts): every node on the path to
// the segment's own direction, the best rational directions in the order of their size, each
// run of steps to one side taken at once as in its continued fraction. `visit` gets each run of
// nodes, all on one side of the segment and nearing it, as its first node, the step between
// them and its count; it returns true to stop the walk. Nodes beyond kRepeatSideLimit sides are
// never visited.
template <class Visit>
void WalkTowards(const SegmentAgainstLattice& seg, Visit visit) {
    Direction below{1, 0};  // horizontal
    Direction above{0, 1};  // vertical
    for (;;) {
        const Direction node = below + above;
        if (node.Sides() > kRepeatSideLimit) return;
        const long double side = seg.Side(node);
        if (side == 0) {
            visit(node, Direction{}, 1);
            return;
        }
        // Runs below the segment add `above` per step, runs above add `below`.
        const Direction from = side > 0 ? below : above;
        const Direction step = side > 0 ? above : below;
        // Side() is linear along the run: Side(from) + j Side(step) keeps its sign up to the
        // estimate, which is corrected by the test itself.
        const long double ratio = seg.Side(from) / -seg.Side(step);
        const long double bySize =
            static_cast<long double>(kRepeatSideLimit - from.Sides()) / step.Sides();
        long long count =
            static_cast<long long>(std::ceil(ratio) < bySize + 1 ? std::ceil(ratio) : bySize + 1);
        count = std::max(count, 1LL);
        const auto sameSide = [&](long long j) {
            const Direction d = from + step * j;
            return d.Sides() <= kRepeatSideLimit && (seg.Side(d) > 0) == (side > 0) &&
                   seg.Side(d) != 0;
        };
        while (count > 1 && !sameSide(count))
            --count;
        while (sameSide(count + 1))
            ++count;
        if (visit(from + step, step, count)) return;
        const Direction last = from + step * count;
        if (side > 0) {
            below = last;
        } else {
            above = last;
        }
    }
}

// "Op maat": the shift to the neighbouring line of the family through the lattice, for the
// primitive direction (k, i) in tile counts: the lattice vector (c, e) with k e - i c = 1, taken
// as near to the middle of the repeat as the lattice allows, so its part along the line is at
// most half the repeat.
struct Shift {
    long double along = 0;
    long double across = 0;
};

Shift NeighbourShift(long long k, long long i, long double W, long double H) {
    // Extended Euclid on (k, i): k x + i y = g (= 1 for a primitive direction).
    long long oldR = k, r = i, oldX = 1, x = 0, oldY = 0, y = 1;
    while (r != 0) {
        const long long q = oldR / r;
        oldR = std::exchange(r, oldR - q * r);
        oldX = std::exchange(x, oldX - q * x);
        oldY = std::exchange(y, oldY - q * y);
    }
    if (oldR < 0) {
        oldX = -oldX;
        oldY = -oldY;
    }
    // k e - i c = 1 with e = x, c = -y.
    long double c = static_cast<long double>(-oldY);
    long double e = static_cast<long double>(oldX);
    const long double kW = static_cast<long double>(k) * W;
    const long double iH = static_cast<long double>(i) * H;
    const long double repeat2 = kW * kW + iH * iH;
    // Moving the lattice vector by whole repeats keeps it on the neighbouring line.
    const long double t = std::nearbyint((c * W * kW + e * H * iH) / repeat2);
    c -= t * static_cast<long double>(k);
    e -= t * static_cast<long double>(i);
    const long double repeat = std::sqrt(repeat2);
    return {(c * W * kW + e * H * iH) / repeat, W * H / repeat};
}

}  // namespace

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

std::optional<Accuracy> AccuracyFromText(std::string_view text) {
    for (Accuracy a : {Accuracy::Nauwkeurig, Accuracy::Middel, Accuracy::Laag, Accuracy::OpMaat}) {
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
        case Accuracy::OpMaat:
            return "Op maat";
    }
    return "Nauwkeurig";
}

Accuracy AccuracyFromIndex(int index) {
    if (index == 1) return Accuracy::Middel;
    if (index == 2) return Accuracy::Laag;
    if (index == 3) return Accuracy::OpMaat;
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
        case Accuracy::OpMaat:
            return 0;
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
        case Accuracy::OpMaat:
            count = 0;
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

std::optional<LatticeFit> FitLattice(const TileSize& tile, long double x1, long double y1,
                                     long double x2, long double y2, long double maxDeviation) {
    if (tile.width <= 0 || tile.height <= 0 || !AllFinite({x1, y1, x2, y2})) return std::nullopt;
    if (!(maxDeviation >= 0)) return std::nullopt;
    const long double dx = std::fabs(x2 - x1);
    const long double dy = (x1 <= x2) ? y2 - y1 : y1 - y2;
    if (!AllFinite({dx, dy})) return std::nullopt;
    const bool falling = dy < 0;
    // Every cross product of the walk stays finite, whatever extended coordinates come in.
    const long double largest = static_cast<long double>(kRepeatSideLimit) *
                                std::max(tile.width, tile.height) * std::max(dx, std::fabs(dy));
    if (!std::isfinite(largest)) return std::nullopt;
    const SegmentAgainstLattice seg(tile.width, tile.height, dx, std::fabs(dy));
    const auto fit = [&](const Direction& d) {
        return LatticeFit{{falling ? -d.climb : d.climb, d.run}, seg.Deviation(d)};
    };
    // The tile's sides come first: nothing repeats sooner than the shorter of them.
    std::optional<LatticeFit> best;
    long double bestRepeat = 0;
    for (const Direction& d : {Direction{1, 0}, Direction{0, 1}}) {
        if (seg.Deviation(d) <= maxDeviation && (!best || seg.Repeat(d) < bestRepeat)) {
            best = fit(d);
            bestRepeat = seg.Repeat(d);
        }
    }
    if (best || dx == 0 || dy == 0) return best;
    // The directions within maxDeviation form one interval of angles around the segment's own;
    // the first node of the walk inside it is the simplest fraction there, whose run and climb
    // are both the smallest, so its repeat is the shortest.
    WalkTowards(seg, [&](const Direction& first, const Direction& step, long long count) {
        if (seg.Deviation(first + step * (count - 1)) > maxDeviation) return false;
        long long lo = 0;
        long long hi = count - 1;
        while (lo < hi) {
            const long long mid = lo + (hi - lo) / 2;
            if (seg.Deviation(first + step * mid) <= maxDeviation) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        best = fit(first + step * lo);
        return true;
    });
    return best;
}

std::optional<long double> SmallestMaxDeviation(const TileSize& tile, long double x1,
                                                long double y1, long double x2, long double y2) {
    if (tile.width <= 0 || tile.height <= 0 || !AllFinite({x1, y1, x2, y2})) return std::nullopt;
    const long double dx = std::fabs(x2 - x1);
    const long double dy = std::fabs(y2 - y1);
    const long double largest = static_cast<long double>(kRepeatSideLimit) *
                                std::max(tile.width, tile.height) * std::max(dx, dy);
    if (!std::isfinite(largest)) return std::nullopt;
    const SegmentAgainstLattice seg(tile.width, tile.height, dx, dy);
    long double smallest = std::min(seg.Deviation({1, 0}), seg.Deviation({0, 1}));
    if (dx == 0 || dy == 0) return smallest;
    // The nearest directions of bounded size are on the walk: within a run the last node is the
    // nearest.
    WalkTowards(seg, [&](const Direction& first, const Direction& step, long long count) {
        smallest = std::min(smallest, seg.Deviation(first + step * (count - 1)));
        return false;
    });
    return smallest;
}

std::optional<ConvertedLine> ConvertSegment(const TileSize& tile, long double x1, long double y1,
                                            long double x2, long double y2,
                                            const ConversionSettings& settings) {
    if (tile.width <= 0 || tile.height <= 0 || !AllFinite({x1, y1, x2, y2})) return std::nullopt;
    const long double W = tile.width;
    const long double H = tile.height;
    const long double diagonalRadians = std::atan(H / W);
    const long double diagonal = Degrees(diagonalRadians);
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const long double dx = x2 - x1;
    const long double dy = y2 - y1;
    const long double length = std::sqrt(dx * dx + dy * dy);
    const long double theta = x2 != x1 ? std::atan(dy / dx) : (y1 < y2 ? kPi / 2 : 3 * kPi / 2);
    const bool custom = settings.accuracy == Accuracy::OpMaat;

    ConvertedLine out;
    Fields f;
    f.angle = Degrees(theta);
    long double originX = x1;
    long double originY = y1;
    const long double angle10 = Round(f.angle * 10);
    const long double theta100 = Round(theta * 100);
    const bool horizontal = theta100 == 0;
    // Falling to the right as steeply is vertical too: down from its left, upper, end.
    const bool vertical = theta100 == 157 || theta100 == -157 || theta100 == 471;
    const bool diagonalWindow = angle10 == Round(diagonal * 10) || angle10 == Round(diagonal * -10);
    // "Op maat" takes the lattice direction with the shortest repeat within its deviation. A
    // segment lying exactly on the tile's side or diagonal that this direction follows is
    // written as the other levels write it, where that shift is no longer than half the repeat.
    std::optional<LatticeFit> fit;
    long double dashLength = length;
    if (custom) {
        fit = FitLattice(tile, x1, y1, x2, y2, settings.maxDeviation);
        if (!fit) return std::nullopt;
        const RepeatStep st = fit->step;
        const bool asCase =
            fit->deviation == 0 &&
            ((horizontal && st.climb == 0) || (!horizontal && vertical && st.run == 0) ||
             (!horizontal && !vertical && diagonalWindow && st.run == 1 &&
              std::llabs(st.climb) == 1 && H <= W));
        if (asCase) fit.reset();
    }
    // Horizontal and vertical come before the diagonal: in a tile far taller than wide (or
    // wider than tall) the diagonal's tenth of a degree lies inside the vertical (horizontal)
    // window, and the diagonal's shift, one tile height along the segment's own angle, then
    // has next to no part across the line.
    if (fit) {
        const long long k = fit->step.run;
        const long long i = fit->step.climb;
        out.lineCase = i < 0 ? LineCase::Falling : LineCase::Rising;
        out.repeat = fit->step;
        out.tolerance = settings.maxDeviation;
        const long double runW = static_cast<long double>(k) * W;
        const long double climbH = static_cast<long double>(i) * H;
        f.repeat = std::hypot(runW, climbH);
        f.angle = k == 0 ? (i > 0 ? 90 : 270) : Degrees(std::atan(climbH / runW));
        const Shift shift = NeighbourShift(k, i, W, H);
        f.along = shift.along;
        f.across = shift.across;
        // The line runs through the segment's middle, so each end misses it by the same
        // amount: the start point moved across by half of the end point's miss.
        const long double ux = runW / f.repeat;
        const long double uy = climbH / f.repeat;
        long double sx = x1, sy = y1, ex = dx, ey = dy;
        if (ux * dx + uy * dy < 0) {  // a vertical direction against the segment
            sx = x2;
            sy = y2;
            ex = -dx;
            ey = -dy;
        }
        const long double half = (ux * ey - uy * ex) / 2;
        originX = sx - half * uy;
        originY = sy + half * ux;
        // The dash is the segment's projection on the line, so that its end misses the
        // segment's by half the miss as well (the segment's own length would run past it).
        dashLength = ux * ex + uy * ey;
        if (!AllFinite({f.angle, f.along, f.across, f.repeat, originX, originY}))
            return std::nullopt;
    } else if (horizontal) {
        out.lineCase = LineCase::Horizontal;
        out.repeat = {0, 1};
        f.angle = 0;
        f.across = H;
        f.repeat = W;
    } else if (vertical) {
        out.lineCase = LineCase::Vertical;
        out.repeat = {1, 0};
        f.angle = theta100 == 157 ? 90 : 270;
        f.across = W;
        f.repeat = H;
    } else if (diagonalWindow) {
        // The diagonal's own angle, not the segment's: with it the shift one tile height
        // straight up and the repeat along the diagonal both land on copies of the start point,
        // so no copy drifts off the family however far the pattern reaches.
        const long double direction = theta < 0 ? -diagonalRadians : diagonalRadians;
        out.lineCase = LineCase::Diagonal;
        out.repeat = {theta < 0 ? -1 : 1, 1};
        f.angle = Degrees(direction);
        f.repeat = std::sqrt(W * W + H * H);
        f.along = H * std::sin(direction);
        f.across = H * std::cos(direction);
    } else {
        const bool falling = !(theta > 0);
        const std::optional<General> g = SolveGeneral(tile, std::fabs(theta), settings.accuracy);
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

    long double dash = dashLength;
    long double gap = -(f.repeat - dashLength);
    if (gap > 0) {
        // A positive second entry would be a second pen-down dash: the segment overlaps its own
        // copy, so the line is drawn continuously instead.
        dash = f.repeat;
        gap = -0.0L;
        out.continuous = true;
    }
    out.text = LineText(f, originX, originY, dash, gap);
    // Ten decimals carry the angle and the shifts only so far: over a long repeat (a huge tile,
    // many tile widths) the digits that are cut off move the copies of the segment off the
    // family. Judged on the text as a reader gets it.
    if (!WrittenLineRepeats(out.text, W, H)) return std::nullopt;
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
                                               const ConversionSettings& settings) {
    const std::array<double, 4> v = RowCellValues(cells);
    return ConvertSegment(tile, v[0], v[1], v[2], v[3], settings);
}

bool MaxDeviationValid(const TileSize& tile, long double deviation) {
    return std::isfinite(deviation) && deviation > 0 &&
           deviation <= std::max(tile.width, tile.height);
}

std::optional<long double> ParseMaxDeviation(const TileSize& tile, std::string_view text) {
    const ParseResult parsed = ParseDecimal(text);
    if (!parsed.ok || !MaxDeviationValid(tile, parsed.value)) return std::nullopt;
    return parsed.value;
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

ConvertedRow ConvertRowCells(const TileSize& tile, const RowCells& cells,
                             const ConversionSettings& settings, int row) {
    ConvertedRow out;
    out.row = row;
    out.drawn = RowCellValues(cells);
    const std::array<double, 4>& v = out.drawn;
    out.line = ConvertSegment(tile, v[0], v[1], v[2], v[3], settings);
    if (!out.line && settings.accuracy == Accuracy::OpMaat) {
        out.neededDeviation = SmallestMaxDeviation(tile, v[0], v[1], v[2], v[3]).value_or(0);
    }
    return out;
}

std::vector<ConvertedRow> ConvertFiguurGrid(const TileSize& tile, const TextGrid& grid,
                                            const ConversionSettings& settings,
                                            Platform* platform) {
    std::vector<ConvertedRow> rows;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const RowCells cells = {grid.Cell(1, row), grid.Cell(2, row), grid.Cell(3, row),
                                grid.Cell(4, row)};
        if (RowCellsEmpty(cells)) continue;
        const Cursor saved = platform ? platform->CurrentCursor() : Cursor::Default;
        if (platform) platform->SetCursor(Cursor::Busy);
        rows.push_back(ConvertRowCells(tile, cells, settings, row));
        if (platform) platform->SetCursor(saved);
    }
    return rows;
}

FigureHatch FigureHatchLines(const TileSize& tile, const TextGrid& grid,
                             const PatternHeader& header, const ConversionSettings& settings,
                             Platform* platform, PatternStyle style) {
    return FigureHatchLines(header, ConvertFiguurGrid(tile, grid, settings, platform), style, tile);
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
