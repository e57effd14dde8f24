// Clipping a segment to the closed tile, in extended precision.
#include "Clip.h"

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
