// Pattern geometry: the segments and dots that pattern lines draw inside a rectangle.
#include "PatternGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "NumberText.h"

namespace murvex {

double PatternRepeatSize(const std::vector<PatternLine>& lines) {
    double size = 0;
    for (const PatternLine& l : lines) {
        double period = 0;
        for (const double d : l.dashes)
            period += std::abs(d);
        if (std::isfinite(period)) size = std::max(size, period);
        if (std::isfinite(l.shiftY)) size = std::max(size, std::abs(l.shiftY));
    }
    return size;
}

namespace {

bool Finite(const PatternLine& line) {
    if (!std::isfinite(line.angle) || !std::isfinite(line.x) || !std::isfinite(line.y) ||
        !std::isfinite(line.shiftX) || !std::isfinite(line.shiftY)) {
        return false;
    }
    return std::all_of(line.dashes.begin(), line.dashes.end(),
                       [](double v) { return std::isfinite(v); });
}

// Narrows [t0, t1] to the parameters where p + t*v lies in [lo, hi] along one axis.
bool ClipAxis(double p, double v, double lo, double hi, double& t0, double& t1) {
    if (v == 0) return p >= lo && p <= hi;
    double a = (lo - p) / v;
    double b = (hi - p) / v;
    if (a > b) std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    return t0 <= t1;
}

// Collects the output and keeps count against the caps.
class Collector {
  public:
    Collector(DrawResult& result, std::size_t maxSegments)
        : result_(result),
          maxSegments_(maxSegments),
          maxSteps_(maxSegments > (std::numeric_limits<std::size_t>::max() - kBaseSteps) / 8
                        ? std::numeric_limits<std::size_t>::max()
                        : 8 * maxSegments + kBaseSteps) {}

    bool Full() const { return result_.truncated; }
    std::size_t Room() const {
        return maxSegments_ - std::min(maxSegments_, result_.segments.size());
    }
    // Part of the pattern cannot be drawn; the result says it is incomplete.
    void GiveUp() { result_.truncated = true; }

    // Draws [t0, t1] of the line through (px, py) in direction dir; t0 == t1 is a dot.
    void Add(double px, double py, const CosSin& dir, double t0, double t1) {
        if (result_.segments.size() >= maxSegments_) {
            result_.truncated = true;
            return;
        }
        result_.segments.push_back(
            {px + t0 * dir.c, py + t0 * dir.s, px + t1 * dir.c, py + t1 * dir.s});
    }

    // Every line of a family visited counts, so that a family far too dense for the box ends
    // the work even when its lines fall into gaps.
    bool VisitLine() {
        if (++linesVisited_ > maxSegments_) result_.truncated = true;
        return !result_.truncated;
    }

    // Every dash list entry looked at counts against a budget a few times the segment cap, so
    // that long dash lists whose entries draw nothing visible (or join into one segment) cannot
    // keep the drawing busy for long; running out marks the result truncated like the cap does.
    bool Step() {
        if (++steps_ > maxSteps_) result_.truncated = true;
        return !result_.truncated;
    }

  private:
    // Room for the entries of a few long periods even under a small segment cap.
    static constexpr std::size_t kBaseSteps = 1000000;
    DrawResult& result_;
    std::size_t maxSegments_;
    std::size_t maxSteps_;
    std::size_t linesVisited_ = 0;
    std::size_t steps_ = 0;
};

// The dash list reduced to what drawing needs: each entry's start within the period.
struct Dashes {
    bool solid = false;  // no pen-up entry: the line is drawn whole
    bool blank = false;  // pen-up entries only: nothing is drawn
    double period = 0;
    std::vector<double> starts;
    std::vector<double> lengths;  // >= 0 for the drawn entries, < 0 for gaps
};

Dashes PrepareDashes(const std::vector<double>& list) {
    Dashes d;
    const bool anyGap = std::any_of(list.begin(), list.end(), [](double v) { return v < 0; });
    if (!anyGap) {
        // Dots and dashes with nothing between them join into one line; an empty list too.
        d.solid = true;
        return d;
    }
    if (std::all_of(list.begin(), list.end(), [](double v) { return v < 0; })) {
        d.blank = true;
        return d;
    }
    double at = 0;
    for (double v : list) {
        // A run of gaps draws the same as one gap of their sum.
        if (v < 0 && !d.lengths.empty() && d.lengths.back() < 0) {
            d.lengths.back() += v;
        } else {
            d.starts.push_back(at);
            d.lengths.push_back(v);
        }
        at += std::fabs(v);
    }
    d.period = at;
    // Lengths whose sum leaves the range of a double have no period to repeat: nothing is drawn.
    if (!std::isfinite(at)) d.blank = true;
    return d;
}

// Draws [t0, t1] of the line through (px, py); the dash pattern starts `phase` before that point.
void DrawLine(double px, double py, const CosSin& dir, double t0, double t1, double phase,
              const Dashes& d, Collector& out) {
    if (d.blank) return;
    if (d.solid) {
        if (t0 < t1) out.Add(px, py, dir, t0, t1);
        return;
    }
    // Dashes that touch (two pen-down entries in a row) are joined into one segment.
    const double joinTolerance = d.period * 1e-12;
    bool open = false;
    double openStart = 0;
    double openEnd = 0;
    const auto flush = [&] {
        if (open) out.Add(px, py, dir, openStart, openEnd);
        open = false;
    };
    const double first = std::floor((t0 + phase) / d.period);
    const double last = std::floor((t1 + phase) / d.period);
    // Beyond 2^52 periods from the line's start the dash positions can no longer be told apart.
    if (!(std::fabs(first) < 0x1p52) || !(std::fabs(last) < 0x1p52)) {
        out.GiveUp();
        return;
    }
    // Every period holds a pen-down entry, so past the room left for segments the drawing is
    // cut off in any case; this also ends dashes too short to show, which draw nothing.
    const double limit = first + static_cast<double>(out.Room()) + 1;
    for (double m = first; m <= last; m += 1) {
        if (m > limit) {
            out.GiveUp();
            break;
        }
        const double periodStart = m * d.period - phase;
        if (out.Full()) break;
        for (std::size_t i = 0; i < d.lengths.size(); ++i) {
            if (!out.Step()) break;
            const double len = d.lengths[i];
            const double s = periodStart + d.starts[i];
            if (s > t1) break;
            if (len < 0) {
                flush();
                continue;
            }
            if (len == 0) {
                if (s >= t0 && !(open && s <= openEnd + joinTolerance)) {
                    flush();
                    out.Add(px, py, dir, s, s);
                }
                continue;
            }
            const double lo = std::max(s, t0);
            const double hi = std::min(s + len, t1);
            if (lo >= hi) continue;
            if (open && lo <= openEnd + joinTolerance) {
                openEnd = std::max(openEnd, hi);
            } else {
                flush();
                open = true;
                openStart = lo;
                openEnd = hi;
            }
        }
    }
    flush();
}

void DrawFamily(const PatternLine& line, const Box& box, Collector& out) {
    if (!Finite(line)) return;
    // The same on every system, and exact for whole quarter turns, so that axis-parallel
    // families stay exactly axis-parallel.
    const CosSin dir = CosSinDegrees(line.angle);
    const Dashes dashes = PrepareDashes(line.dashes);
    // Across the lines: n is dir turned a quarter counter-clockwise.
    const double nx = -dir.s;
    const double ny = dir.c;
    const double stepX = line.shiftX * dir.c + line.shiftY * nx;
    const double stepY = line.shiftX * dir.s + line.shiftY * ny;

    const double centreX = box.x0 / 2 + box.x1 / 2;
    const double centreY = box.y0 / 2 + box.y1 / 2;
    const double origin = line.x * nx + line.y * ny;
    const double corners[4] = {box.x0 * nx + box.y0 * ny, box.x1 * nx + box.y0 * ny,
                               box.x0 * nx + box.y1 * ny, box.x1 * nx + box.y1 * ny};
    const double lo = *std::min_element(corners, corners + 4) - origin;
    const double hi = *std::max_element(corners, corners + 4) - origin;

    double kFirst = 0;
    double kLast = 0;
    if (line.shiftY != 0) {
        double a = lo / line.shiftY;
        double b = hi / line.shiftY;
        if (a > b) std::swap(a, b);
        kFirst = std::ceil(a);
        kLast = std::floor(b);
        if (!std::isfinite(kFirst) || !std::isfinite(kLast)) return;
        // So far from the origin that the line numbers can no longer be counted one by one.
        if (kFirst <= kLast && (kFirst + 1 == kFirst || kLast - 1 == kLast)) {
            out.GiveUp();
            return;
        }
    }
    for (double k = kFirst; k <= kLast; k += 1) {
        if (!out.VisitLine()) return;
        const double px = line.x + k * stepX;
        const double py = line.y + k * stepY;
        // Work from the point of the line nearest the box's centre, so that an origin far from
        // the box costs no precision in the clipped ends.
        const double phase = (centreX - px) * dir.c + (centreY - py) * dir.s;
        const double qx = px + phase * dir.c;
        const double qy = py + phase * dir.s;
        double t0 = -std::numeric_limits<double>::infinity();
        double t1 = std::numeric_limits<double>::infinity();
        if (!ClipAxis(qx, dir.c, box.x0, box.x1, t0, t1)) continue;
        if (!ClipAxis(qy, dir.s, box.y0, box.y1, t0, t1)) continue;
        if (!std::isfinite(t0) || !std::isfinite(t1) || !std::isfinite(phase)) continue;
        DrawLine(qx, qy, dir, t0, t1, phase, dashes, out);
        if (out.Full()) return;
    }
}

}  // namespace

DrawResult DrawPattern(const std::vector<PatternLine>& lines, const Box& box,
                       std::size_t maxSegments) {
    DrawResult result;
    if (!std::isfinite(box.x0) || !std::isfinite(box.y0) || !std::isfinite(box.x1) ||
        !std::isfinite(box.y1) || box.x0 > box.x1 || box.y0 > box.y1) {
        return result;
    }
    Collector out(result, maxSegments);
    for (const PatternLine& line : lines) {
        DrawFamily(line, box, out);
        if (out.Full()) break;
    }
    return result;
}

}  // namespace murvex
