// The snaps beside the end point snap: a grid, mid points, intersections, the nearest point of a
// segment, the tile's corners and edges, and the end points of the tile's neighbouring copies.
// Radii are in canvas pixels, so they hold at every zoom.
#pragma once

#include <optional>
#include <vector>

#include "FigureModel.h"

namespace murvex::figure {

// A grid that would hold more points than this within the tile is refused.
inline constexpr long double kMaxGridPoints = 1'000'000;
// Grid dots are shown only when at least this many pixels apart.
inline constexpr int kGridDotPixels = 4;
// At most this many segments near the mouse are intersected with each other: a figure with
// hundreds of segments through one spot still answers a mouse move at once.
inline constexpr int kMaxIntersectedSegments = 64;

// Sets the grid spacing in drawing units. A spacing of 0 or below, not a number, or one that
// would put more than kMaxGridPoints grid points in the tile is refused (false, nothing
// changed); the caller shows kInvalidValueText.
bool SetGridSpacing(FigureModel& model, double spacing);

// The rows' segments, parsed and sorted into square buckets, so that a mouse move looks only at
// the segments near it. A change of a few rows updates only those rows.
class SegmentIndex {
  public:
    struct Entry {
        TileSegment segment;
        int row = 0;
        bool hasStart = false;  // both start cells hold text
        bool hasEnd = false;    // both end cells hold text
        bool Complete() const { return hasStart && hasEnd; }
    };

    // tile: the tile's far corner; the buckets cover the tile as well as the segments, so that a
    // segment drawn in it later finds its bucket.
    explicit SegmentIndex(const TextGrid& grid, TilePoint tile = {});
    // Takes in the grid's changes in rows (the grid's ChangedSince this index's revision). False
    // when it cannot (too many rows moved): the index is then to be built anew.
    bool Update(const TextGrid& grid, RowSpan rows);

    unsigned long Revision() const { return revision_; }
    int RowCount() const { return rowCount_; }
    TilePoint Tile() const { return tile_; }
    const std::vector<Entry>& Entries() const { return entries_; }
    // The entries whose bounding box may meet the square of half-width r around p, in row order
    // (indices into Entries()).
    void Query(TilePoint p, long double r, std::vector<int>& out) const;

  private:
    // The buckets are sorted on the first query: a redraw reads only the parsed entries.
    void SortIntoBuckets() const;
    // Calls visit with each bucket the segment goes into.
    template <class Visit>
    void ForEachBucket(const TileSegment& s, Visit&& visit) const;
    void Add(int entry, const TileSegment& s) const;
    void Remove(int entry, const TileSegment& s) const;
    // Whether the buckets reach around the segment.
    bool Covers(const TileSegment& s) const;
    int BucketX(long double x) const;
    int BucketY(long double y) const;

    unsigned long revision_ = 0;
    int rowCount_ = 0;
    TilePoint tile_;
    std::vector<Entry> entries_;
    mutable bool sorted_ = false;
    mutable std::size_t sortedCount_ = 0;  // entries when the buckets were laid out
    mutable long double left_ = 0;
    mutable long double bottom_ = 0;
    mutable long double cell_ = 1;
    mutable int columns_ = 1;
    mutable int rows_ = 1;
    mutable std::vector<std::vector<int>> buckets_;
};

// The model's index, updated by the rows that changed since the last call (or built again). A
// redraw reads its parsed rows too, so a zoom step parses no cell.
const SegmentIndex& IndexOf(const FigureModel& model);

// The first end point of the rows within the square snap window around p (strictly inside, r
// its half-width): rows from 1 down, each row's start before its end, skipRow (when above 0)
// left out. Only the rows near p are looked at.
std::optional<TilePoint> EndPointNear(const FigureModel& model, TilePoint p, long double r,
                                      int skipRow = 0);

// What a click at p snaps to while "Snap On" is checked: first the end points of the rows (as
// the end point snap takes them: rows from 1 down, start before end, in a square window), then
// each switched-on snap in the order of SnapKind, except that a grid point within the snap
// window comes before the free points (nearest, tile edge). skipRow (when above 0) takes no part:
// the row whose end point is being dragged. Nothing when no snap applies or snapping is off.
std::optional<SnapTarget> FindSnap(const FigureModel& model, TilePoint p, int skipRow = 0);

// The grid point nearest to p.
TilePoint NearestGridPoint(const FigureModel& model, TilePoint p);

// The grid dots to show on the canvas: the grid points inside the tile that fall on the canvas,
// when the grid is on and its points lie at least kGridDotPixels apart.
std::vector<Pixel> GridDots(const FigureModel& model);

}  // namespace murvex::figure
