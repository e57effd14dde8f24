// A pattern's rectangular repeat, and what the pattern draws in one such tile.
#include "PatternRepeat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "NumberText.h"
#include "Text.h"

namespace murvex {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// The dash list as a repeat along the line: its shortest period (a list that repeats itself
// within its length, such as 5, -5, 5, -5, repeats every 10), or solid, or drawing nothing.
struct DashRepeat {
    bool solid = false;
    bool blank = false;
    double period = 0;
    std::size_t entries = 0;
};

DashRepeat RepeatOfDashes(const std::vector<double>& dashes, double tolerance) {
    DashRepeat r;
    if (std::none_of(dashes.begin(), dashes.end(), [](double v) { return v < 0; })) {
        r.solid = true;
        return r;
    }
    if (std::all_of(dashes.begin(), dashes.end(), [](double v) { return v < 0; })) {
        r.blank = true;
        return r;
    }
    const std::size_t n = dashes.size();
    r.entries = n;
    for (const double v : dashes)
        r.period += std::fabs(v);
    for (std::size_t part = 1; part < n; ++part) {
        if (n % part != 0) continue;
        bool same = true;
        for (std::size_t i = part; i < n && same; ++i)
            same = std::fabs(dashes[i] - dashes[i - part]) <= tolerance;
        if (same) {
            r.period /= static_cast<double>(n / part);
            r.entries = part;
            break;
        }
    }
    return r;
}

// The smallest j >= 1 (up to jMax) with j * x within allowed(j) of a whole number, looked for
// among the denominators of the continued fraction of x: the first j that comes that close is
// always one of them.
template <typename Allowed>
std::optional<double> SmallestWholeMultiple(double x, double jMax, Allowed allowed) {
    double h1 = 1, h2 = 0, k1 = 0, k2 = 1;
    double r = x;
    for (int step = 0; step < 64; ++step) {
        const double a = std::floor(r);
        const double h = a * h1 + h2;
        const double k = a * k1 + k2;
        if (k > jMax) return std::nullopt;
        if (k >= 1) {
            const double off = std::fabs(k * x - std::round(k * x));
            if (off <= allowed(k)) return k;
            // The next denominator of the same step (a + 1) can be the nearer one.
            const double k2nd = k + k1;
            if (k2nd >= 1 && k2nd <= jMax &&
                std::fabs(k2nd * x - std::round(k2nd * x)) <= allowed(k2nd)) {
                return k2nd;
            }
        }
        const double frac = r - a;
        if (!(frac > 1e-300)) return std::nullopt;
        r = 1 / frac;
        if (!std::isfinite(r)) return std::nullopt;
        h2 = h1;
        h1 = h;
        k2 = k1;
        k1 = k;
    }
    return std::nullopt;
}

// How a family repeats along the axis (ex, ey): not at all, every `length`, or at any distance.
struct AxisRepeat {
    enum Kind { Any, Every, Never } kind = Any;
    double length = 0;
    RepeatStatus why = RepeatStatus::Found;
    // How far the length may be off, from the written numbers' error.
    double error = 0;
};

AxisRepeat RepeatAlong(const PatternLine& l, const DashRepeat& dash, double ex, double ey,
                       const RepeatBounds& b) {
    const CosSin dir = CosSinDegrees(l.angle);
    const double along = ex * dir.c + ey * dir.s;
    const double across = -ex * dir.s + ey * dir.c;
    const double turnTolerance = b.tolerance * kDegree;
    if (std::fabs(across) <= turnTolerance) {
        // Along the family's own lines: the dash period, or anything for a solid line.
        if (dash.solid) return {};
        return {AxisRepeat::Every, dash.period, RepeatStatus::Found,
                10 * b.tolerance * static_cast<double>(1 + dash.entries)};
    }
    if (std::fabs(l.shiftY) <= b.tolerance)
        return {AxisRepeat::Never, 0, RepeatStatus::LineDrawnOnce};
    // Moving by j * step crosses j lines of the family; along them the dashes move by j * slide.
    const double step = std::fabs(l.shiftY / across);
    if (!(step <= b.maxSide)) return {AxisRepeat::Never, 0, RepeatStatus::NoRepeat};
    // The step carries the error of the shift across and, steeply more so the more nearly the
    // lines run along the axis, that of the turn.
    const double stepError =
        10 * step * (b.tolerance / std::fabs(l.shiftY) + turnTolerance / std::fabs(across));
    if (dash.solid) return {AxisRepeat::Every, step, RepeatStatus::Found, stepError};
    const double lines = across / l.shiftY > 0 ? 1.0 : -1.0;
    const double slide = step * along - lines * l.shiftX;
    const double x = slide / dash.period - std::floor(slide / dash.period);
    const auto allowed = [&](double j) {
        // The written numbers' own error, carried over every line crossed (the shift across
        // enters the step as often as it is longer than the shift), and the turn's error over
        // the distance moved; ten times over, for what the arithmetic adds.
        return 10 *
               (b.tolerance * (2 + j) * (1 + step / std::fabs(l.shiftY)) +
                j * step * turnTolerance) /
               dash.period;
    };
    const std::optional<double> j = SmallestWholeMultiple(x, b.maxSide / step, allowed);
    if (!j) return {AxisRepeat::Never, 0, RepeatStatus::NoRepeat};
    return {AxisRepeat::Every, *j * step, RepeatStatus::Found, *j * stepError};
}

// A repeat along one axis and how far it may be off.
struct Side {
    double length = 0;
    double error = 0;
};

// The smallest common whole multiple of the families' repeats along one axis; 0 when any.
std::optional<Side> CommonRepeat(const std::vector<Side>& sides, const RepeatBounds& b) {
    Side common;
    for (const Side& side : sides) {
        if (common.length == 0) {
            common = side;
            continue;
        }
        const double length = side.length;
        const double x = common.length / length;
        // Each repeat carries the error of its lines: ten tolerances per unit of its length, or
        // the error its own search allowed where that is larger.
        const auto allowed = [&](double m) {
            return std::max(10 * b.tolerance * (2 + m) * (1 + common.length),
                            m * (common.error + x * side.error)) /
                   length;
        };
        const std::optional<double> m =
            SmallestWholeMultiple(x, b.maxSide / common.length, allowed);
        if (!m) return std::nullopt;
        common = {common.length * *m, std::max(common.error * *m, side.error * *m * x)};
    }
    return common;
}

// Whether moving by (wx, wy) maps the family onto itself: a whole number of shifts across it, and
// then along the lines a whole number of dash periods (any distance for a solid line). The move
// is a fraction of a repeat found over `reach` units, and carries that repeat's error: the
// allowance grows with the lines crossed, the distance and the reach, and stays a hundredth of
// the spacing of the lines and their dashes.
bool InFamilyLattice(const PatternLine& l, const DashRepeat& dash, const CosSin& dir, double wx,
                     double wy, double reach, double tolerance) {
    const double along = wx * dir.c + wy * dir.s;
    const double across = -wx * dir.s + wy * dir.c;
    const double spacing = std::fabs(l.shiftY);
    const double lines = spacing > tolerance ? std::round(across / l.shiftY) : 0;
    double allowed = 10 * tolerance * (2 + std::fabs(lines)) *
                     (1 + std::fabs(wx) + std::fabs(wy) + reach / std::max(spacing, 1.0));
    if (spacing > tolerance) allowed = std::min(allowed, spacing / 100);
    if (!dash.solid) allowed = std::min(allowed, dash.period / 100);
    if (std::fabs(across - lines * l.shiftY) > allowed) return false;
    if (dash.solid) return true;
    const double rest = along - lines * l.shiftX;
    return std::fabs(rest - std::round(rest / dash.period) * dash.period) <= allowed;
}

// Families that differ only in their origin: the same angle, shifts and dashes, so the same
// lattice of copies.
bool SameKind(const PatternLine& a, const PatternLine& b, double tolerance) {
    // Each number may be off by the tolerance, so two roundings of one value differ by twice it
    // (and by the binary form of the decimals).
    const auto near = [&](double p, double q) {
        return std::fabs(p - q) <= 2 * tolerance + 4 * std::numeric_limits<double>::epsilon() *
                                                       (std::fabs(p) + std::fabs(q));
    };
    if (!near(a.angle, b.angle) || !near(a.shiftX, b.shiftX) || !near(a.shiftY, b.shiftY) ||
        a.dashes.size() != b.dashes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.dashes.size(); ++i) {
        if (!near(a.dashes[i], b.dashes[i])) return false;
    }
    return true;
}

// Larger groups keep their own repeat: matching their origins pairwise would take too long.
constexpr std::size_t kMostCombined = 500;

// The repeat along the axis (ex, ey) of families of one kind together, whose own repeat is
// `repeat`. The moves that map the group onto itself permute its distinct origins, so they make
// a group whose order divides the number k of those; the axis's part of it is cyclic, a whole
// fraction repeat / n with n dividing k. The largest such n that maps every origin onto another
// gives the smallest repeat.
double CombinedRepeat(const std::vector<PatternLine>& lines, const std::vector<std::size_t>& kind,
                      const DashRepeat& dash, double repeat, double ex, double ey,
                      double tolerance) {
    const PatternLine& first = lines[kind.front()];
    const CosSin dir = CosSinDegrees(first.angle);
    // The move by a fraction of the repeat carries the repeat's error; the origins alone do not.
    const auto same = [&](std::size_t i, std::size_t m, double vx, double vy) {
        return InFamilyLattice(first, dash, dir, lines[i].x + vx - lines[m].x,
                               lines[i].y + vy - lines[m].y, vx == 0 && vy == 0 ? 0 : repeat,
                               tolerance);
    };
    std::vector<std::size_t> distinct;
    for (const std::size_t i : kind) {
        if (std::none_of(distinct.begin(), distinct.end(),
                         [&](std::size_t m) { return same(i, m, 0, 0); })) {
            distinct.push_back(i);
        }
    }
    const std::size_t k = distinct.size();
    if (k < 2 || k > kMostCombined) return repeat;
    for (std::size_t n = k; n >= 2; --n) {
        if (k % n != 0) continue;
        const double step = repeat / static_cast<double>(n);
        const bool maps = std::all_of(distinct.begin(), distinct.end(), [&](std::size_t i) {
            return std::any_of(distinct.begin(), distinct.end(),
                               [&](std::size_t m) { return same(i, m, ex * step, ey * step); });
        });
        if (maps) return step;
    }
    return repeat;
}

double Estimate(const PatternLine& l, const DashRepeat& dash, double w, double h) {
    if (dash.blank) return 0;
    const CosSin dir = CosSinDegrees(l.angle);
    const double crossings =
        std::fabs(l.shiftY) > 0
            ? (w * std::fabs(dir.s) + h * std::fabs(dir.c)) / std::fabs(l.shiftY) + 1
            : 1;
    if (dash.solid) return crossings;
    const double area = std::fabs(l.shiftY) > 0 ? w * h / std::fabs(l.shiftY) : w + h;
    return (area / dash.period + crossings) * static_cast<double>(dash.entries);
}

}  // namespace

PatternRepeat FindPatternRepeat(const std::vector<PatternLine>& lines, const RepeatBounds& bounds) {
    PatternRepeat out;
    std::vector<DashRepeat> dashes;
    std::vector<Side> acrossX;
    std::vector<Side> acrossY;
    bool anyDrawn = false;
    // Each family's repeat along x and y; 0 where it repeats at any distance.
    std::vector<std::pair<Side, Side>> own(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PatternLine& l = lines[i];
        dashes.push_back(RepeatOfDashes(l.dashes, bounds.tolerance));
        const DashRepeat& d = dashes.back();
        if (d.blank) continue;
        anyDrawn = true;
        for (const bool vertical : {false, true}) {
            const AxisRepeat a = RepeatAlong(l, d, vertical ? 0 : 1, vertical ? 1 : 0, bounds);
            if (a.kind == AxisRepeat::Never) {
                out.status = a.why;
                out.reason = a.why == RepeatStatus::LineDrawnOnce
                                 ? "a line with shift across 0 at " + Fmt(l.angle) +
                                       " degrees is drawn once and has no repeat"
                                 : "the family at " + Fmt(l.angle) +
                                       " degrees has no whole repeat within " +
                                       Fmt(bounds.maxSide) +
                                       " units (an irrational direction or dash length)";
                return out;
            }
            (vertical ? own[i].second : own[i].first) = {a.length, a.error};
        }
    }
    // Families of one kind together may repeat sooner than each alone (the same lines half a
    // shift apart): each kind adds its combined repeat.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (dashes[i].blank) continue;
        const PatternLine& l = lines[i];
        const bool finite = std::isfinite(l.angle + l.x + l.y + l.shiftX + l.shiftY) &&
                            std::all_of(l.dashes.begin(), l.dashes.end(),
                                        [](double v) { return std::isfinite(v); });
        if (finite) {
            order.push_back(i);
            continue;
        }
        // Kept alone: numbers that do not compare cannot be sorted into kinds.
        if (own[i].first.length > 0) acrossX.push_back(own[i].first);
        if (own[i].second.length > 0) acrossY.push_back(own[i].second);
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const PatternLine& p = lines[a];
        const PatternLine& q = lines[b];
        return std::tie(p.angle, p.shiftY, p.shiftX, p.dashes) <
               std::tie(q.angle, q.shiftY, q.shiftX, q.dashes);
    });
    for (std::size_t first = 0; first < order.size();) {
        const std::size_t i = order[first];
        std::vector<std::size_t> kind{i};
        std::size_t end = first + 1;
        while (end < order.size() && SameKind(lines[i], lines[order[end]], bounds.tolerance))
            kind.push_back(order[end++]);
        first = end;
        for (const bool vertical : {false, true}) {
            const Side& a = vertical ? own[i].second : own[i].first;
            if (a.length == 0) continue;
            const double combined =
                CombinedRepeat(lines, kind, dashes[i], a.length, vertical ? 0 : 1, vertical ? 1 : 0,
                               bounds.tolerance);
            (vertical ? acrossY : acrossX).push_back({combined, a.error * combined / a.length});
        }
    }
    if (!anyDrawn) {
        out.reason = "the pattern draws nothing";
        return out;
    }
    const std::optional<Side> across = CommonRepeat(acrossX, bounds);
    const std::optional<Side> up = CommonRepeat(acrossY, bounds);
    if (!across || !up || across->length > bounds.maxSide || up->length > bounds.maxSide) {
        out.status = RepeatStatus::NoRepeat;
        out.reason = "the families repeat together only beyond " + Fmt(bounds.maxSide) + " units";
        return out;
    }
    // Lines along one axis only: the other side is free; a square tile is the natural one.
    Side w = *across;
    Side h = *up;
    if (w.length == 0) w = h.length > 0 ? h : Side{1.0, 0};
    if (h.length == 0) h = w;
    out.width = w.length;
    out.height = h.length;
    out.widthError = w.error;
    out.heightError = h.error;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out.segmentEstimate += Estimate(lines[i], dashes[i], w.length, h.length);
    if (out.segmentEstimate > bounds.maxSegments) {
        out.status = RepeatStatus::TooManySegments;
        out.reason = "the tile would hold about " + Fmt(out.segmentEstimate) +
                     " segments, more than " + Fmt(bounds.maxSegments);
        return out;
    }
    out.status = RepeatStatus::Found;
    for (double scale = 1; scale * std::max(w.length, h.length) <= bounds.maxSide * (1 + 1e-12);
         scale *= 10) {
        if (WholeAtScale(w.length, scale, bounds.tolerance, w.error) &&
            WholeAtScale(h.length, scale, bounds.tolerance, h.error)) {
            out.scale = scale;
            break;
        }
    }
    if (out.scale == 0) {
        out.reason = "the repeat " + Fmt(w.length) + " x " + Fmt(h.length) +
                     " is no whole number of units at any power of ten within " +
                     Fmt(bounds.maxSide);
    }
    return out;
}

bool WholeAtScale(double side, double scale, double tolerance, double error) {
    // A side found over many lines carries their rounding, up to about ten tolerances per unit,
    // or the error its search allowed where that is larger.
    return std::fabs(side * scale - std::round(side * scale)) <=
               scale * std::max(10 * tolerance * (2 + side), error) &&
           std::round(side * scale) >= 1;
}

double ToleranceOfText(std::string_view patternText) {
    int decimals = 0;
    ForEachLine(patternText, [&](std::string_view line) {
        if (ParsePatternLine(line)) {
            int run = -1;
            for (const char c : line) {
                if (c == '.') {
                    run = 0;
                } else if (c >= '0' && c <= '9') {
                    if (run >= 0) ++run;
                } else {
                    decimals = std::max(decimals, run);
                    run = -1;
                }
            }
            decimals = std::max(decimals, run);
        }
        return true;
    });
    // Up to six decimals a number is what was meant (a brick of 62.5, a turn of 30 degrees),
    // and only the arithmetic's own rounding is allowed for; with more it is a rounded value
    // (an angle of 26.5650511771), off by up to half its last decimal.
    if (decimals <= 6) return kExactTolerance;
    return 0.5 * std::pow(10.0, -std::min(decimals, 12));
}

namespace {

// A drawn piece on its infinite line: the line's direction (half a turn) and distance from the
// origin, and the piece's extent along it.
struct OnLine {
    double key;  // the angle to a billionth of a radian, which groups the pieces of one line
    double angle;
    double offset;
    double lo;
    double hi;
};

}  // namespace

TileDrawing DrawTile(const std::vector<PatternLine>& lines, double width, double height,
                     double tolerance, std::size_t maxSegments) {
    TileDrawing out;
    const DrawResult drawn = DrawPattern(lines, {0, 0, width, height}, maxSegments);
    out.truncated = drawn.truncated;
    std::vector<OnLine> pieces;
    std::vector<DrawnSegment> dots;
    for (const DrawnSegment& s : drawn.segments) {
        const double dx = s.x2 - s.x1;
        const double dy = s.y2 - s.y1;
        const double length = std::hypot(dx, dy);
        if (length <= tolerance) {
            dots.push_back({s.x1, s.y1, s.x1, s.y1});
            continue;
        }
        double angle = std::atan2(dy, dx);
        double ux = dx / length;
        double uy = dy / length;
        if (angle < 0 || angle >= std::numbers::pi - 1e-12) {
            angle = angle < 0 ? angle + std::numbers::pi : angle - std::numbers::pi;
            ux = -ux;
            uy = -uy;
        }
        if (angle < 0) angle = 0;
        const double offset = -uy * s.x1 + ux * s.y1;
        const double a = ux * s.x1 + uy * s.y1;
        const double b = ux * s.x2 + uy * s.y2;
        pieces.push_back(
            {std::round(angle * 1e9) / 1e9, angle, offset, std::min(a, b), std::max(a, b)});
    }
    // Directions to a billionth of a radian: the ends of a drawn piece carry rounding.
    std::sort(pieces.begin(), pieces.end(), [](const OnLine& p, const OnLine& q) {
        return p.key != q.key ? p.key < q.key : p.offset < q.offset;
    });
    std::vector<OnLine> kept;
    for (std::size_t first = 0; first < pieces.size();) {
        // One line: the same direction, offsets within the tolerance of its first piece.
        std::size_t end = first + 1;
        while (end < pieces.size() && pieces[end].key == pieces[first].key &&
               pieces[end].offset - pieces[first].offset <= tolerance)
            ++end;
        std::sort(pieces.begin() + static_cast<std::ptrdiff_t>(first),
                  pieces.begin() + static_cast<std::ptrdiff_t>(end),
                  [](const OnLine& p, const OnLine& q) { return p.lo < q.lo; });
        kept.push_back(pieces[first]);
        for (std::size_t i = first + 1; i < end; ++i) {
            if (pieces[i].lo <= kept.back().hi + tolerance) {
                kept.back().hi = std::max(kept.back().hi, pieces[i].hi);
                ++out.joined;
            } else {
                kept.push_back(pieces[i]);
            }
        }
        first = end;
    }
    const auto onEdge = [&](double x, double y) {
        return std::fabs(x) <= tolerance || std::fabs(x - width) <= tolerance ||
               std::fabs(y) <= tolerance || std::fabs(y - height) <= tolerance;
    };
    for (const OnLine& p : kept) {
        const double ux = std::cos(p.angle);
        const double uy = std::sin(p.angle);
        const DrawnSegment s{ux * p.lo - uy * p.offset, uy * p.lo + ux * p.offset,
                             ux * p.hi - uy * p.offset, uy * p.hi + ux * p.offset};
        // The tile is [0, W) x [0, H): a piece along its top or right edge is the copy of one
        // along the bottom or left edge.
        if ((std::fabs(s.y1 - height) <= tolerance && std::fabs(s.y2 - height) <= tolerance) ||
            (std::fabs(s.x1 - width) <= tolerance && std::fabs(s.x2 - width) <= tolerance)) {
            ++out.joined;
            continue;
        }
        // A piece lying along the edge itself is no cut.
        const bool along = (std::fabs(s.x1 - s.x2) <= tolerance && onEdge(s.x1, -1)) ||
                           (std::fabs(s.y1 - s.y2) <= tolerance && onEdge(-1, s.y1));
        if (!along && (onEdge(s.x1, s.y1) || onEdge(s.x2, s.y2))) ++out.cut;
        out.segments.push_back(s);
    }
    // The same dot from two families once: dots are looked up in cells of the tolerance's size,
    // a dot's own cell and the eight around it.
    std::set<std::pair<long long, long long>> cells;
    std::vector<DrawnSegment> distinct;
    const double cell = std::max(tolerance, 1e-12 * (1 + std::fabs(width) + std::fabs(height)));
    for (const DrawnSegment& d : dots) {
        // On the top or right edge: the copy of one on the bottom or left edge.
        if (std::fabs(d.x1 - width) <= tolerance || std::fabs(d.y1 - height) <= tolerance) {
            ++out.joined;
            continue;
        }
        const auto cx = static_cast<long long>(std::floor(d.x1 / cell));
        const auto cy = static_cast<long long>(std::floor(d.y1 / cell));
        bool seen = false;
        for (long long i = -1; i <= 1 && !seen; ++i) {
            for (long long j = -1; j <= 1 && !seen; ++j)
                seen = cells.count({cx + i, cy + j}) > 0;
        }
        if (seen) {
            ++out.joined;
        } else {
            cells.insert({cx, cy});
            distinct.push_back(d);
        }
    }
    dots = std::move(distinct);
    out.dots = dots.size();
    out.segments.insert(out.segments.end(), dots.begin(), dots.end());
    return out;
}

}  // namespace murvex
