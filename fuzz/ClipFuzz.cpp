// The clip on random segments around a random tile: a result lies inside the closed tile and on
// the segment's line, within a tolerance; its end points are ordered by x; an end point inside
// the tile is kept exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "Clip.h"
#include "FigureModel.h"

using namespace murvex::figure;

namespace {

long double Coordinate(FuzzedDataProvider& in, int side) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return in.ConsumeIntegralInRange<long long>(-2LL * side, 3LL * side);
        case 1:
            return (in.ConsumeProbability<long double>() * 5 - 2) * side;
        case 2:
            // Three decimals, as the grid's cells hold them.
            return in.ConsumeIntegralInRange<long long>(-2000LL * side, 3000LL * side) / 1000.0L;
        default:
            return in.ConsumeFloatingPointInRange<double>(-1e12, 1e12);
    }
}

bool Inside(TilePoint p, long double w, long double h) {
    return 0 <= p.x && p.x <= w && 0 <= p.y && p.y <= h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int w = in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 1000)
                                   : in.ConsumeIntegralInRange(1, 2147483647);
    const int h = in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 1000)
                                   : in.ConsumeIntegralInRange(1, 2147483647);
    TileSegment s;
    s.start = {Coordinate(in, w), Coordinate(in, h)};
    s.end = {Coordinate(in, w), Coordinate(in, h)};
    const std::optional<TileSegment> clipped = ClipFiguurLijn(s, w, h);
    if (!clipped) {
        // Both end points inside: nothing to cut, so the clip cannot fail.
        if (Inside(s.start, w, h) && Inside(s.end, w, h)) std::abort();
        return 0;
    }
    const TilePoint a = clipped->start;
    const TilePoint b = clipped->end;
    if (a.x > b.x) std::abort();
    const long double scale =
        std::max({static_cast<long double>(w), static_cast<long double>(h), std::fabs(s.start.x),
                  std::fabs(s.start.y), std::fabs(s.end.x), std::fabs(s.end.y)});
    const long double tolerance = 1e-9L * scale;
    for (const TilePoint& p : {a, b}) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
        if (p.x < -tolerance || p.x > w + tolerance) std::abort();
        if (p.y < -tolerance || p.y > h + tolerance) std::abort();
    }
    for (const TilePoint& p : {s.start, s.end}) {
        if (Inside(p, w, h) && !(p == a || p == b)) std::abort();
    }
    // On the segment's line: the cross product against its direction, over its length.
    const long double dx = s.end.x - s.start.x;
    const long double dy = s.end.y - s.start.y;
    const long double length = std::hypot(dx, dy);
    if (length > 0) {
        for (const TilePoint& p : {a, b}) {
            const long double off = std::fabs((p.x - s.start.x) * dy - (p.y - s.start.y) * dx);
            if (off / length > tolerance) std::abort();
        }
    }
    return 0;
}
