// The snaps beside the end point snap.
#include "Snaps.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "NumberText.h"

namespace murvex::figure {

namespace {

// Buckets per side at most: enough for tens of thousands of rows without a memory burden.
constexpr int kMaxBucketsPerSide = 256;

bool InWindow(TilePoint q, TilePoint p, long double r) {
    return std::fabs(q.x - p.x) < r && std::fabs(q.y - p.y) < r;
}

long double Distance(TilePoint a, TilePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The point of segment ab nearest to p.
TilePoint NearestOnSegment(TilePoint a, TilePoint b, TilePoint p) {
    const long double dx = b.x - a.x;
    const long double dy = b.y - a.y;
    const long double len2 = dx * dx + dy * dy;
    if (!(len2 > 0)) return a;
    const long double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0L, 1.0L);
    return {a.x + t * dx, a.y + t * dy};
}

// Where two segments cross, ends included; nothing for parallel ones.
std::optional<TilePoint> Crossing(const TileSegment& a, const TileSegment& b) {
    const long double rx = a.end.x - a.start.x;
    const long double ry = a.end.y - a.start.y;
    const long double sx = b.end.x - b.start.x;
    const long double sy = b.end.y - b.start.y;
    const long double denom = rx * sy - ry * sx;
    if (denom == 0 || !std::isfinite(denom)) return std::nullopt;
    const long double qx = b.start.x - a.start.x;
    const long double qy = b.start.y - a.start.y;
    const long double t = (qx * sy - qy * sx) / denom;
    const long double u = (qx * ry - qy * rx) / denom;
    if (t < 0 || t > 1 || u < 0 || u > 1) return std::nullopt;
    return TilePoint{a.start.x + t * rx, a.start.y + t * ry};
}

// Keeps the candidate nearest to p.
struct Best {
    std::optional<SnapTarget> target;
    long double distance = std::numeric_limits<long double>::infinity();
    void Offer(TilePoint q, TilePoint p, SnapKind kind) {
        const long double d = Distance(q, p);
        if (d < distance) {
            distance = d;
            target = SnapTarget{q, kind};
        }
    }
};

}  // namespace

bool SetGridSpacing(FigureModel& model, double spacing) {
    if (!(spacing > 0) || !std::isfinite(spacing)) return false;
    // Before the first figure only the spacing itself is checked; the tile checks it again.
    const long double w = std::max(model.TileWidth(), 0);
    const long double h = std::max(model.TileHeight(), 0);
    const long double points = (std::floor(w / spacing) + 1) * (std::floor(h / spacing) + 1);
    if (!(points <= kMaxGridPoints)) return false;
    model.interaction.snaps.gridSpacing = spacing;
    return true;
}

namespace {

// The row's entry: nothing for a row without any end point.
std::optional<SegmentIndex::Entry> EntryOf(const TextGrid& grid, int row) {
    auto cellsSet = [&](int xCol, int yCol) {
        return !grid.Cell(xCol, row).empty() && !grid.Cell(yCol, row).empty();
    };
    SegmentIndex::Entry e;
    e.row = row;
    e.hasStart = cellsSet(kColXStart, kColYStart);
    e.hasEnd = cellsSet(kColXEind, kColYEind);
    if (!e.hasStart && !e.hasEnd) return std::nullopt;
    e.segment = RowSegment(grid, row);
    // A half row is a point: its one end counts for both.
    if (!e.hasEnd) e.segment.end = e.segment.start;
    if (!e.hasStart) e.segment.start = e.segment.end;
    return e;
}

}  // namespace

SegmentIndex::SegmentIndex(const TextGrid& grid, TilePoint tile)
    : revision_(grid.Revision()), rowCount_(grid.RowCount()), tile_(tile) {
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (std::optional<Entry> e = EntryOf(grid, row)) entries_.push_back(*e);
    }
}

bool SegmentIndex::Update(const TextGrid& grid, RowSpan rows) {
    const int first = std::max(rows.first, 1);
    const int last = std::min(rows.last, std::max(grid.RowCount(), rowCount_) - 1);
    std::vector<Entry> fresh;
    for (int row = first; row <= std::min(last, grid.RowCount() - 1); ++row) {
        if (std::optional<Entry> e = EntryOf(grid, row)) fresh.push_back(*e);
    }
    const auto byRow = [](const Entry& e, int row) { return e.row < row; };
    const auto from = std::lower_bound(entries_.begin(), entries_.end(), first, byRow);
    const auto to = std::lower_bound(from, entries_.end(), last + 1, byRow);
    const int e0 = static_cast<int>(from - entries_.begin());
    const int e1 = static_cast<int>(to - entries_.begin());
    const bool tail = to == entries_.end();
    // Rows that moved (a row inserted or deleted above others) change every index after them.
    if (!tail && e1 - e0 != static_cast<int>(fresh.size())) return false;
    if (sorted_) {
        for (int i = e1 - 1; i >= e0; --i)
            Remove(i, entries_[static_cast<std::size_t>(i)].segment);
    }
    entries_.erase(from, to);
    entries_.insert(entries_.begin() + e0, fresh.begin(), fresh.end());
    if (sorted_) {
        // Buckets laid out for far fewer entries, or not reaching a new segment, are laid out
        // again at the next query.
        bool fits = entries_.size() <= 4 * std::max<std::size_t>(sortedCount_, 64);
        for (const Entry& e : fresh)
            fits = fits && Covers(e.segment);
        if (fits) {
            for (int i = 0; i < static_cast<int>(fresh.size()); ++i)
                Add(e0 + i, fresh[static_cast<std::size_t>(i)].segment);
        } else {
            sorted_ = false;
            buckets_.clear();
        }
    }
    revision_ = grid.Revision();
    rowCount_ = grid.RowCount();
    return true;
}

void SegmentIndex::SortIntoBuckets() const {
    sorted_ = true;
    sortedCount_ = entries_.size();
    buckets_.clear();
    if (entries_.empty()) return;
    long double right = -std::numeric_limits<long double>::infinity();
    long double top = right;
    left_ = bottom_ = std::numeric_limits<long double>::infinity();
    if (tile_.x > 0 && tile_.y > 0) {
        left_ = bottom_ = 0;
        right = tile_.x;
        top = tile_.y;
    }
    for (const Entry& e : entries_) {
        for (const TilePoint& q : {e.segment.start, e.segment.end}) {
            left_ = std::min(left_, q.x);
            right = std::max(right, q.x);
            bottom_ = std::min(bottom_, q.y);
            top = std::max(top, q.y);
        }
    }
    const long double span = std::max(right - left_, top - bottom_);
    const int side =
        std::clamp(static_cast<int>(std::ceil(std::sqrt(static_cast<double>(entries_.size())))), 1,
                   kMaxBucketsPerSide);
    cell_ = span > 0 && std::isfinite(span) ? span / side : 1;
    columns_ = std::clamp(static_cast<int>((right - left_) / cell_) + 1, 1, side + 1);
    rows_ = std::clamp(static_cast<int>((top - bottom_) / cell_) + 1, 1, side + 1);
    buckets_.resize(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_));
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
        Add(i, entries_[static_cast<std::size_t>(i)].segment);
}

int SegmentIndex::BucketX(long double x) const {
    const long double b = std::floor((x - left_) / cell_);
    return static_cast<int>(std::clamp(b, 0.0L, static_cast<long double>(columns_ - 1)));
}

int SegmentIndex::BucketY(long double y) const {
    const long double b = std::floor((y - bottom_) / cell_);
    return static_cast<int>(std::clamp(b, 0.0L, static_cast<long double>(rows_ - 1)));
}

template <class Visit>
void SegmentIndex::ForEachBucket(const TileSegment& s, Visit&& visit) const {
    auto visitBox = [&](TilePoint a, TilePoint b) {
        const int x0 = BucketX(std::min(a.x, b.x));
        const int x1 = BucketX(std::max(a.x, b.x));
        const int y0 = BucketY(std::min(a.y, b.y));
        const int y1 = BucketY(std::max(a.y, b.y));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x)
                visit(buckets_[static_cast<std::size_t>(y) * columns_ + x]);
        }
    };
    // A long slanted segment goes into the buckets along it, not into all of its bounding box:
    // pieces a bucket long, each in the few buckets of its own box.
    const long double length = Distance(s.start, s.end);
    const int pieces = std::clamp(static_cast<int>(length / cell_) + 1, 1, 2 * kMaxBucketsPerSide);
    TilePoint from = s.start;
    for (int i = 1; i <= pieces; ++i) {
        const long double t = static_cast<long double>(i) / pieces;
        const TilePoint to = i == pieces ? s.end
                                         : TilePoint{s.start.x + t * (s.end.x - s.start.x),
                                                     s.start.y + t * (s.end.y - s.start.y)};
        visitBox(from, to);
        from = to;
    }
}

void SegmentIndex::Add(int entry, const TileSegment& s) const {
    // Buckets hold their entries in ascending order, each once.
    ForEachBucket(s, [entry](std::vector<int>& bucket) {
        if (!bucket.empty() && bucket.back() < entry) {
            bucket.push_back(entry);
            return;
        }
        const auto at = std::lower_bound(bucket.begin(), bucket.end(), entry);
        if (at == bucket.end() || *at != entry) bucket.insert(at, entry);
    });
}

void SegmentIndex::Remove(int entry, const TileSegment& s) const {
    ForEachBucket(s, [entry](std::vector<int>& bucket) {
        const auto at = std::lower_bound(bucket.begin(), bucket.end(), entry);
        if (at != bucket.end() && *at == entry) bucket.erase(at);
    });
}

bool SegmentIndex::Covers(const TileSegment& s) const {
    if (buckets_.empty()) return false;
    const long double right = left_ + columns_ * cell_;
    const long double top = bottom_ + rows_ * cell_;
    for (const TilePoint& q : {s.start, s.end}) {
        if (!(q.x >= left_ && q.x < right && q.y >= bottom_ && q.y < top)) return false;
    }
    return true;
}

void SegmentIndex::Query(TilePoint p, long double r, std::vector<int>& out) const {
    out.clear();
    if (!sorted_) SortIntoBuckets();
    if (entries_.empty() || !std::isfinite(p.x) || !std::isfinite(p.y)) return;
    if (p.x + r < left_ || p.x - r > left_ + columns_ * cell_ || p.y + r < bottom_ ||
        p.y - r > bottom_ + rows_ * cell_) {
        return;
    }
    const int x0 = BucketX(p.x - r);
    const int x1 = BucketX(p.x + r);
    const int y0 = BucketY(p.y - r);
    const int y1 = BucketY(p.y + r);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const auto& bucket = buckets_[static_cast<std::size_t>(y) * columns_ + x];
            out.insert(out.end(), bucket.begin(), bucket.end());
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

const SegmentIndex& IndexOf(const FigureModel& model) {
    const TextGrid& grid = model.grid;
    std::shared_ptr<SegmentIndex>& index = model.segmentIndex;
    const TilePoint tile{static_cast<long double>(model.TileWidth()),
                         static_cast<long double>(model.TileHeight())};
    if (index && index->Revision() == grid.Revision() && index->RowCount() == grid.RowCount())
        return *index;
    // Updated in place only while no redraw holds the index it reads.
    if (index && index.use_count() == 1 && index->Tile() == tile) {
        const std::optional<RowSpan> changed = grid.ChangedSince(index->Revision());
        if (changed && index->Update(grid, *changed)) return *index;
    }
    index = std::make_shared<SegmentIndex>(grid, tile);
    return *index;
}

TilePoint NearestGridPoint(const FigureModel& model, TilePoint p) {
    const long double g = model.interaction.snaps.gridSpacing;
    return {std::nearbyint(p.x / g) * g, std::nearbyint(p.y / g) * g};
}

std::optional<TilePoint> EndPointNear(const FigureModel& model, TilePoint p, long double r,
                                      int skipRow) {
    const SegmentIndex& index = IndexOf(model);
    std::vector<int> near;
    index.Query(p, r, near);
    for (int i : near) {
        const SegmentIndex::Entry& e = index.Entries()[static_cast<std::size_t>(i)];
        if (e.row == skipRow) continue;
        if (e.hasStart && InWindow(e.segment.start, p, r)) return e.segment.start;
        if (e.hasEnd && InWindow(e.segment.end, p, r)) return e.segment.end;
    }
    return std::nullopt;
}

std::optional<SnapTarget> FindSnap(const FigureModel& model, TilePoint p, int skipRow) {
    const InteractionState& st = model.interaction;
    if (!model.HasFigure() || !st.snapOn) return std::nullopt;
    const SnapSettings& on = st.snaps;
    const long double r = model.ViewSnapRadius();
    const SegmentIndex& index = IndexOf(model);
    const auto& entries = index.Entries();
    std::vector<int> near;
    index.Query(p, r, near);
    auto entry = [&](int i) -> const SegmentIndex::Entry& {
        return entries[static_cast<std::size_t>(i)];
    };

    // End points, in the order the click's own snap takes them.
    if (const std::optional<TilePoint> q = EndPointNear(model, p, r, skipRow))
        return SnapTarget{*q, SnapKind::EndPoint};

    const long double w = model.TileWidth();
    const long double h = model.TileHeight();
    if (on.neighbours) {
        Best best;
        std::vector<int> copies;
        for (int i = -1; i <= 1; ++i) {
            for (int j = -1; j <= 1; ++j) {
                if (i == 0 && j == 0) continue;
                const TilePoint shift{i * w, j * h};
                index.Query({p.x - shift.x, p.y - shift.y}, r, copies);
                for (int k : copies) {
                    const auto& e = entry(k);
                    if (e.row == skipRow || !e.Complete()) continue;
                    for (const TilePoint& q : {e.segment.start, e.segment.end}) {
                        const TilePoint moved{q.x + shift.x, q.y + shift.y};
                        if (InWindow(moved, p, r)) best.Offer(moved, p, SnapKind::Neighbour);
                    }
                }
            }
        }
        if (best.target) return best.target;
    }

    std::vector<int> segments;
    for (int i : near) {
        if (entry(i).Complete() && entry(i).row != skipRow) segments.push_back(i);
    }
    if (on.intersections) {
        Best best;
        const std::size_t n =
            std::min(segments.size(), static_cast<std::size_t>(kMaxIntersectedSegments));
        for (std::size_t a = 0; a < n; ++a) {
            for (std::size_t b = a + 1; b < n; ++b) {
                const auto q = Crossing(entry(segments[a]).segment, entry(segments[b]).segment);
                if (q && InWindow(*q, p, r)) best.Offer(*q, p, SnapKind::Intersection);
            }
        }
        if (best.target) return best.target;
    }
    if (on.midPoints) {
        Best best;
        for (int i : segments) {
            const TileSegment& s = entry(i).segment;
            const TilePoint mid{(s.start.x + s.end.x) / 2, (s.start.y + s.end.y) / 2};
            if (InWindow(mid, p, r)) best.Offer(mid, p, SnapKind::MidPoint);
        }
        if (best.target) return best.target;
    }
    if (on.tile || on.tileCorners) {
        Best best;
        for (const TilePoint& c :
             {TilePoint{0, 0}, TilePoint{w, 0}, TilePoint{0, h}, TilePoint{w, h}})
            if (InWindow(c, p, r)) best.Offer(c, p, SnapKind::TileCorner);
        if (best.target) return best.target;
    }
    // A grid point in the snap window is an exact point: it wins over a free point somewhere on
    // a segment or an edge.
    if (on.grid) {
        const TilePoint g = NearestGridPoint(model, p);
        if (InWindow(g, p, r)) return SnapTarget{g, SnapKind::Grid};
    }
    if (on.nearest) {
        Best best;
        for (int i : segments) {
            const TileSegment& s = entry(i).segment;
            const TilePoint q = NearestOnSegment(s.start, s.end, p);
            if (Distance(q, p) < r) best.Offer(q, p, SnapKind::Nearest);
        }
        if (best.target) return best.target;
    }
    if (on.tile) {
        Best best;
        const TilePoint corners[] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
        for (int i = 0; i < 4; ++i) {
            const TilePoint q = NearestOnSegment(corners[i], corners[(i + 1) % 4], p);
            if (Distance(q, p) < r) best.Offer(q, p, SnapKind::TileEdge);
        }
        if (best.target) return best.target;
    }
    if (on.grid) return SnapTarget{NearestGridPoint(model, p), SnapKind::Grid};
    return std::nullopt;
}

std::vector<Pixel> GridDots(const FigureModel& model) {
    std::vector<Pixel> dots;
    const InteractionState& st = model.interaction;
    if (!model.HasFigure() || !st.snaps.grid) return dots;
    const long double g = st.snaps.gridSpacing;
    if (g / model.ViewScale() < kGridDotPixels) return dots;
    // The grid points between the canvas's corners, within the tile.
    const TilePoint topLeft = PixelToTile(model, {0, 0});
    const TilePoint bottomRight = PixelToTile(model, {model.CanvasWidth(), model.CanvasHeight()});
    const long double x0 = std::max(0.0L, std::ceil(topLeft.x / g) * g);
    const long double x1 = std::min<long double>(model.TileWidth(), bottomRight.x);
    const long double y0 = std::max(0.0L, std::ceil(bottomRight.y / g) * g);
    const long double y1 = std::min<long double>(model.TileHeight(), topLeft.y);
    for (long double y = y0; y <= y1; y += g) {
        for (long double x = x0; x <= x1; x += g)
            dots.push_back(FiguurToPixel(model, {x, y}).pixel);
    }
    return dots;
}

}  // namespace murvex::figure
