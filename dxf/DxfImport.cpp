// Reading a DXF drawing: our checks first (DxfScan), then dxflib, whose callbacks gather the
// entities and blocks; INSERTs are expanded here into world geometry.
#include "DxfImport.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "Cp1252.h"
#include "DxfScan.h"
#include "NumberText.h"
#include "Text.h"

namespace murvex::dxf {

namespace {

struct Refusal {
    std::string message;
};

struct Vertex {
    double x = 0, y = 0, bulge = 0;
};

// An entity as dxflib gave it, in its own coordinates.
struct RawEntity {
    enum class Kind { Line, Arc, Circle, Ellipse, Polyline, Spline, Insert };
    Kind kind = Kind::Line;
    std::string layer;
    bool mirrored = false;  // extrusion (0, 0, -1): the entity's own X axis points left
    Point a, b;             // Line; Arc, Circle, Ellipse: a is the centre, b the major axis
    double radius = 0, angle1 = 0, angle2 = 0, ratio = 1;
    std::vector<Vertex> vertices;  // Polyline
    bool closed = false;
    int degree = 0;  // Spline
    std::vector<double> knots, weights;
    std::vector<Point> controls, fits;
    Point startTangent, endTangent;
    std::string block;  // Insert
    double sx = 1, sy = 1, rotation = 0, colSpacing = 0, rowSpacing = 0;
    int cols = 1, rows = 1;
};

struct Block {
    std::string name;
    Point base;
    std::deque<RawEntity> entities;
    std::map<std::string, int> skipped;  // entities of the definition left out, by kind
};

std::string UpperName(std::string_view name) {
    return AsciiUpper(name);
}

class Collector final : public DL_CreationAdapter {
  public:
    explicit Collector(bool utf8) : utf8_(utf8) {}

    std::deque<RawEntity> model;
    std::unordered_map<std::string, Block> blocks;
    std::vector<std::string> layers;
    std::map<std::string, int> skipped;
    int insunits = -1;

    void Commit() {
        if (open_) Target().push_back(std::move(*open_));
        open_.reset();
    }

    void addLayer(const DL_LayerData& data) override { layers.push_back(Text(data.name)); }

    void addBlock(const DL_BlockData& data) override {
        Commit();
        const std::string key = UpperName(data.name);
        Block& block = blocks[key];
        block.name = Text(data.name);
        block.base = {data.bpx, data.bpy};
        block.entities.clear();
        current_ = &block;
    }
    void endBlock() override {
        Commit();
        current_ = nullptr;
    }

    void addLine(const DL_LineData& d) override {
        RawEntity e = Start(RawEntity::Kind::Line, "LINE", false);
        e.a = {d.x1, d.y1};
        e.b = {d.x2, d.y2};
        Add(std::move(e));
    }
    void addArc(const DL_ArcData& d) override {
        RawEntity e = Start(RawEntity::Kind::Arc, "ARC", true);
        if (!flat_) return;
        e.a = {d.cx, d.cy};
        e.radius = d.radius;
        e.angle1 = d.angle1;
        e.angle2 = d.angle2;
        Add(std::move(e));
    }
    void addCircle(const DL_CircleData& d) override {
        RawEntity e = Start(RawEntity::Kind::Circle, "CIRCLE", true);
        if (!flat_) return;
        e.a = {d.cx, d.cy};
        e.radius = d.radius;
        Add(std::move(e));
    }
    void addEllipse(const DL_EllipseData& d) override {
        RawEntity e = Start(RawEntity::Kind::Ellipse, "ELLIPSE", true);
        if (!flat_) return;
        e.a = {d.cx, d.cy};
        e.b = {d.mx, d.my};
        e.ratio = d.ratio;
        e.angle1 = d.angle1;
        e.angle2 = d.angle2;
        Add(std::move(e));
    }
    void addPolyline(const DL_PolylineData& d) override {
        // 3D polylines, meshes and polyface meshes.
        const bool threeD = (d.flags & (8 | 16 | 64)) != 0;
        RawEntity e = Start(RawEntity::Kind::Polyline, "POLYLINE", true);
        if (!flat_) return;
        if (threeD) {
            ++Skipped()["POLYLINE (3D)"];
            return;
        }
        e.closed = (d.flags & 1) != 0;
        open_ = std::move(e);
    }
    void addVertex(const DL_VertexData& d) override {
        if (open_ && open_->kind == RawEntity::Kind::Polyline)
            open_->vertices.push_back({d.x, d.y, d.bulge});
    }
    void addSpline(const DL_SplineData& d) override {
        RawEntity e = Start(RawEntity::Kind::Spline, "SPLINE", false);
        e.degree = static_cast<int>(d.degree);
        e.startTangent = {d.tangentStartX, d.tangentStartY};
        e.endTangent = {d.tangentEndX, d.tangentEndY};
        e.closed = (d.flags & 1) != 0;
        open_ = std::move(e);
    }
    void addControlPoint(const DL_ControlPointData& d) override {
        if (!open_ || open_->kind != RawEntity::Kind::Spline) return;
        open_->controls.push_back({d.x, d.y});
        open_->weights.push_back(d.w);
    }
    void addFitPoint(const DL_FitPointData& d) override {
        if (open_ && open_->kind == RawEntity::Kind::Spline) open_->fits.push_back({d.x, d.y});
    }
    void addKnot(const DL_KnotData& d) override {
        if (open_ && open_->kind == RawEntity::Kind::Spline) open_->knots.push_back(d.k);
    }
    void addInsert(const DL_InsertData& d) override {
        RawEntity e = Start(RawEntity::Kind::Insert, "INSERT", true);
        if (!flat_) return;
        e.block = UpperName(d.name);
        e.a = {d.ipx, d.ipy};
        e.sx = d.sx;
        e.sy = d.sy;
        e.rotation = d.angle;
        e.cols = std::max(1, d.cols);
        e.rows = std::max(1, d.rows);
        e.colSpacing = d.colSp;
        e.rowSpacing = d.rowSp;
        Add(std::move(e));
    }
    void endEntity() override { Commit(); }
    void endSequence() override { Commit(); }

    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS") insunits = value;
    }

  private:
    std::deque<RawEntity>& Target() { return current_ ? current_->entities : model; }
    std::map<std::string, int>& Skipped() { return current_ ? current_->skipped : skipped; }

    std::string Text(const std::string& text) const { return utf8_ ? Utf8ToCp1252(text) : text; }

    // A new entity with the layer dxflib read for it. Entities drawn in their own plane
    // (arcs, circles, polylines, inserts) are taken only when that plane is the drawing's,
    // seen from either side.
    RawEntity Start(RawEntity::Kind kind, const char* name, bool planar) {
        Commit();
        RawEntity e;
        e.kind = kind;
        e.layer = Text(getAttributes().getLayer());
        const double* n = getExtrusion()->getDirection();
        flat_ = std::fabs(n[0]) < 1e-9 && std::fabs(n[1]) < 1e-9 && n[2] != 0;
        e.mirrored = flat_ && n[2] < 0;
        if (planar && !flat_) ++Skipped()[std::string(name) + " (3D)"];
        return e;
    }
    void Add(RawEntity e) { Target().push_back(std::move(e)); }

    bool utf8_;
    bool flat_ = true;
    Block* current_ = nullptr;
    std::optional<RawEntity> open_;
};

// x' = a x + b y + e, y' = c x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Point Apply(Point p) const { return {a * p.x + b * p.y + e, c * p.x + d * p.y + f}; }
    Point Linear(Point p) const { return {a * p.x + b * p.y, c * p.x + d * p.y}; }
    // This after inner.
    Affine After(const Affine& in) const {
        return {a * in.a + b * in.c, a * in.b + b * in.d,     c * in.a + d * in.c,
                c * in.b + d * in.d, a * in.e + b * in.f + e, c * in.e + d * in.f + f};
    }
};

Affine Translation(double x, double y) {
    return {1, 0, 0, 1, x, y};
}
Affine Mirror() {
    return {-1, 0, 0, 1, 0, 0};
}

constexpr double kDegree = std::numbers::pi / 180.0;
// An arc whose sweep is this close to 360 degrees is a whole circle.
constexpr double kFullTurnDegrees = 1e-9 * 180.0 / std::numbers::pi;
// A bulge arc higher than its chord by no more than this share of the chord is straight.
constexpr double kStraightBulgeHeight = 1e-9;

std::string Number(double value) {
    std::string text = Fmt10(value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

bool Fits(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= kMaxCoordinate &&
           std::fabs(p.y) <= kMaxCoordinate;
}

class Expander {
  public:
    Expander(const Collector& c, Drawing& out) : c_(c), out_(out) {}

    void Run() {
        // Every block is looked at, used or not: one that inserts itself is refused either way.
        for (const auto& [key, block] : c_.blocks)
            Cost(key);
        std::uint64_t total = 0;
        for (const RawEntity& e : c_.model)
            total = SaturatingAdd(total, Cost(e));
        if (total > kMaxEntities)
            throw Refusal{"de INSERTs vermenigvuldigen de tekening tot meer dan " +
                          IntText(static_cast<long>(kMaxEntities)) + " elementen"};
        // What the blocks leave out counts once for every insertion, nested ones too.
        for (const RawEntity& e : c_.model)
            if (e.kind == RawEntity::Kind::Insert) AddSkipped(e, 1);
        for (const auto& [kind, count] : skippedTotal_)
            out_.skipped[kind] =
                static_cast<int>(std::min<std::uint64_t>(out_.skipped[kind] + count, 2147483647));
        Expand(c_.model, Affine{}, "", 0);
        AddLineRectangles();
    }

  private:
    static std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
        return a > kCap - b ? kCap : a + b;
    }
    static std::uint64_t SaturatingMul(std::uint64_t a, std::uint64_t b) {
        return (b != 0 && a > kCap / b) ? kCap : a * b;
    }

    std::uint64_t Cost(const RawEntity& e) {
        switch (e.kind) {
            case RawEntity::Kind::Polyline:
                return std::max<std::uint64_t>(1, e.vertices.size());
            case RawEntity::Kind::Insert: {
                // A block that adds nothing is not expanded at all, however often it is placed.
                if (!c_.blocks.count(e.block)) return 0;
                const std::uint64_t copies = SaturatingMul(static_cast<std::uint64_t>(e.cols),
                                                           static_cast<std::uint64_t>(e.rows));
                return SaturatingMul(copies, Cost(e.block));
            }
            case RawEntity::Kind::Line:
            case RawEntity::Kind::Arc:
            case RawEntity::Kind::Circle:
            case RawEntity::Kind::Ellipse:
            case RawEntity::Kind::Spline:
                return 1;
        }
        return 1;
    }

    // The entities left out by one insertion of e, times `times`.
    void AddSkipped(const RawEntity& e, std::uint64_t times) {
        if (!c_.blocks.count(e.block)) {
            Count(skippedTotal_, "INSERT (blok ontbreekt)", times);
            return;
        }
        const std::uint64_t copies = SaturatingMul(
            times,
            SaturatingMul(static_cast<std::uint64_t>(e.cols), static_cast<std::uint64_t>(e.rows)));
        for (const auto& [kind, count] : SkippedOf(e.block))
            Count(skippedTotal_, kind, SaturatingMul(copies, count));
    }

    static void Count(std::map<std::string, std::uint64_t>& into, const std::string& kind,
                      std::uint64_t count) {
        std::uint64_t& n = into[kind];
        n = SaturatingAdd(n, count);
    }

    // The entities one insertion of the block leaves out (the block has no cycle: Cost looked).
    const std::map<std::string, std::uint64_t>& SkippedOf(const std::string& key) {
        const auto done = skippedOf_.find(key);
        if (done != skippedOf_.end()) return done->second;
        std::map<std::string, std::uint64_t> own;
        const Block& block = c_.blocks.at(key);
        for (const auto& [kind, count] : block.skipped)
            Count(own, kind, static_cast<std::uint64_t>(count));
        for (const RawEntity& e : block.entities) {
            if (e.kind != RawEntity::Kind::Insert) continue;
            if (!c_.blocks.count(e.block)) {
                Count(own, "INSERT (blok ontbreekt)", 1);
                continue;
            }
            const std::uint64_t copies = SaturatingMul(static_cast<std::uint64_t>(e.cols),
                                                       static_cast<std::uint64_t>(e.rows));
            for (const auto& [kind, count] : SkippedOf(e.block))
                Count(own, kind, SaturatingMul(copies, count));
        }
        return skippedOf_[key] = std::move(own);
    }

    // The primitives one insertion of the block makes; refuses a block that inserts itself.
    std::uint64_t Cost(const std::string& key) {
        const auto done = cost_.find(key);
        if (done != cost_.end()) {
            if (done->second == kVisiting)
                throw Refusal{"blok \"" + c_.blocks.at(key).name +
                              "\" voegt zichzelf in (direct of via andere blokken)"};
            return done->second;
        }
        cost_[key] = kVisiting;
        std::uint64_t total = 0;
        for (const RawEntity& e : c_.blocks.at(key).entities)
            total = SaturatingAdd(total, Cost(e));
        cost_[key] = total;
        return total;
    }

    void Expand(const std::deque<RawEntity>& entities, const Affine& m,
                const std::string& insertLayer, int depth) {
        for (const RawEntity& e : entities) {
            // An entity of a block on layer 0 takes the layer of the INSERT.
            const std::string layer = (depth > 0 && e.layer == "0") ? insertLayer : e.layer;
            const Affine placed = e.mirrored ? m.After(Mirror()) : m;
            switch (e.kind) {
                case RawEntity::Kind::Line:
                    AddSegment(layer, m.Apply(e.a), m.Apply(e.b), -1);
                    break;
                case RawEntity::Kind::Arc:
                case RawEntity::Kind::Circle:
                    AddCircular(e, placed, layer);
                    break;
                case RawEntity::Kind::Ellipse:
                    AddEllipse(e, m, layer);
                    break;
                case RawEntity::Kind::Polyline:
                    AddPolyline(e, placed, layer);
                    break;
                case RawEntity::Kind::Spline:
                    AddSpline(e, m, layer);
                    break;
                case RawEntity::Kind::Insert:
                    AddInsert(e, placed, layer, depth);
                    break;
            }
        }
    }

    void AddInsert(const RawEntity& e, const Affine& m, const std::string& layer, int depth) {
        const auto found = c_.blocks.find(e.block);
        if (found == c_.blocks.end()) return;  // counted in Run
        if (depth >= kMaxInsertDepth)
            throw Refusal{"blokken dieper genest dan " + IntText(kMaxInsertDepth) + " niveaus"};
        // Nothing of it reaches the figure: no copy is made (the count of its work is 0).
        if (cost_.at(e.block) == 0) return;
        const Block& block = found->second;
        const double cr = std::cos(e.rotation * kDegree), sr = std::sin(e.rotation * kDegree);
        const Affine rotate{cr, -sr, sr, cr, 0, 0};
        const Affine scale{e.sx, 0, 0, e.sy, -e.sx * block.base.x, -e.sy * block.base.y};
        for (int row = 0; row < e.rows; ++row) {
            for (int col = 0; col < e.cols; ++col) {
                const Affine cell = Translation(col * e.colSpacing, row * e.rowSpacing);
                const Affine local =
                    Translation(e.a.x, e.a.y).After(rotate).After(cell).After(scale);
                Expand(block.entities, m.After(local), layer, depth + 1);
            }
        }
    }

    void AddCircular(const RawEntity& e, const Affine& m, const std::string& layer) {
        const bool arc = e.kind == RawEntity::Kind::Arc;
        if (!(e.radius > 0)) {
            ++out_.skipped[std::string(arc ? "ARC" : "CIRCLE") + " (straal 0)"];
            return;
        }
        double t0 = 0, sweep = 2 * std::numbers::pi;
        if (arc) {
            t0 = e.angle1 * kDegree;
            double degrees = std::fmod(e.angle2 - e.angle1, 360.0);
            if (degrees <= 0) degrees += 360.0;
            if (degrees >= 360.0 - kFullTurnDegrees) degrees = 360.0;
            sweep = degrees * kDegree;
        }
        AddConic(layer, m.Apply(e.a), m.Linear({e.radius, 0}), m.Linear({0, e.radius}), t0, sweep,
                 std::nullopt, std::nullopt);
    }

    void AddEllipse(const RawEntity& e, const Affine& m, const std::string& layer) {
        if (!(e.ratio > 0) || (e.b.x == 0 && e.b.y == 0)) {
            ++out_.skipped["ELLIPSE (as 0)"];
            return;
        }
        // The second axis is the extrusion crossed with the first. A ratio above 1 makes it the
        // longer one; the curve c + u cos t + v sin t is the same either way.
        const Point minor = e.mirrored ? Point{e.ratio * e.b.y, -e.ratio * e.b.x}
                                       : Point{-e.ratio * e.b.y, e.ratio * e.b.x};
        double sweep = std::fmod(e.angle2 - e.angle1, 2 * std::numbers::pi);
        if (sweep <= 1e-12) sweep += 2 * std::numbers::pi;
        // An end written a hair past a full turn (6.2831853072) is a full turn.
        if (sweep < 1e-9 || sweep > 2 * std::numbers::pi - 1e-9) sweep = 2 * std::numbers::pi;
        AddConic(layer, m.Apply(e.a), m.Linear(e.b), m.Linear(minor), e.angle1, sweep, std::nullopt,
                 std::nullopt);
    }

    void AddPolyline(const RawEntity& e, const Affine& m, const std::string& layer) {
        const int group = nextGroup_++;
        std::vector<Vertex> v = e.vertices;
        if (v.size() < 2) return;
        const bool closed = e.closed || (v.front().x == v.back().x && v.front().y == v.back().y);
        if (v.front().x == v.back().x && v.front().y == v.back().y) v.pop_back();
        const std::size_t edges = closed ? v.size() : v.size() - 1;
        bool straight = true;
        for (std::size_t i = 0; i < edges; ++i) {
            const Vertex& p = v[i];
            const Vertex& q = v[(i + 1) % v.size()];
            if (p.bulge == 0) {
                AddSegment(layer, m.Apply({p.x, p.y}), m.Apply({q.x, q.y}), group);
            } else {
                straight = false;
                AddBulge(layer, p, q, m, group);
            }
        }
        if (closed && straight && v.size() == 4) AddRectangle(layer, v, m, group);
    }

    void AddRectangle(const std::string& layer, const std::vector<Vertex>& v, const Affine& m,
                      int group) {
        Point corners[4];
        for (int i = 0; i < 4; ++i)
            corners[i] =
                m.Apply({v[static_cast<std::size_t>(i)].x, v[static_cast<std::size_t>(i)].y});
        // Rotated or mirrored in a block, an edge may be off its axis by a rounding error: it
        // counts as parallel within 1e-9 of the rectangle's size.
        double size = 0;
        for (const Point& p : corners)
            size = std::max({size, std::fabs(p.x - corners[0].x), std::fabs(p.y - corners[0].y)});
        const double tolerance = 1e-9 * size;
        for (int i = 0; i < 4; ++i) {
            const Point p = corners[i], q = corners[(i + 1) % 4];
            if (std::fabs(p.x - q.x) > tolerance && std::fabs(p.y - q.y) > tolerance) return;
        }
        Rectangle r{layer, group, corners[0], corners[0]};
        for (const Point& p : corners) {
            r.low = {std::min(r.low.x, p.x), std::min(r.low.y, p.y)};
            r.high = {std::max(r.high.x, p.x), std::max(r.high.y, p.y)};
        }
        if (r.low.x < r.high.x && r.low.y < r.high.y) out_.rectangles.push_back(r);
    }

    // Four LINEs on a tile layer that close into an axis-parallel rectangle (within 1e-9 of its
    // size, as a closed polyline in a turned block) are a tile candidate as that polyline is,
    // and are grouped so that its edges stay out of the figure. Only a few lines on such a
    // layer are looked at: a frame is four of them.
    void AddLineRectangles() {
        constexpr std::size_t kMaxTileLines = 64;
        std::map<std::string, std::vector<std::size_t>> byLayer;
        for (std::size_t i = 0; i < out_.primitives.size(); ++i) {
            const Primitive& p = out_.primitives[i];
            if (p.kind == Primitive::Kind::Segment && p.group < 0 && IsTileLayer(p.layer))
                byLayer[UpperName(p.layer)].push_back(i);
        }
        for (auto& [layer, lines] : byLayer) {
            if (lines.size() < 4 || lines.size() > kMaxTileLines) continue;
            const auto at = [&](std::size_t i) -> Primitive& { return out_.primitives[i]; };
            for (std::size_t i = 0; i < lines.size(); ++i)
                for (std::size_t j = 0; j < lines.size(); ++j)
                    if (j != i) TryLineRectangle(lines, at(lines[i]), at(lines[j]));
        }
    }

    // The rectangle whose low edge is `low` and left edge `left`, when the two other edges are
    // among the lines too.
    void TryLineRectangle(const std::vector<std::size_t>& lines, Primitive& low, Primitive& left) {
        if (low.group >= 0 || left.group >= 0) return;
        const Point x0{std::min(low.a.x, low.b.x), 0}, x1{std::max(low.a.x, low.b.x), 0};
        const Point y0{0, std::min(left.a.y, left.b.y)}, y1{0, std::max(left.a.y, left.b.y)};
        const Point lo{x0.x, y0.y}, hi{x1.x, y1.y};
        if (!(lo.x < hi.x && lo.y < hi.y)) return;
        const double tolerance = 1e-9 * std::max(hi.x - lo.x, hi.y - lo.y);
        const auto near = [&](Point p, Point q) {
            return std::fabs(p.x - q.x) <= tolerance && std::fabs(p.y - q.y) <= tolerance;
        };
        const auto edge = [&](const Primitive& s, Point p, Point q) {
            return s.kind == Primitive::Kind::Segment && s.group < 0 &&
                   ((near(s.a, p) && near(s.b, q)) || (near(s.a, q) && near(s.b, p)));
        };
        if (!edge(low, lo, {hi.x, lo.y}) || !edge(left, lo, {lo.x, hi.y})) return;
        Primitive* right = nullptr;
        Primitive* top = nullptr;
        for (const std::size_t i : lines) {
            Primitive& s = out_.primitives[i];
            if (&s == &low || &s == &left) continue;
            if (!right && edge(s, {hi.x, lo.y}, hi))
                right = &s;
            else if (!top && edge(s, {lo.x, hi.y}, hi))
                top = &s;
        }
        if (!right || !top) return;
        const int group = nextGroup_++;
        for (Primitive* s : {&low, &left, right, top})
            s->group = group;
        out_.rectangles.push_back({low.layer, group, lo, hi});
    }

    // A bulge is the tangent of a quarter of the arc's angle, positive counter-clockwise.
    void AddBulge(const std::string& layer, const Vertex& p, const Vertex& q, const Affine& m,
                  int group) {
        const double theta = 4 * std::atan(p.bulge);
        const double dx = q.x - p.x, dy = q.y - p.y;
        const double chord = std::hypot(dx, dy);
        if (chord == 0) return;
        // The arc's height over its chord is chord * bulge / 2: an arc that stays this close to
        // its chord is the chord.
        if (std::fabs(p.bulge) / 2 <= kStraightBulgeHeight) {
            AddSegment(layer, m.Apply({p.x, p.y}), m.Apply({q.x, q.y}), group);
            return;
        }
        const double h = chord / (2 * std::tan(theta / 2));
        const Point centre{(p.x + q.x) / 2 - h * dy / chord, (p.y + q.y) / 2 + h * dx / chord};
        const double radius = std::hypot(p.x - centre.x, p.y - centre.y);
        const double t0 = std::atan2(p.y - centre.y, p.x - centre.x);
        AddConic(layer, m.Apply(centre), m.Linear({radius, 0}), m.Linear({0, radius}), t0, theta,
                 m.Apply({p.x, p.y}), m.Apply({q.x, q.y}), group);
    }

    void AddSpline(const RawEntity& e, const Affine& m, const std::string& layer) {
        Primitive s;
        s.layer = layer;
        if (!e.controls.empty()) {
            const std::size_t n = e.controls.size();
            const int p = e.degree;
            // A spline whose numbers make no curve is left out, as other degenerate entities.
            if (p < 1 || p > 10 || n < static_cast<std::size_t>(p) + 1 ||
                e.knots.size() != n + static_cast<std::size_t>(p) + 1 ||
                !std::is_sorted(e.knots.begin(), e.knots.end()) ||
                !(e.knots[static_cast<std::size_t>(p)] < e.knots[n])) {
                ++out_.skipped["SPLINE (graad, punten en knopen passen niet)"];
                return;
            }
            if (std::any_of(e.weights.begin(), e.weights.end(),
                            [](double w) { return !(w > 0); })) {
                ++out_.skipped["SPLINE (gewicht 0 of kleiner)"];
                return;
            }
            s.kind = Primitive::Kind::Spline;
            s.degree = p;
            s.knots = e.knots;
            s.weights = e.weights;
            for (const Point& c : e.controls)
                s.points.push_back(m.Apply(c));
        } else if (e.fits.size() >= 2) {
            s.kind = Primitive::Kind::FitSpline;
            for (const Point& f : e.fits)
                s.points.push_back(m.Apply(f));
            s.startTangent = m.Linear(e.startTangent);
            s.endTangent = m.Linear(e.endTangent);
        } else {
            ++out_.skipped["SPLINE (zonder punten)"];
            return;
        }
        for (const Point& p : s.points)
            Check(p);
        Push(std::move(s));
    }

    void AddSegment(const std::string& layer, Point a, Point b, int group) {
        Check(a);
        Check(b);
        Primitive s;
        s.kind = Primitive::Kind::Segment;
        s.layer = layer;
        s.group = group;
        s.a = a;
        s.b = b;
        Push(std::move(s));
    }

    void AddConic(const std::string& layer, Point c, Point u, Point v, double t0, double sweep,
                  std::optional<Point> start, std::optional<Point> end, int group = -1) {
        if (start && end) {
            // A polyline's arc: its ends are the drawing's points; the centre of a nearly
            // straight one may lie far beyond them, and is only a means to draw it.
            Check(*start);
            Check(*end);
            if (!std::isfinite(c.x + c.y + u.x + u.y + v.x + v.y))
                throw Refusal{"een boog in een polyline zonder eindige straal"};
        } else {
            Check(c);
            Check(u);
            Check(v);
        }
        Primitive s;
        s.kind = Primitive::Kind::Conic;
        s.layer = layer;
        s.group = group;
        s.c = c;
        s.u = u;
        s.v = v;
        s.t0 = t0;
        s.sweep = sweep;
        const double t1 = t0 + sweep;
        s.a = start.value_or(Point{c.x + u.x * std::cos(t0) + v.x * std::sin(t0),
                                   c.y + u.y * std::cos(t0) + v.y * std::sin(t0)});
        s.b = end.value_or(Point{c.x + u.x * std::cos(t1) + v.x * std::sin(t1),
                                 c.y + u.y * std::cos(t1) + v.y * std::sin(t1)});
        // A whole turn ends where it starts.
        if (std::fabs(sweep) >= 2 * std::numbers::pi) s.b = s.a;
        Push(std::move(s));
    }

    static void Check(Point p) {
        if (!Fits(p))
            throw Refusal{"co\xF6rdinaten buiten +/-" + Number(kMaxCoordinate) +
                          " (na het invoegen van blokken)"};
    }

    void Push(Primitive p) {
        if (out_.primitives.size() >= kMaxEntities)
            throw Refusal{"meer dan " + IntText(static_cast<long>(kMaxEntities)) + " elementen"};
        out_.primitives.push_back(std::move(p));
    }

    static constexpr std::uint64_t kCap = std::uint64_t{1} << 62;
    static constexpr std::uint64_t kVisiting = ~std::uint64_t{0};
    const Collector& c_;
    Drawing& out_;
    std::unordered_map<std::string, std::uint64_t> cost_;
    std::unordered_map<std::string, std::map<std::string, std::uint64_t>> skippedOf_;
    std::map<std::string, std::uint64_t> skippedTotal_;
    int nextGroup_ = 0;
};

const char* kRefusedPrefix = "De DXF-tekening kan niet worden ingelezen: ";

}  // namespace

DrawingResult ReadDrawing(std::string_view bytes) {
    DrawingResult result;
    const ScanResult scan = ScanDxf(bytes);
    if (!scan.error.empty()) {
        result.error = kRefusedPrefix + scan.error;
        return result;
    }
    Collector collector(scan.utf8);
    {
        std::istringstream stream(scan.text);
        DL_Dxf reader;
        reader.in(stream, &collector);
    }
    collector.Commit();
    Drawing drawing;
    drawing.entitiesRead = scan.entities;
    drawing.skipped = scan.skipped;
    for (const auto& [kind, count] : collector.skipped) {
        drawing.skipped[kind] += count;
        drawing.entitiesRead -= count;
    }
    for (auto& [key, block] : collector.blocks) {
        for (const auto& [kind, count] : block.skipped)
            drawing.entitiesRead -= count;
        const auto scanned = scan.blockSkipped.find(key);
        if (scanned != scan.blockSkipped.end())
            for (const auto& [kind, count] : scanned->second)
                block.skipped[kind] += count;
    }
    try {
        Expander(collector, drawing).Run();
    } catch (const Refusal& r) {
        result.error = kRefusedPrefix + r.message;
        return result;
    }
    // Layers: the table's, then those only entities name (any case the same layer).
    std::unordered_set<std::string> seen;
    for (const std::string& name : collector.layers)
        if (seen.insert(UpperName(name)).second) drawing.layers.push_back(name);
    for (const Primitive& p : drawing.primitives)
        if (seen.insert(UpperName(p.layer)).second) drawing.layers.push_back(p.layer);
    // $INSUNITS: 1 inches, 4 millimetres.
    drawing.insunits = collector.insunits;
    drawing.units = collector.insunits == 1 ? "INCH" : "MM";
    drawing.unitsAssumed = collector.insunits != 1 && collector.insunits != 4;
    result.drawing = std::move(drawing);
    return result;
}

DrawingResult ReadDrawingFile(const std::string& path) {
    DrawingResult result;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxDxfBytes) {
        result.error = std::string(kRefusedPrefix) + "het bestand is groter dan 64 MiB";
        return result;
    }
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        result.error = "Cannot open file \"" + path + "\"";
        return result;
    }
    return ReadDrawing(*bytes);
}

std::optional<double> MillimetresPerUnit(const Drawing& drawing) {
    switch (drawing.insunits) {
        case 1:
            return 25.4;
        case 2:
            return 304.8;
        case 4:
            return 1.0;
        case 5:
            return 10.0;
        case 6:
            return 1000.0;
        default:
            return std::nullopt;
    }
}

bool IsTileLayer(std::string_view layer) {
    return EqualsNoCase(layer, "TEGEL") || EqualsNoCase(layer, "TILE");
}

bool IsDxfName(std::string_view path) {
    return path.size() >= 4 && EqualsNoCase(path.substr(path.size() - 4), ".dxf");
}

}  // namespace murvex::dxf
