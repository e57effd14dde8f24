// Selecting and editing more than one click at a time.
#include "Selection.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "Clip.h"
#include "FigureEditing.h"
#include "Interaction.h"
#include "NumberText.h"
#include "TypedInput.h"

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
        // Only the row shown red: one the grid still points at but no longer shows selected
        // (after a redraw, a delete or an empty window) stays.
        if (ShownSelectedRow(model) == 0) return;
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
    model.previousRow = model.currentRow = 0;
}

void RedrawWithSelection(FigureModel& model, Canvas& canvas) {
    RedrawFiguur(model, canvas);
    if (const int row = ShownSelectedRow(model)) DrawFiguurLijn(model, canvas, row, true);
    RedrawSelection(model, canvas);
}

EditResult EditSelection(FigureModel& model, Canvas& canvas, SelectionEdit edit, long double a,
                         long double b, bool keepOriginal) {
    if (!model.HasFigure() || model.interaction.drawing || !std::isfinite(a) || !std::isfinite(b))
        return EditResult::NothingSelected;
    TextGrid& grid = model.grid;
    std::vector<int> rows = WindowRows(model);
    const int shown = ShownSelectedRow(model);
    if (rows.empty() && shown > 0 && RowComplete(grid, shown)) rows.push_back(shown);
    if (rows.empty()) return EditResult::NothingSelected;
    const long double w = model.TileWidth();
    const long double h = model.TileHeight();
    // The offset and the mirror line by whole tiles first: the figure repeats with the tile, and
    // the numbers stay small whatever was typed.
    const bool mirror =
        edit == SelectionEdit::MirrorLeftRight || edit == SelectionEdit::MirrorUpDown;
    const long double dx = ReduceByPeriods(mirror ? 2 * a : a, w);
    const long double dy = ReduceByPeriods(mirror ? 2 * a : b, h);
    auto changed = [&](TilePoint p) -> TilePoint {
        switch (edit) {
            case SelectionEdit::MirrorLeftRight:
                return {dx - p.x, p.y};
            case SelectionEdit::MirrorUpDown:
                return {p.x, dy - p.y};
            case SelectionEdit::Copy:
            case SelectionEdit::Move:
                break;
        }
        return {p.x + dx, p.y + dy};
    };
    const bool copy = edit == SelectionEdit::Copy || (mirror && keepOriginal);
    std::vector<std::pair<int, std::vector<TileSegment>>> results;
    for (int row : rows) {
        const TileSegment s = RowSegment(grid, row);
        results.emplace_back(row, WrapIntoTile({changed(s.start), changed(s.end)}, w, h));
    }
    if (copy) {
        // A copy that lands on the segments it copies adds nothing but duplicates.
        const auto same = [](const TileSegment& x, const TileSegment& y) {
            constexpr long double kText = 0.0005L;  // half the last decimal written
            const auto near = [&](TilePoint p, TilePoint q) {
                return std::fabs(p.x - q.x) < kText && std::fabs(p.y - q.y) < kText;
            };
            return (near(x.start, y.start) && near(x.end, y.end)) ||
                   (near(x.start, y.end) && near(x.end, y.start));
        };
        bool onto = true;
        for (const auto& [row, parts] : results) {
            const TileSegment original = RowSegment(grid, row);
            for (const TileSegment& part : parts)
                onto = onto && same(part, original);
        }
        if (onto) return EditResult::OntoItself;
    }
    auto write = [&](int row, const TileSegment& s) {
        grid.SetCell(kColXStart, row, Fmt(static_cast<double>(s.start.x)));
        grid.SetCell(kColYStart, row, Fmt(static_cast<double>(s.start.y)));
        grid.SetCell(kColXEind, row, Fmt(static_cast<double>(s.end.x)));
        grid.SetCell(kColYEind, row, Fmt(static_cast<double>(s.end.y)));
    };
    // New rows go into the empty last row, or a new one after it.
    auto append = [&](const TileSegment& s) {
        int target = grid.RowCount() - 1;
        if (RowComplete(grid, target) || !grid.Cell(kColXStart, target).empty() ||
            !grid.Cell(kColXEind, target).empty()) {
            grid.SetCurrent(grid.CurrentCol(), target);
            AddSegmentRow(grid);
            target = grid.RowCount() - 1;
        }
        write(target, s);
    };
    for (const auto& [row, parts] : results) {
        std::size_t i = 0;
        if (!copy && !parts.empty()) write(row, parts[i++]);
        for (; i < parts.size(); ++i)
            append(parts[i]);
    }
    model.interaction.windowRows.clear();
    RedrawFiguur(model, canvas);
    model.previousRow = model.currentRow = 0;
    return EditResult::Done;
}

SelectionEditTexts EditTexts(SelectionEdit edit, char userSeparator) {
    switch (edit) {
        case SelectionEdit::Copy:
        case SelectionEdit::Move:
            return {edit == SelectionEdit::Copy ? "Kopi\xebren" : "Verplaatsen",
                    userSeparator == ',' ? "Verschuiving dx;dy:" : "Verschuiving dx,dy:", false,
                    TypedInputRefusedText(userSeparator)};
        case SelectionEdit::MirrorLeftRight:
        case SelectionEdit::MirrorUpDown:
            return {"Spiegelen",
                    edit == SelectionEdit::MirrorLeftRight ? "Spiegellijn x:" : "Spiegellijn y:",
                    true, kInvalidLengthText};
    }
    return {};
}

}  // namespace murvex::figure
