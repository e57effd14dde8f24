// Fitting a drawing to one repeating tile: curves to chords, the tile found, segments cut at the
// border and moved back in, coinciding and collinear segments merged, the figure grid filled.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <tuple>
#include <unordered_set>

#include "DxfImport.h"
#include "NumberText.h"
#include "Text.h"

namespace murvex::dxf {

namespace {

using figure::TilePoint;
using figure::TileSegment;

struct Refusal {
    std::string message;
};

std::string Number(long double value) {
    std::string text = Fmt10(value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

struct Box {
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    void Add(Point p) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    bool Empty() const { return x0 > x1; }
};

Point ConicAt(const Primitive& p, double t) {
    return {p.c.x + p.u.x * std::cos(t) + p.v.x * std::sin(t),
            p.c.y + p.u.y * std::cos(t) + p.v.y * std::sin(t)};
}

// The longest half diameter: |u cos t + v sin t| at its largest.
double MaxRadius(const Primitive& p) {
    const double uu = p.u.x * p.u.x + p.u.y * p.u.y, vv = p.v.x * p.v.x + p.v.y * p.v.y;
    const double uv = p.u.x * p.v.x + p.u.y * p.v.y;
    return std::sqrt((uu + vv) / 2 + std::hypot((uu - vv) / 2, uv));
}

// The conic's extreme points in x and y within its sweep, with its ends.
void ConicBounds(const Primitive& p, Box& box) {
    box.Add(p.a);
    box.Add(p.b);
    const double lo = std::min(p.t0, p.t0 + p.sweep), hi = std::max(p.t0, p.t0 + p.sweep);
    for (const bool alongX : {true, false}) {
        const double phase = alongX ? std::atan2(p.v.x, p.u.x) : std::atan2(p.v.y, p.u.y);
        for (double k = std::ceil((lo - phase) / std::numbers::pi);
             k <= std::floor((hi - phase) / std::numbers::pi); ++k)
            box.Add(ConicAt(p, phase + k * std::numbers::pi));
    }
}

// A non-uniform rational B-spline at t (de Boor, in homogeneous coordinates).
Point SplineAt(const Primitive& s, double t) {
    const int p = s.degree;
    const int n = static_cast<int>(s.points.size());
    const std::vector<double>& k = s.knots;
    // The span: the last knot at or below t among k[p] .. k[n-1] (a binary search).
    const auto first = k.begin() + p + 1, last = k.begin() + n;
    const int span = p + static_cast<int>(std::upper_bound(first, last, t) - first);
    double d[11][3];
    for (int j = 0; j <= p; ++j) {
        const std::size_t i = static_cast<std::size_t>(span - p + j);
        const double w = s.weights.size() == s.points.size() ? s.weights[i] : 1.0;
        d[j][0] = s.points[i].x * w;
        d[j][1] = s.points[i].y * w;
        d[j][2] = w;
    }
    for (int r = 1; r <= p; ++r) {
        for (int j = p; j >= r; --j) {
            const double left = k[static_cast<std::size_t>(span - p + j)];
            const double right = k[static_cast<std::size_t>(span + 1 + j - r)];
            const double a = right > left ? (t - left) / (right - left) : 0.0;
            for (int c = 0; c < 3; ++c)
                d[j][c] = (1 - a) * d[j - 1][c] + a * d[j][c];
        }
    }
    return {d[p][0] / d[p][2], d[p][1] / d[p][2]};
}

// A cubic through the fit points, parametrised by chord length; the end tangents when the
// drawing gives them, else natural ends.
class FitCurve {
  public:
    explicit FitCurve(const Primitive& s) {
        for (const Point& p : s.points) {
            if (!y_.empty() && p.x == y_.back().x && p.y == y_.back().y) continue;
            t_.push_back(y_.empty() ? 0.0
                                    : t_.back() + std::hypot(p.x - y_.back().x, p.y - y_.back().y));
            y_.push_back(p);
        }
        const std::size_t n = y_.size();
        m_.assign(n, Point{});
        // Fit points that all coincide make no curve, whatever tangents are given.
        if (n < 2 || (n < 3 && Zero(s.startTangent) && Zero(s.endTangent))) return;
        // Moments: a tridiagonal system per coordinate (Thomas' algorithm).
        for (const bool xs : {true, false}) {
            const auto v = [&](std::size_t i) { return xs ? y_[i].x : y_[i].y; };
            std::vector<double> a(n, 0), b(n, 1), c(n, 0), r(n, 0);
            for (std::size_t i = 1; i + 1 < n; ++i) {
                const double h0 = t_[i] - t_[i - 1], h1 = t_[i + 1] - t_[i];
                a[i] = h0;
                b[i] = 2 * (h0 + h1);
                c[i] = h1;
                r[i] = 6 * ((v(i + 1) - v(i)) / h1 - (v(i) - v(i - 1)) / h0);
            }
            if (!Zero(s.startTangent)) {
                const double h = t_[1] - t_[0];
                const double d = Unit(s.startTangent, xs);
                b[0] = 2 * h;
                c[0] = h;
                r[0] = 6 * ((v(1) - v(0)) / h - d);
            }
            if (!Zero(s.endTangent)) {
                const double h = t_[n - 1] - t_[n - 2];
                const double d = Unit(s.endTangent, xs);
                a[n - 1] = h;
                b[n - 1] = 2 * h;
                r[n - 1] = 6 * (d - (v(n - 1) - v(n - 2)) / h);
            }
            for (std::size_t i = 1; i < n; ++i) {
                const double w = a[i] / b[i - 1];
                b[i] -= w * c[i - 1];
                r[i] -= w * r[i - 1];
            }
            std::vector<double> moment(n);
            moment[n - 1] = r[n - 1] / b[n - 1];
            for (std::size_t i = n - 1; i-- > 0;)
                moment[i] = (r[i] - c[i] * moment[i + 1]) / b[i];
            for (std::size_t i = 0; i < n; ++i)
                (xs ? m_[i].x : m_[i].y) = moment[i];
        }
    }

    const std::vector<double>& Breaks() const { return t_; }

    Point At(double t) const {
        // The piece whose start is the last break at or below t (a binary search).
        const auto found = std::upper_bound(t_.begin() + 1, t_.end() - 1, t);
        const std::size_t i = static_cast<std::size_t>(found - t_.begin()) - 1;
        const double h = t_[i + 1] - t_[i], l = t_[i + 1] - t, r = t - t_[i];
        const auto f = [&](double yi, double yj, double mi, double mj) {
            return mi * l * l * l / (6 * h) + mj * r * r * r / (6 * h) + (yi / h - mi * h / 6) * l +
                   (yj / h - mj * h / 6) * r;
        };
        return {f(y_[i].x, y_[i + 1].x, m_[i].x, m_[i + 1].x),
                f(y_[i].y, y_[i + 1].y, m_[i].y, m_[i + 1].y)};
    }

  private:
    static bool Zero(Point p) { return p.x == 0 && p.y == 0; }
    static double Unit(Point p, bool xs) { return (xs ? p.x : p.y) / std::hypot(p.x, p.y); }
    std::vector<double> t_;
    std::vector<Point> y_;
    std::vector<Point> m_;
};

double DistanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Halves each piece between the breaks until the curve at its quarter points lies within tol of
// the chord; never more than kMaxChordsPerCurve chords.
std::vector<Point> FlattenAdaptive(const std::function<Point(double)>& f,
                                   const std::vector<double>& breaks, double tol, bool& atLimit) {
    struct Piece {
        double a, b;
        Point pa, pb;
        int depth;
    };
    std::vector<Point> out{f(breaks.front())};
    std::vector<Piece> stack;
    for (std::size_t i = breaks.size() - 1; i > 0; --i)
        if (breaks[i] > breaks[i - 1])
            stack.push_back({breaks[i - 1], breaks[i], f(breaks[i - 1]), f(breaks[i]), 0});
    while (!stack.empty()) {
        const Piece piece = stack.back();
        stack.pop_back();
        const double h = piece.b - piece.a;
        double worst = 0;
        for (const double q : {0.25, 0.5, 0.75})
            worst = std::max(worst, DistanceToSegment(f(piece.a + q * h), piece.pa, piece.pb));
        const bool room = out.size() + stack.size() + 2 <= kMaxChordsPerCurve + 1u;
        if (worst <= tol || piece.depth >= 30 || !room) {
            if (worst > tol) atLimit = true;
            out.push_back(piece.pb);
            continue;
        }
        const double m = piece.a + h / 2;
        const Point pm = f(m);
        stack.push_back({m, piece.b, pm, piece.pb, piece.depth + 1});
        stack.push_back({piece.a, m, piece.pa, pm, piece.depth + 1});
    }
    return out;
}

std::vector<double> SplineBreaks(const Primitive& s) {
    const std::size_t p = static_cast<std::size_t>(s.degree);
    std::vector<double> breaks;
    for (std::size_t i = p; i <= s.points.size(); ++i)
        if (breaks.empty() || s.knots[i] > breaks.back()) breaks.push_back(s.knots[i]);
    // Each knot span in four pieces at least, so that no bend hides between the tests.
    std::vector<double> fine;
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i)
        for (int q = 0; q < 4; ++q)
            fine.push_back(breaks[i] + (breaks[i + 1] - breaks[i]) * q / 4);
    fine.push_back(breaks.back());
    return fine;
}

// The curve as points within tol of it, first and last on its ends.
std::vector<Point> Flatten(const Primitive& p, double tol, bool& atLimit) {
    switch (p.kind) {
        case Primitive::Kind::Segment:
            return {p.a, p.b};
        case Primitive::Kind::Conic: {
            // A chord over a parameter step h strays at most h^2/8 times the largest second
            // derivative, which for a conic is its longest half diameter.
            const double radius = MaxRadius(p);
            const double step = std::sqrt(8 * tol / radius);
            double n = std::ceil(std::fabs(p.sweep) / step);
            if (!(n <= kMaxChordsPerCurve)) {
                n = kMaxChordsPerCurve;
                atLimit = true;
            }
            const int count = std::max(1, static_cast<int>(n));
            std::vector<Point> out{p.a};
            for (int i = 1; i < count; ++i)
                out.push_back(ConicAt(p, p.t0 + p.sweep * i / count));
            out.push_back(p.b);
            return out;
        }
        case Primitive::Kind::Spline:
            return FlattenAdaptive([&](double t) { return SplineAt(p, t); }, SplineBreaks(p), tol,
                                   atLimit);
        case Primitive::Kind::FitSpline: {
            const FitCurve curve(p);
            if (curve.Breaks().size() < 2) return {};
            return FlattenAdaptive([&](double t) { return curve.At(t); }, curve.Breaks(), tol,
                                   atLimit);
        }
    }
    return {};
}

// How far from whole a found tile's side may be and still be rounded.
constexpr double kWholeShare = 1e-6;
constexpr double kWholeMost = 1e-3;

class Fitter {
  public:
    Fitter(const Drawing& d, const ImportOptions& o) : d_(d), o_(o) {
        if (o_.layers)
            for (const std::string& l : *o_.layers)
                layers_.insert(AsciiUpper(l));
    }

    TileFigure Run() {
        TileFigure figure;
        ImportReport& report = figure.report;
        report.entitiesRead = d_.entitiesRead;
        report.skipped = d_.skipped;
        report.units = d_.units;
        report.unitsAssumed = d_.unitsAssumed;
        for (const Rectangle& r : d_.rectangles)
            if (Selected(r.layer) && IsTileLayer(r.layer)) tileGroups_.insert(r.group);
        report.tile = FindTile();
        if (report.tile.source == TileSource::Extents && !IsWhole(report.tile))
            if (const std::optional<Tile> origin = OriginTile(report.tile)) report.tile = *origin;
        const long double rounding = WholeSize(report.tile);
        const double w = report.tile.high.x - report.tile.low.x;
        const double h = report.tile.high.y - report.tile.low.y;
        figure.width = static_cast<int>(std::llround(w));
        figure.height = static_cast<int>(std::llround(h));
        const double tol =
            o_.chordTolerance.value_or(kDefaultChordShare * std::min(figure.width, figure.height));
        if (!(tol > 0) || !std::isfinite(tol))
            throw Refusal{"de koordetolerantie moet groter dan 0 zijn (" + Number(tol) + ")"};
        report.chordTolerance = tol;
        W_ = figure.width;
        H_ = figure.height;
        const Point low = report.tile.low;
        eps_ = 1e-9L * std::max({1.0, std::fabs(low.x), std::fabs(low.y),
                                 std::fabs(report.tile.high.x), std::fabs(report.tile.high.y)});
        // What the rounding of the tile moved stays on its border.
        eps_ = std::max(eps_, rounding);
        for (const Primitive& p : d_.primitives) {
            if (!Taken(p)) continue;
            if (p.kind == Primitive::Kind::Segment) {
                Wrap({p.a.x - low.x, p.a.y - low.y}, {p.b.x - low.x, p.b.y - low.y}, report);
                continue;
            }
            bool atLimit = false;
            const std::vector<Point> points = Flatten(p, tol, atLimit);
            if (p.kind != Primitive::Kind::Segment) {
                ++report.curves;
                report.chords += static_cast<int>(points.size()) - 1;
                report.curvesAtChordLimit += atLimit;
            }
            for (std::size_t i = 1; i < points.size(); ++i)
                Wrap({points[i - 1].x - low.x, points[i - 1].y - low.y},
                     {points[i].x - low.x, points[i].y - low.y}, report);
        }
        figure.segments = Merge(report);
        if (figure.segments.size() > kMaxSegments) throw TooManySegments();
        return figure;
    }

  private:
    bool Selected(const std::string& layer) const {
        return !o_.layers || layers_.count(AsciiUpper(layer)) != 0;
    }
    bool Taken(const Primitive& p) const {
        return Selected(p.layer) && (p.group < 0 || !tileGroups_.count(p.group));
    }

    Tile FindTile() const {
        if (o_.tile) {
            Tile t = *o_.tile;
            t.source = TileSource::Given;
            if (!(t.low.x < t.high.x && t.low.y < t.high.y))
                throw Refusal{std::string(kInvalidValueText) + " (tegel " + Number(t.low.x) + " " +
                              Number(t.low.y) + " " + Number(t.high.x) + " " + Number(t.high.y) +
                              ")"};
            return t;
        }
        for (const Rectangle& r : d_.rectangles)
            if (Selected(r.layer) && IsTileLayer(r.layer))
                return {r.low, r.high, TileSource::TileLayer, r.layer};
        Box box;
        std::vector<const Primitive*> splines;
        for (const Primitive& p : d_.primitives) {
            if (!Taken(p)) continue;
            if (p.kind == Primitive::Kind::Segment) {
                box.Add(p.a);
                box.Add(p.b);
            } else if (p.kind == Primitive::Kind::Conic) {
                ConicBounds(p, box);
            } else {
                splines.push_back(&p);
            }
        }
        // A spline lies within the box of its points (the control points of a B-spline; a fit
        // curve may bulge past its fit points): only one whose box reaches out is traced finely.
        for (const Primitive* p : splines) {
            Box own;
            for (const Point& q : p->points)
                own.Add(q);
            if (p->kind == Primitive::Kind::Spline && !box.Empty() && own.x0 >= box.x0 &&
                own.y0 >= box.y0 && own.x1 <= box.x1 && own.y1 <= box.y1)
                continue;
            bool atLimit = false;
            const double fine = 1e-7 * std::max(1.0, std::hypot(own.x1 - own.x0, own.y1 - own.y0));
            for (const Point& q : Flatten(*p, fine, atLimit))
                box.Add(q);
        }
        if (box.Empty())
            throw Refusal{d_.primitives.empty()
                              ? "de tekening is leeg: er is geen lijn, boog of kromme in"
                              : "de tekening heeft geen lijnen op de gekozen lagen"};
        return {{box.x0, box.y0}, {box.x1, box.y1}, TileSource::Extents, {}};
    }

    // Within the tolerance of whole units (as WholeSize rounds).
    static bool IsWhole(const Tile& t) {
        Tile copy = t;
        try {
            WholeSize(copy);
            return true;
        } catch (const Refusal&) {
            return false;
        }
    }

    // A pattern tile is often drawn from the origin with room left above or to the right of
    // what it holds (a motif drawn every 50 units in a tile of 100, say), or with curves that
    // bulge a little past its border, so that the extents miss the tile. Such a drawing lies
    // around the origin: then the tile runs from the origin to the extents' far corner when
    // that corner is whole, else it is the smallest square of a round side (1, 2 or 5 times a
    // power of ten) that holds the drawing up to kOvershoot of its side and that the drawing
    // fills at least half of either way, when it reaches kNearlyFull of that side both ways or
    // repeats itself by half of it. A symbol drawn at the origin does neither: it keeps the
    // refusal, as a drawing elsewhere does.
    std::optional<Tile> OriginTile(const Tile& extents) const {
        constexpr double kOvershoot = 0.01, kNearlyFull = 0.95;
        const Point low = extents.low, high = extents.high;
        if (!(high.x > 0 && high.y > 0)) return std::nullopt;
        Tile t{{0, 0}, high, TileSource::Origin, {}};
        const double margin = 1e-9 * std::max({1.0, high.x, high.y});
        if (low.x >= -margin && low.y >= -margin && IsWhole(t)) return t;
        const double reach = std::max(high.x, high.y);
        if (!(reach <= kMaxCoordinate)) return std::nullopt;
        double side = 1;
        for (int step = 0; reach > side * (1 + kOvershoot); ++step)
            side *= step % 3 == 1 ? 2.5 : 2;
        if (low.x < -kOvershoot * side || low.y < -kOvershoot * side ||
            std::min(high.x - low.x, high.y - low.y) < side / 2)
            return std::nullopt;
        if (std::min(high.x, high.y) < kNearlyFull * side && !RepeatsByHalf(side))
            return std::nullopt;
        t.high = {side, side};
        return t;
    }

    // At least a quarter of the straight segments taken have a copy moved by half the side
    // along x, or a quarter along y (ends within 2e-5 of the side: drawings written with three
    // decimals).
    bool RepeatsByHalf(double side) const {
        using Key = std::array<double, 4>;
        std::vector<Key> segments;
        for (const Primitive& p : d_.primitives)
            if (p.kind == Primitive::Kind::Segment && Taken(p))
                segments.push_back(std::tie(p.a.x, p.a.y) < std::tie(p.b.x, p.b.y)
                                       ? Key{p.a.x, p.a.y, p.b.x, p.b.y}
                                       : Key{p.b.x, p.b.y, p.a.x, p.a.y});
        if (segments.empty()) return false;
        std::sort(segments.begin(), segments.end());
        const double tolerance = 2e-5 * side;
        constexpr int kMaxLooks = 64;  // candidates looked at per segment
        for (const Point shift : {Point{side / 2, 0}, Point{0, side / 2}}) {
            std::size_t copies = 0;
            for (const Key& s : segments) {
                const Key moved{s[0] + shift.x, s[1] + shift.y, s[2] + shift.x, s[3] + shift.y};
                auto c = std::lower_bound(segments.begin(), segments.end(),
                                          Key{moved[0] - tolerance, -HUGE_VAL, 0, 0});
                for (int looks = 0;
                     c != segments.end() && (*c)[0] <= moved[0] + tolerance && looks < kMaxLooks;
                     ++c, ++looks) {
                    if (std::fabs((*c)[1] - moved[1]) <= tolerance &&
                        std::fabs((*c)[2] - moved[2]) <= tolerance &&
                        std::fabs((*c)[3] - moved[3]) <= tolerance) {
                        ++copies;
                        break;
                    }
                }
            }
            if (4 * copies >= segments.size()) return true;
        }
        return false;
    }

    // The tile's sides are whole units, as the figure tab's own sizes. A tile found in the
    // drawing whose sides are within kWholeShare of the side (and kWholeMost units) of whole
    // ones is rounded so, its low corner kept; the largest change is returned.
    static long double WholeSize(Tile& t) {
        const double scale = std::max({1.0, std::fabs(t.low.x), std::fabs(t.low.y),
                                       std::fabs(t.high.x), std::fabs(t.high.y)});
        const bool found = t.source != TileSource::Given;
        double change = 0;
        const auto whole = [&](double side) {
            const double off = std::fabs(side - std::nearbyint(side));
            const double allowed =
                std::max(1e-9 * scale, found ? std::min(kWholeShare * side, kWholeMost) : 0.0);
            change = std::max(change, off);
            return off <= allowed && std::nearbyint(side) >= 1 && side <= 2147483647.0;
        };
        const double w = t.high.x - t.low.x, h = t.high.y - t.low.y;
        if (!whole(w) || !whole(h))
            throw Refusal{std::string(kInvalidValueText) + " (tegel van " + Number(w) + " x " +
                          Number(h) + " gevonden); " +
                          (found ? "geef de tegel op, teken hem als rechthoek op laag TEGEL of "
                                   "schaal de tekening"
                                 : "geef een tegel met hele zijden op")};
        if (found) t.high = {t.low.x + std::nearbyint(w), t.low.y + std::nearbyint(h)};
        return change;
    }

    long double Snap(long double value, long double period) const {
        // The nearest whole number of periods; double rounding is exact enough and far quicker.
        const long double k = std::nearbyint(static_cast<double>(value / period));
        return std::fabs(value - k * period) <= eps_ ? k * period : value;
    }
    TilePoint Snap(TilePoint p) const { return {Snap(p.x, W_), Snap(p.y, H_)}; }

    // Cuts the segment at every tile border it crosses; each part goes back into the tile by
    // whole tile widths and heights.
    void Wrap(TilePoint p, TilePoint q, ImportReport& report) {
        p = Snap(p);
        q = Snap(q);
        // Most segments lie in the tile already; one on its right or top border stands for the
        // one on the left or bottom border and is moved there below.
        const auto inside = [&](TilePoint t) {
            return t.x >= 0 && t.x <= W_ && t.y >= 0 && t.y <= H_;
        };
        if (inside(p) && inside(q) && !(p.x == W_ && q.x == W_) && !(p.y == H_ && q.y == H_)) {
            AddPiece(p, q, report);
            return;
        }
        const auto count = [](long double a, long double b, long double period) {
            return std::ceil(std::max(a, b) / period) - std::floor(std::min(a, b) / period) - 1;
        };
        // A segment across very many tiles goes in halves: the cuts held at once stay few, and
        // the work bound counts every piece.
        const long double crossed = count(p.x, q.x, W_) + count(p.y, q.y, H_);
        if (crossed > kMaxCutsAtOnce) {
            if (crossed + static_cast<long double>(work_) > static_cast<long double>(kMaxPieces))
                throw WorkBound();
            const TilePoint m = Lerp(p, q, 0.5L);
            Wrap(p, m, report);
            Wrap(m, q, report);
            return;
        }
        std::vector<long double>& cuts = cuts_;
        cuts.assign({0, 1});
        const auto crossings = [&](long double a, long double b, long double period) {
            const long double first = std::floor(std::min(a, b) / period) + 1;
            const long double last = std::ceil(std::max(a, b) / period) - 1;
            for (long double k = first; k <= last; ++k)
                cuts.push_back((k * period - a) / (b - a));
        };
        crossings(p.x, q.x, W_);
        crossings(p.y, q.y, H_);
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t i = 1; i < cuts.size(); ++i) {
            if (!(cuts[i] > cuts[i - 1])) continue;
            TilePoint a = Snap(Lerp(p, q, cuts[i - 1]));
            TilePoint b = Snap(Lerp(p, q, cuts[i]));
            const long double kx = std::floor((a.x + b.x) / 2 / W_);
            const long double ky = std::floor((a.y + b.y) / 2 / H_);
            if (kx != 0 || ky != 0) ++report.wrapped;
            a = Inside({a.x - kx * W_, a.y - ky * H_});
            b = Inside({b.x - kx * W_, b.y - ky * H_});
            AddPiece(a, b, report);
        }
    }

    static TilePoint Lerp(TilePoint p, TilePoint q, long double t) {
        if (t == 0) return p;
        if (t == 1) return q;
        return {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t};
    }
    TilePoint Inside(TilePoint p) const {
        p = Snap(p);
        return {std::clamp<long double>(p.x, 0, W_), std::clamp<long double>(p.y, 0, H_)};
    }

    static constexpr long double kMaxCutsAtOnce = 65536;

    static Refusal WorkBound() {
        return Refusal{"meer dan " + IntText(static_cast<long>(kMaxPieces)) +
                       " stukken lijn in de tegel om samen te voegen"};
    }

    static Refusal TooManySegments() {
        return Refusal{"meer dan " + IntText(static_cast<long>(kMaxSegments)) +
                       " segmenten in de tegel, na het samenvoegen"};
    }

    // Every piece counts towards the work bound; the pieces gathered are merged whenever they
    // reach twice the segment limit, so that memory stays bounded and a figure drawn many times
    // over is refused only when what it merges to is too much.
    void AddPiece(TilePoint a, TilePoint b, ImportReport& report) {
        if (++work_ > kMaxPieces) throw WorkBound();
        pieces_.push_back({a, b});
        if (pieces_.size() >= 2 * kMaxSegments) {
            pieces_ = MergePieces(report);
            if (pieces_.size() > kMaxSegments) throw TooManySegments();
        }
    }

    // The pieces merged, then the too short left out.
    std::vector<TileSegment> Merge(ImportReport& report) {
        std::vector<TileSegment> out;
        for (const TileSegment& segment : MergePieces(report)) {
            if (std::hypot(segment.end.x - segment.start.x, segment.end.y - segment.start.y) <
                kMinSegmentLength) {
                ++report.dropped;
                continue;
            }
            out.push_back(segment);
        }
        return out;
    }

    // Collinear segments that overlap or touch become one (coinciding ones too). The order is
    // the drawing's: a merged segment stands where its first part stood.
    std::vector<TileSegment> MergePieces(ImportReport& report) {
        struct Line {
            long double angle, offset, s0, s1;
            TilePoint p, q;
            std::size_t order;
        };
        constexpr long double kAngleTolerance = 1e-9L;
        std::vector<Line> lines;
        for (std::size_t i = 0; i < pieces_.size(); ++i) {
            TilePoint p = pieces_[i].start, q = pieces_[i].end;
            const long double dx = q.x - p.x, dy = q.y - p.y;
            const long double len = std::sqrt(dx * dx + dy * dy);
            if (len == 0) {
                ++report.dropped;
                continue;
            }
            // The angle only sorts and groups; double precision is ample for that.
            long double angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
            if (angle < 0) {
                angle += std::numbers::pi_v<long double>;
                std::swap(p, q);
            }
            if (angle >= std::numbers::pi_v<long double> - kAngleTolerance) {
                angle -= std::numbers::pi_v<long double>;
                std::swap(p, q);
            }
            const long double ux = (q.x - p.x) / len, uy = (q.y - p.y) / len;
            lines.push_back({angle, -uy * p.x + ux * p.y, 0, 0, p, q, i});
        }
        std::sort(lines.begin(), lines.end(),
                  [](const Line& a, const Line& b) { return a.angle < b.angle; });
        std::vector<std::pair<std::size_t, TileSegment>> kept;
        const auto runs = [](std::vector<Line>& v, std::size_t from, std::size_t end, auto near) {
            std::size_t to = from + 1;
            while (to < end && near(v[to - 1], v[to]))
                ++to;
            return to;
        };
        for (std::size_t a = 0; a < lines.size();) {
            const std::size_t aEnd = runs(
                lines, a, lines.size(),
                [&](const Line& x, const Line& y) { return y.angle - x.angle <= kAngleTolerance; });
            std::sort(lines.begin() + static_cast<long>(a), lines.begin() + static_cast<long>(aEnd),
                      [](const Line& x, const Line& y) { return x.offset < y.offset; });
            for (std::size_t o = a; o < aEnd;) {
                const std::size_t oEnd = runs(lines, o, aEnd, [&](const Line& x, const Line& y) {
                    return y.offset - x.offset <= eps_;
                });
                MergeRun(lines, o, oEnd, kept, report);
                o = oEnd;
            }
            a = aEnd;
        }
        std::sort(kept.begin(), kept.end(),
                  [](const auto& x, const auto& y) { return x.first < y.first; });
        std::vector<TileSegment> out;
        out.reserve(kept.size());
        for (const auto& [order, segment] : kept)
            out.push_back(segment);
        return out;
    }

    template <class Line>
    void MergeRun(std::vector<Line>& lines, std::size_t from, std::size_t to,
                  std::vector<std::pair<std::size_t, TileSegment>>& kept,
                  ImportReport& report) const {
        // Positions along the first line's direction.
        const Line& first = lines[from];
        const long double len = std::hypot(first.q.x - first.p.x, first.q.y - first.p.y);
        const long double ux = (first.q.x - first.p.x) / len, uy = (first.q.y - first.p.y) / len;
        for (std::size_t i = from; i < to; ++i) {
            Line& l = lines[i];
            l.s0 = ux * l.p.x + uy * l.p.y;
            l.s1 = ux * l.q.x + uy * l.q.y;
            if (l.s1 < l.s0) {
                std::swap(l.s0, l.s1);
                std::swap(l.p, l.q);
            }
        }
        std::sort(lines.begin() + static_cast<long>(from), lines.begin() + static_cast<long>(to),
                  [](const Line& x, const Line& y) { return x.s0 < y.s0; });
        Line current = lines[from];
        for (std::size_t i = from + 1; i <= to; ++i) {
            if (i < to && lines[i].s0 <= current.s1 + eps_) {
                ++report.merged;
                current.order = std::min(current.order, lines[i].order);
                if (lines[i].s1 > current.s1) {
                    current.s1 = lines[i].s1;
                    current.q = lines[i].q;
                }
                continue;
            }
            kept.push_back({current.order, TileSegment{current.p, current.q}});
            if (i < to) current = lines[i];
        }
    }

    const Drawing& d_;
    const ImportOptions& o_;
    std::unordered_set<int> tileGroups_;
    std::unordered_set<std::string> layers_;  // the chosen layers, in capitals
    std::size_t work_ = 0;                    // pieces made, merged or not
    long double W_ = 1, H_ = 1, eps_ = 1e-9L;
    std::vector<TileSegment> pieces_;
    std::vector<long double> cuts_;  // kept between segments: no allocation for each
};

const char* SourceName(TileSource source) {
    switch (source) {
        case TileSource::Given:
            return "given";
        case TileSource::TileLayer:
            return "layer";
        case TileSource::Extents:
            return "extents";
        case TileSource::Origin:
            return "origin";
    }
    return "";
}

}  // namespace

namespace {

Point Scaled(Point p, double f) {
    return {p.x * f, p.y * f};
}

// The drawing with every coordinate multiplied by f (knots and weights stay).
Drawing ScaledDrawing(const Drawing& drawing, double f) {
    Drawing out = drawing;
    for (Primitive& p : out.primitives) {
        for (Point* q : {&p.a, &p.b, &p.c, &p.u, &p.v, &p.startTangent, &p.endTangent})
            *q = Scaled(*q, f);
        for (Point& q : p.points)
            q = Scaled(q, f);
    }
    for (Rectangle& r : out.rectangles) {
        r.low = Scaled(r.low, f);
        r.high = Scaled(r.high, f);
    }
    return out;
}

}  // namespace

ImportResult ImportTile(const Drawing& drawing, const ImportOptions& options) {
    ImportResult result;
    try {
        double scale = options.scale.value_or(1.0);
        if (options.toMillimetres) {
            const std::optional<double> mm = MillimetresPerUnit(drawing);
            if (!mm)
                throw Refusal{
                    "de tekening noemt geen eenheid ($INSUNITS) om in millimeters om "
                    "te rekenen; geef de schaal als getal"};
            scale = *mm;
        }
        if (!(scale > 0) || !(scale <= kMaxScale))
            throw Refusal{std::string(kInvalidValueText) + " (schaal " + Number(scale) + ")"};
        result.figure = scale == 1.0 ? Fitter(drawing, options).Run()
                                     : Fitter(ScaledDrawing(drawing, scale), options).Run();
        ImportReport& report = result.figure->report;
        report.scale = scale;
        if (options.toMillimetres) {
            report.units = "MM";
            report.unitsAssumed = false;
        }
    } catch (const Refusal& r) {
        result.error = r.message;
    }
    return result;
}

std::vector<std::string> ReportLines(const ImportReport& r) {
    std::vector<std::string> lines;
    lines.push_back("Elementen gelezen: " + IntText(r.entitiesRead));
    std::string skipped;
    for (const auto& [kind, count] : r.skipped)
        skipped += (skipped.empty() ? "" : ", ") + kind + " " + IntText(count);
    lines.push_back("Overgeslagen: " + (skipped.empty() ? std::string("geen") : skipped));
    std::string curves = "Bogen en krommen: " + IntText(r.curves) + ", " + IntText(r.chords) +
                         " koorden (tolerantie " + Number(r.chordTolerance) + ")";
    if (r.curvesAtChordLimit > 0)
        curves += "; " + IntText(r.curvesAtChordLimit) + " aan de grens van " +
                  IntText(kMaxChordsPerCurve) + " koorden";
    lines.push_back(curves);
    lines.push_back("In de tegel teruggezet: " + IntText(r.wrapped));
    lines.push_back("Samengevoegd: " + IntText(r.merged));
    lines.push_back("Weggelaten (korter dan " + Number(kMinSegmentLength) +
                    "): " + IntText(r.dropped));
    const char* source = r.tile.source == TileSource::Given       ? "opgegeven"
                         : r.tile.source == TileSource::TileLayer ? "rechthoek op laag "
                         : r.tile.source == TileSource::Origin    ? "vanaf de oorsprong"
                                                                  : "omvang van de tekening";
    lines.push_back("Tegel: " + Number(r.tile.low.x) + " " + Number(r.tile.low.y) + " " +
                    Number(r.tile.high.x) + " " + Number(r.tile.high.y) + " (" + source +
                    (r.tile.source == TileSource::TileLayer ? r.tile.layer : "") + ")");
    if (r.scale != 1) lines.push_back("Schaal: " + Number(r.scale));
    lines.push_back("Eenheden: " + r.units +
                    (r.unitsAssumed ? " (aangenomen: $INSUNITS is geen mm of inch)" : ""));
    return lines;
}

std::string ReportJson(const ImportReport& r, std::string_view indent) {
    const std::string in(indent);
    const std::string in2 = in + "  ";
    std::string out = "{\n";
    out += in2 + "\"entitiesRead\": " + IntText(r.entitiesRead) + ",\n";
    out += in2 + "\"skipped\": {";
    bool first = true;
    for (const auto& [kind, count] : r.skipped) {
        out += (first ? "" : ", ") + JsonString(kind) + ": " + IntText(count);
        first = false;
    }
    out += "},\n";
    out += in2 + "\"curves\": " + IntText(r.curves) + ",\n";
    out += in2 + "\"chords\": " + IntText(r.chords) + ",\n";
    out += in2 + "\"curvesAtChordLimit\": " + IntText(r.curvesAtChordLimit) + ",\n";
    out += in2 + "\"chordTolerance\": " + Number(r.chordTolerance) + ",\n";
    out += in2 + "\"wrapped\": " + IntText(r.wrapped) + ",\n";
    out += in2 + "\"merged\": " + IntText(r.merged) + ",\n";
    out += in2 + "\"dropped\": " + IntText(r.dropped) + ",\n";
    out += in2 + "\"tile\": [" + Number(r.tile.low.x) + ", " + Number(r.tile.low.y) + ", " +
           Number(r.tile.high.x) + ", " + Number(r.tile.high.y) + "],\n";
    out += in2 + "\"tileSource\": " + JsonString(SourceName(r.tile.source)) + ",\n";
    out += in2 + "\"tileLayer\": " + JsonString(r.tile.layer) + ",\n";
    out += in2 + "\"scale\": " + Number(r.scale) + ",\n";
    out += in2 + "\"units\": " + JsonString(r.units) + ",\n";
    out += in2 + std::string("\"unitsAssumed\": ") + (r.unitsAssumed ? "true" : "false") + "\n";
    out += in + "}";
    return out;
}

}  // namespace murvex::dxf
