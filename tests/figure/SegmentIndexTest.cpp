// The snaps' segment index, updated row by row as the grid changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "FigureEditing.h"
#include "RecordingCanvas.h"
#include "Snaps.h"

namespace murvex::figure {
namespace {

// Random row edits of every kind the tab makes (cells typed or emptied, rows added at the end or
// inserted, deleted, the grid cut short); after each the model's index holds what an index built
// anew holds, and a query finds every segment with an end or its middle in the square around
// the point.
TEST(SegmentIndex, UpdatedRowByRowAsBuiltAnew) {
    std::mt19937 random(11);
    test::RecordingCanvas canvas;
    FigureModel model;
    ASSERT_TRUE(InitFiguur(model, canvas, 100, 80));
    TextGrid& grid = model.grid;
    const auto coordinate = [&] { return std::to_string(static_cast<int>(random() % 130) - 10); };
    std::vector<int> found;
    for (int step = 0; step < 600; ++step) {
        const unsigned kind = random() % 10;
        const int row = 1 + static_cast<int>(random() % static_cast<unsigned>(grid.RowCount()));
        if (kind < 5) {
            grid.SetCell(kFirstCoordCol + static_cast<int>(random() % 4), row,
                         random() % 6 == 0 ? std::string() : coordinate());
        } else if (kind < 7) {
            grid.SetCurrent(kFirstCoordCol, kind == 5 ? grid.RowCount() - 1 : row);
            AddSegmentRow(grid);
        } else if (kind < 9) {
            grid.SetCurrent(kFirstCoordCol, row);
            DeleteFiguurRow(grid);
        } else {
            grid.SetRowCount(std::max(2, grid.RowCount() - 2));
        }
        const SegmentIndex& index = IndexOf(model);
        const SegmentIndex fresh(grid);
        ASSERT_EQ(index.Entries().size(), fresh.Entries().size()) << step;
        for (std::size_t i = 0; i < fresh.Entries().size(); ++i) {
            const SegmentIndex::Entry& a = index.Entries()[i];
            const SegmentIndex::Entry& b = fresh.Entries()[i];
            ASSERT_TRUE(a.row == b.row && a.hasStart == b.hasStart && a.hasEnd == b.hasEnd &&
                        a.segment == b.segment)
                << step << " entry " << i;
        }
        const TilePoint p{static_cast<long double>(random() % 120) - 10,
                          static_cast<long double>(random() % 100) - 10};
        const long double r = 6;
        index.Query(p, r, found);
        for (int i = 0; i < static_cast<int>(fresh.Entries().size()); ++i) {
            const TileSegment& s = fresh.Entries()[static_cast<std::size_t>(i)].segment;
            const TilePoint middle{(s.start.x + s.end.x) / 2, (s.start.y + s.end.y) / 2};
            for (const TilePoint& q : {s.start, middle, s.end}) {
                const bool near = std::fabs(q.x - p.x) < r && std::fabs(q.y - p.y) < r;
                EXPECT_TRUE(!near || std::find(found.begin(), found.end(), i) != found.end())
                    << step;
            }
        }
    }
}

}  // namespace
}  // namespace murvex::figure
