// Clipping a segment to the closed tile, in extended precision.
#include "Clip.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "NumberText.h"

namespace murvex::figure {

namespace {

// pi/2 as the angle helpers guard it (SafeTan gives 0 here), one unit in the last place below
// the long double nearest to pi/2.
constexpr long double kHalfPi = 1.5707963267948966192L;

bool Inside(TilePoint p, long double w, long double h) {
    return 0 <= p.x && p.x <= w && 0 <= p.y && p.y <= h;
}

bool StrictlyBetween(long double v, long double hi) {
    return 0 < v && v < hi;
}

}  // namespace

std::optional<TileSegment> ClipFiguurLijn(TileSegment segment, long double w, long double h) {
    TilePoint p1 = segment.start;
    TilePoint p2 = segment.end;
    if (p1.x > p2.x) std::swap(p1, p2);
    const bool inside1 = Inside(p1, w, h);
    const bool inside2 = Inside(p2, w, h);

    const long double dx = p2.x - p1.x;
    const long double dy = p2.y - p1.y;
    const bool vertical = !(dx > 0);
    const long double a = vertical ? (dy > 0 ? kHalfPi : -kHalfPi) : std::atan(dy / dx);
    const long double t = SafeTan(a);

    if (!inside1) {
        bool moved = false;
        if (p1.y > h && a < 0) {
            const long double x = vertical ? p1.x : p1.x - (p1.y - h) / t;
            if (vertical ? (0 <= x && x <= w) : StrictlyBetween(x, w)) {
                p1 = {x, h};
                moved = true;
            }
        }
        // A vertical segment left of the tile never reaches it; its zero slope tangent would
        // otherwise carry the start point onto the left edge at its own height.
        if (!moved && p1.x < 0 && !vertical) {
            const long double y = p1.y + t * (-p1.x);
            if (StrictlyBetween(y, h)) {
                p1 = {0, y};
                moved = true;
            }
        }
        if (!moved && p1.y < 0 && a > 0) {
            const long double x = vertical ? p1.x : p1.x + (-p1.y) / t;
            if (vertical ? (0 <= x && x <= w) : StrictlyBetween(x, w)) {
                p1 = {x, 0};
                moved = true;
            }
        }
        if (!moved) return std::nullopt;
    }

    if (!inside2) {
        bool moved = false;
        if (p2.y > h && a > 0) {
            // The start point already lies within 0 <= x <= W, so a vertical segment does too.
            const long double x = vertical ? p2.x : p2.x - (p2.y - h) / t;
            if (vertical || StrictlyBetween(x, w)) {
                p2 = {x, h};
                moved = true;
            }
        }
        if (!moved && p2.y < 0 && a < 0) {
            const long double x = vertical ? p2.x : p2.x - (-p2.y) / SafeTan(-a);
            if (vertical || StrictlyBetween(x, w)) {
                p2 = {x, 0};
                moved = true;
            }
        }
        if (!moved && p2.x > w) {
            const long double y = p2.y - t * (p2.x - w);
            if (StrictlyBetween(y, h)) {
                p2 = {w, y};
                moved = true;
            }
        }
        if (!moved) return std::nullopt;
    }
    // A steep segment's crossings go through the tangent of an angle near pi/2, whose rounding
    // can put the two ends of a near-vertical result the wrong way round in x.
    if (p1.x > p2.x) std::swap(p1, p2);
    return TileSegment{p1, p2};
}

}  // namespace murvex::figure

namespace murvex::figure {

long double ReduceByPeriods(long double x, long double period) {
    const long double r = x - std::floor(x / period) * period;
    return r >= period || r < 0 ? 0 : r;
}

std::vector<TileSegment> WrapIntoTile(const TileSegment& segment, long double width,
                                      long double height) {
    const TilePoint p = segment.start;
    const TilePoint q = segment.end;
    const long double eps = std::max(width, height) * 1e-9L;
    const auto inside = [&](TilePoint t) {
        return t.x >= -eps && t.x <= width + eps && t.y >= -eps && t.y <= height + eps;
    };
    const auto onto = [&](TilePoint t) {
        return TilePoint{std::clamp<long double>(t.x, 0, width),
                         std::clamp<long double>(t.y, 0, height)};
    };
    if (inside(p) && inside(q)) return {{onto(p), onto(q)}};
    // Where the segment crosses a border, as fractions of its length.
    std::vector<long double> cuts{0, 1};
    const auto crossings = [&](long double a, long double b, long double period) {
        if (a == b) return;
        const long double first = std::floor(std::min(a, b) / period) + 1;
        const long double last = std::ceil(std::max(a, b) / period) - 1;
        for (long double k = first; k <= last && cuts.size() < 64; ++k)
            cuts.push_back((k * period - a) / (b - a));
    };
    crossings(p.x, q.x, width);
    crossings(p.y, q.y, height);
    std::sort(cuts.begin(), cuts.end());
    const auto at = [&](long double t) {
        if (t <= 0) return p;
        if (t >= 1) return q;
        return TilePoint{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t};
    };
    std::vector<TileSegment> parts;
    const long double shortest = std::max(width, height) * 1e-6L;
    for (std::size_t i = 1; i < cuts.size(); ++i) {
        const TilePoint a = at(cuts[i - 1]);
        const TilePoint b = at(cuts[i]);
        if (std::hypot(b.x - a.x, b.y - a.y) < shortest) continue;
        // The part's middle tells which tile it lies in.
        const long double kx = std::floor((a.x + b.x) / 2 / width);
        const long double ky = std::floor((a.y + b.y) / 2 / height);
        parts.push_back({onto({a.x - kx * width, a.y - ky * height}),
                         onto({b.x - kx * width, b.y - ky * height})});
    }
    return parts;
}

}  // namespace murvex::figure
