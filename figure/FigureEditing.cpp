// Drawing the figure's rows on the canvas and the grid's row operations with their redraws.
#include "FigureEditing.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Clip.h"
#include "NumberText.h"
#include "Snaps.h"
#include "Text.h"

namespace murvex::figure {

namespace {

void CopyCoordCells(TextGrid& grid, int fromRow, int toRow) {
    for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c)
        grid.SetCell(c, toRow, grid.Cell(c, fromRow));
}

void EmptyCoordCells(TextGrid& grid, int row) {
    for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c)
        grid.SetCell(c, row, std::string());
}

void WriteSegment(TextGrid& grid, int row, const TileSegment& s) {
    grid.SetCell(kColXStart, row, Fmt(static_cast<double>(s.start.x)));
    grid.SetCell(kColYStart, row, Fmt(static_cast<double>(s.start.y)));
    grid.SetCell(kColXEind, row, Fmt(static_cast<double>(s.end.x)));
    grid.SetCell(kColYEind, row, Fmt(static_cast<double>(s.end.y)));
}

}  // namespace

DrawResult DrawFiguurLijn(FigureModel& model, Canvas& canvas, int row, bool selected) {
    TextGrid& grid = model.grid;
    if (row < 1 || row >= grid.RowCount() || !RowComplete(grid, row)) {
        return DrawResult::Incomplete;
    }
    // Without a tile the transforms would divide by a zero scale.
    if (!model.HasFigure()) return DrawResult::NoFigure;

    TileSegment s = RowSegment(grid, row);
    if (!InsideTile(model, s.start) || !InsideTile(model, s.end)) {
        const std::optional<TileSegment> clipped =
            ClipFiguurLijn(s, model.TileWidth(), model.TileHeight());
        if (!clipped) {
            EmptyCoordCells(grid, row);
            return DrawResult::Missed;
        }
        s = *clipped;
        WriteSegment(grid, row, s);
    }
    canvas.MoveTo(FiguurToPixel(model, s.start).pixel);
    if (selected) canvas.SetPenColor(PenColor::Red);
    canvas.LineTo(FiguurToPixel(model, s.end).pixel);
    canvas.SetPenColor(PenColor::Black);
    return DrawResult::Drawn;
}

bool FillTile(FigureModel& model, Canvas& canvas, std::int64_t width, std::int64_t height,
              const std::vector<TileSegment>& segments) {
    if (!InitFiguur(model, canvas, width, height)) return false;
    TextGrid& grid = model.grid;
    grid.SetRowCount(1 + std::max<int>(1, static_cast<int>(segments.size())));
    for (int i = 0; i < static_cast<int>(segments.size()); ++i) {
        grid.SetCell(0, i + 1, IntText(i + 1));
        WriteSegment(grid, i + 1, segments[static_cast<std::size_t>(i)]);
    }
    grid.SetCurrent(kFirstCoordCol, 1);
    RedrawFiguur(model, canvas);
    return true;
}

void RedrawFiguur(FigureModel& model, Canvas& canvas) {
    canvas.SetSize(model.CanvasWidth(), model.CanvasHeight());
    canvas.FillWhite();
    // The fresh picture has no rubber line: erasing it later would draw a stray one.
    model.interaction.rubberShown = false;
    canvas.SetPenColor(PenColor::Black);
    canvas.SetPenWidth(model.PenWidth());
    TextGrid& grid = model.grid;
    // Drawn from the last row up; the rows that missed the tile go afterwards in one pass, which
    // leaves what deleting each at once would (rows below a deleted row are drawn already) without
    // pulling the rest of a large figure up once per deleted row.
    std::vector<bool> missed(static_cast<std::size_t>(grid.RowCount()), false);
    int firstMissed = 0;
    // The rows as parsed once per grid revision; a row drawn as it stands needs no cell read.
    const std::shared_ptr<const SegmentIndex> parsed =
        model.HasFigure() ? (IndexOf(model), model.segmentIndex) : nullptr;
    const std::vector<SegmentIndex::Entry> none;
    const auto& entries = parsed ? parsed->Entries() : none;
    std::size_t e = entries.size();
    for (int r = grid.RowCount() - 1; r >= 1; --r) {
        while (e > 0 && entries[e - 1].row > r)
            --e;
        if (e > 0 && entries[e - 1].row == r && entries[e - 1].Complete()) {
            const TileSegment& s = entries[e - 1].segment;
            if (InsideTile(model, s.start) && InsideTile(model, s.end)) {
                canvas.MoveTo(FiguurToPixel(model, s.start).pixel);
                canvas.LineTo(FiguurToPixel(model, s.end).pixel);
                continue;
            }
        }
        if (DrawFiguurLijn(model, canvas, r, false) == DrawResult::Missed) {
            missed[static_cast<std::size_t>(r)] = true;
            firstMissed = r;
        }
    }
    if (firstMissed == 0) return;
    int kept = 0;
    for (int r = 1; r < grid.RowCount(); ++r) {
        if (missed[static_cast<std::size_t>(r)]) continue;
        ++kept;
        if (kept != r) CopyCoordCells(grid, r, kept);
    }
    // The only data row is never deleted; it was emptied when it missed.
    grid.SetRowCount(std::max(kept, 1) + 1);
    // The deletions select each row they delete, the first row last.
    grid.SetCurrent(grid.CurrentCol(), firstMissed);
}

void AddSegmentRow(TextGrid& grid) {
    const int n = grid.RowCount();
    const int s = grid.CurrentRow();
    const int col = grid.CurrentCol();
    grid.SetRowCount(n + 1);
    grid.SetCell(0, n, IntText(n));
    // The header row never moves: with no data row current the new row is appended.
    if (s >= n - 1 || s < 1) return;
    for (int r = n; r >= s + 1; --r)
        CopyCoordCells(grid, r - 1, r);
    EmptyCoordCells(grid, s);
    grid.SetCurrent(col, s);
}

int AddCurrentSegmentRow(FigureModel& model, Canvas& canvas) {
    TextGrid& grid = model.grid;
    const int n = grid.RowCount();
    const int s = grid.CurrentRow();
    AddSegmentRow(grid);
    const bool appended = s >= n - 1 || s < 1;
    const int added = appended ? n : s;
    // An inserted row pushed the red row down with the rows below it.
    int red = model.currentRow;
    if (!appended && red >= s) ++red;
    DrawFiguurLijn(model, canvas, red, false);
    model.previousRow = red;
    model.currentRow = added;
    grid.SetCurrent(std::max(grid.CurrentCol(), kFirstCoordCol), added);
    return added;
}

bool DeleteFiguurRow(TextGrid& grid) {
    const int n = grid.RowCount();
    const int t = grid.CurrentRow();
    if (t < 1 || n < 3) return false;
    for (int r = t; r <= n - 2; ++r)
        CopyCoordCells(grid, r + 1, r);
    EmptyCoordCells(grid, n - 1);
    grid.SetRowCount(n - 1);
    return true;
}

void DeleteSelectedSegment(FigureModel& model, Canvas& canvas) {
    DeleteFiguurRow(model.grid);
    RedrawFiguur(model, canvas);
    // The redraw shows every row black: nothing is selected any more.
    model.previousRow = model.currentRow = 0;
}

int ShownSelectedRow(const FigureModel& model) {
    const int row = model.currentRow;
    if (row < 1 || row >= model.grid.RowCount() || row != model.grid.CurrentRow()) return 0;
    return row;
}

void DrawEnteredRow(FigureModel& model, Canvas& canvas) {
    const int row = model.grid.CurrentRow();
    if (DrawFiguurLijn(model, canvas, row, false) == DrawResult::Missed && row > 1) {
        DeleteFiguurRow(model.grid);
    }
}

void ShowSelectedRow(FigureModel& model, Canvas& canvas, int row) {
    // One row selected ends a window selection.
    model.interaction.windowRows.clear();
    if (row != model.currentRow) model.previousRow = model.currentRow;
    model.currentRow = row;
    DrawFiguurLijn(model, canvas, model.previousRow, false);
    DrawFiguurLijn(model, canvas, model.currentRow, true);
}

void RedrawAfterBackgroundChange(FigureModel& model, Canvas& canvas) {
    if (!model.backgroundChanged) return;
    RedrawFiguur(model, canvas);
    model.backgroundChanged = false;
    DrawFiguurLijn(model, canvas, model.currentRow, true);
}

void SetThickPen(FigureModel& model, Canvas& canvas, bool thick) {
    model.thickPen = thick;
    RedrawFiguur(model, canvas);
}

}  // namespace murvex::figure
