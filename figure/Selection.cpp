// Selecting and editing more than one click at a time.
#include "Selection.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "FigureEditing.h"
#include "NumberText.h"

namespace murvex::figure {

std::optional<EndPointHit> EndPointAt(const FigureModel& model, TilePoint p) {
    if (!model.HasFigure()) return std::nullopt;
    const long double r = model.ViewSnapRadius();
    auto near = [&](TilePoint q) { return std::fabs(q.x - p.x) < r && std::fabs(q.y - p.y) < r; };
    for (int row = 1; row < model.grid.RowCount(); ++row) {
        if (!RowComplete(model.grid, row)) continue;
        const TileSegment s = RowSegment(model.grid, row);
        if (near(s.start)) return EndPointHit{row, 0, s.start, s.end};
        if (near(s.end)) return EndPointHit{row, 1, s.end, s.start};
    }
    return std::nullopt;
}

void MoveEndPoint(FigureModel& model, int row, int end, TilePoint p) {
    p.x = std::clamp<long double>(p.x, 0, model.TileWidth());
    p.y = std::clamp<long double>(p.y, 0, model.TileHeight());
    const int xCol = end == 0 ? kColXStart : kColXEind;
    const int yCol = end == 0 ? kColYStart : kColYEind;
    model.grid.SetCell(xCol, row, Fmt(static_cast<double>(p.x)));
    model.grid.SetCell(yCol, row, Fmt(static_cast<double>(p.y)));
}

std::vector<int> RowsInsideWindow(const FigureModel& model, TilePoint a, TilePoint b) {
    const long double x0 = std::min(a.x, b.x);
    const long double x1 = std::max(a.x, b.x);
    const long double y0 = std::min(a.y, b.y);
    const long double y1 = std::max(a.y, b.y);
    auto inside = [&](TilePoint q) { return x0 <= q.x && q.x <= x1 && y0 <= q.y && q.y <= y1; };
    std::vector<int> rows;
    for (int row = 1; row < model.grid.RowCount(); ++row) {
        if (!RowComplete(model.grid, row)) continue;
        const TileSegment s = RowSegment(model.grid, row);
        if (inside(s.start) && inside(s.end)) rows.push_back(row);
    }
    return rows;
}

bool WindowSelectionValid(const FigureModel& model) {
    const InteractionState& st = model.interaction;
    return !st.windowRows.empty() && st.windowRevision == model.grid.Revision();
}

const std::vector<int>& WindowRows(const FigureModel& model) {
    static const std::vector<int> none;
    return WindowSelectionValid(model) ? model.interaction.windowRows : none;
}

void SetWindowRows(FigureModel& model, std::vector<int> rows) {
    model.interaction.windowRows = std::move(rows);
    model.interaction.windowRevision = model.grid.Revision();
}

void RedrawSelection(FigureModel& model, Canvas& canvas) {
    if (!WindowSelectionValid(model)) return;
    const unsigned long revision = model.grid.Revision();
    // Drawn rows lie inside the tile already, so drawing rewrites no cell.
    for (int row : model.interaction.windowRows)
        DrawFiguurLijn(model, canvas, row, true);
    model.interaction.windowRevision = std::max(revision, model.grid.Revision());
}

void DeleteSelection(FigureModel& model, Canvas& canvas) {
    if (!WindowSelectionValid(model)) {
        DeleteSelectedSegment(model, canvas);
        return;
    }
    std::vector<int> rows = model.interaction.windowRows;
    std::sort(rows.rbegin(), rows.rend());
    TextGrid& grid = model.grid;
    for (int row : rows) {
        grid.SetCurrent(grid.CurrentCol(), row);
        if (!DeleteFiguurRow(grid)) {
            // The only data row left is emptied instead.
            for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c)
                grid.SetCell(c, row, std::string());
        }
    }
    model.interaction.windowRows.clear();
    grid.SetCurrent(std::max(grid.CurrentCol(), kFirstCoordCol),
                    std::min(rows.back(), grid.RowCount() - 1));
    RedrawFiguur(model, canvas);
}

bool EditSelection(FigureModel& model, Canvas& canvas, SelectionEdit edit, long double a,
                   long double b) {
    if (!model.HasFigure() || model.interaction.drawing || !std::isfinite(a) || !std::isfinite(b))
        return false;
    TextGrid& grid = model.grid;
    std::vector<int> rows = WindowRows(model);
    if (rows.empty() && RowComplete(grid, grid.CurrentRow())) rows.push_back(grid.CurrentRow());
    if (rows.empty()) return false;
    auto changed = [&](TilePoint p) -> TilePoint {
        switch (edit) {
            case SelectionEdit::MirrorLeftRight:
                return {2 * a - p.x, p.y};
            case SelectionEdit::MirrorUpDown:
                return {p.x, 2 * a - p.y};
            case SelectionEdit::Copy:
            case SelectionEdit::Move:
                break;
        }
        return {p.x + a, p.y + b};
    };
    auto write = [&](int row, const TileSegment& s) {
        grid.SetCell(kColXStart, row, Fmt(static_cast<double>(s.start.x)));
        grid.SetCell(kColYStart, row, Fmt(static_cast<double>(s.start.y)));
        grid.SetCell(kColXEind, row, Fmt(static_cast<double>(s.end.x)));
        grid.SetCell(kColYEind, row, Fmt(static_cast<double>(s.end.y)));
    };
    for (int row : rows) {
        const TileSegment s = RowSegment(grid, row);
        const TileSegment moved{changed(s.start), changed(s.end)};
        if (edit != SelectionEdit::Copy) {
            write(row, moved);
            continue;
        }
        // A copy goes into the empty last row, or a new one after it.
        int target = grid.RowCount() - 1;
        if (RowComplete(grid, target) || !grid.Cell(kColXStart, target).empty()) {
            grid.SetCurrent(grid.CurrentCol(), target);
            AddSegmentRow(grid);
            target = grid.RowCount() - 1;
        }
        write(target, moved);
    }
    model.interaction.windowRows.clear();
    RedrawFiguur(model, canvas);
    return true;
}

}  // namespace murvex::figure
