// Drawing on the figure's canvas: the rubber line, snapping, the horizontal/vertical lock, typed
// lengths and selecting segments.
#include "Interaction.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>

#include "Clip.h"
#include "FigureEditing.h"
#include "NumberText.h"

namespace murvex::figure {

namespace {

constexpr long double kHalfPi = std::numbers::pi_v<long double> / 2;
constexpr long double kDegreesPerRadian = 57.295779513082320877L;

int LastRow(const FigureModel& model) {
    return model.grid.RowCount() - 1;
}

// Moves the grid's current row as a selection in the grid does: the row left is drawn black and
// the new one red.
void SelectRow(FigureModel& model, Canvas& canvas, int row, Reaction& reaction) {
    model.grid.SetCurrent(model.grid.CurrentCol(), row);
    ShowSelectedRow(model, canvas, row);
    reaction.selectedRow = row;
}

void EraseRubberLine(FigureModel& model, Canvas& canvas) {
    InteractionState& st = model.interaction;
    if (!st.rubberShown) return;
    canvas.NotXorLine(st.startPixel, st.lockedPixel);
    st.rubberShown = false;
}

// Escape, the selection mode button and a typed length that is no number: the grid goes back to
// what it was before the first point. A row the first point appended goes again (an empty row
// left behind would be written as a line of its own); a row that was there already is emptied.
// The rubber line stays on the canvas until the next mouse move erases it.
void AbandonSegment(FigureModel& model, Canvas& canvas, Reaction& reaction) {
    InteractionState& st = model.interaction;
    TextGrid& grid = model.grid;
    if (st.segmentRowAdded && grid.RowCount() > 2) {
        grid.SetRowCount(grid.RowCount() - 1);
    } else {
        grid.SetCell(kColXStart, LastRow(model), std::string());
        grid.SetCell(kColYStart, LastRow(model), std::string());
    }
    SelectRow(model, canvas, LastRow(model), reaction);
    st.drawing = false;
    st.segmentRowAdded = false;
}

// The direction of the rubber vector (dx, dy) in tile units: the angle is the arctangent of
// dy / dx, +-pi/2 for dx = 0 (straight down when both are 0), and the quadrant tells the signs.
void SetDirection(InteractionState& st, long double dx, long double dy) {
    if (dx == 0) {
        st.directionAngle = dy > 0 ? kHalfPi : -kHalfPi;
        st.directionQuadrant = dy > 0 ? 1 : 3;
        return;
    }
    st.directionAngle = std::atan(dy / dx);
    if (dx > 0)
        st.directionQuadrant = dy >= 0 ? 1 : 4;
    else
        st.directionQuadrant = dy >= 0 ? 2 : 3;
}

// The direction in degrees counter-clockwise from the positive x axis, 0 <= L < 360.
long double DirectionDegrees(const InteractionState& st) {
    const long double a = std::fabs(st.directionAngle) * kDegreesPerRadian;
    switch (st.directionQuadrant) {
        case 2:
            return 180 - a;
        case 3:
            return 180 + a;
        case 4:
            return 360 - a;
        default:
            return a;
    }
}

// The point the typed length reaches from the start point in the rubber line's direction.
TilePoint TypedLengthPoint(const InteractionState& st) {
    const long double a = std::fabs(st.directionAngle);
    const long double c = std::cos(a) * st.typedLength;
    const long double d = std::sin(a) * st.typedLength;
    const bool right = st.directionQuadrant == 1 || st.directionQuadrant == 4;
    const bool up = st.directionQuadrant == 1 || st.directionQuadrant == 2;
    return {right ? st.start.x + c : st.start.x - c, up ? st.start.y + d : st.start.y - d};
}

std::string Text(long double v) {
    return Fmt(static_cast<double>(v));
}

// A click in drawing mode: the first places the start of a segment in the grid's last row (a
// new row when that one is taken), the second its end.
void PlacePoint(FigureModel& model, Canvas& canvas, Reaction& reaction) {
    InteractionState& st = model.interaction;
    TilePoint p = st.typedLengthMode ? TypedLengthPoint(st) : PixelToTile(model, st.mousePixel);
    bool snapped = false;
    if (st.snapOn && !st.typedLengthMode) {
        if (const std::optional<TilePoint> q = SnapToPoint(model, p)) {
            p = *q;
            snapped = true;
        }
    }
    TextGrid& grid = model.grid;

    if (!st.drawing) {
        // A rubber line left by an abandoned segment runs from the old start pixel: erase it
        // before the start moves, or its pixels would stay inverted.
        EraseRubberLine(model, canvas);
        st.drawing = true;
        SelectRow(model, canvas, LastRow(model), reaction);
        st.segmentRowAdded = !grid.Cell(kColXStart, LastRow(model)).empty();
        if (st.segmentRowAdded) {
            AddSegmentRow(grid);
            SelectRow(model, canvas, LastRow(model), reaction);
        }
        const int row = LastRow(model);
        grid.SetCell(kColXStart, row, Text(p.x));
        grid.SetCell(kColYStart, row, Text(p.y));
        st.startPixel = FiguurToPixel(model, p).pixel;
        st.start = p;
        return;
    }

    EraseRubberLine(model, canvas);
    const int row = LastRow(model);
    SelectRow(model, canvas, row, reaction);
    // A locked (or exactly level) end copies the start's text, so the segment is exactly
    // horizontal or vertical whatever the start's text held.
    const bool lockRules = st.snapOn && !st.typedLengthMode && (st.shiftHeld || !snapped);
    if (lockRules && st.lockedPixel.y == st.startPixel.y) {
        grid.SetCell(kColXEind, row, Text(p.x));
        grid.SetCell(kColYEind, row, grid.Cell(kColYStart, row));
    } else if (lockRules && st.lockedPixel.x == st.startPixel.x) {
        grid.SetCell(kColXEind, row, grid.Cell(kColXStart, row));
        grid.SetCell(kColYEind, row, Text(p.y));
    } else {
        grid.SetCell(kColXEind, row, Text(p.x));
        grid.SetCell(kColYEind, row, Text(p.y));
    }
    DrawFiguurLijn(model, canvas, row, false);
    st.drawing = false;
}

// A complete row whose segment misses the tile: the next redraw deletes it.
bool RowMissesTile(const FigureModel& model, int row) {
    if (!RowComplete(model.grid, row)) return false;
    const TileSegment s = RowSegment(model.grid, row);
    if (InsideTile(model, s.start) && InsideTile(model, s.end)) return false;
    return !ClipFiguurLijn(s, model.TileWidth(), model.TileHeight());
}

void SelectSegmentAt(FigureModel& model, Canvas& canvas, Reaction& reaction) {
    const TilePoint p = PixelToTile(model, model.interaction.mousePixel);
    const int rows = model.grid.RowCount();
    for (int r = 1; r < rows; ++r) {
        if (!HitFiguurLijn(model, r, p)) continue;
        // The redraw deletes rows that miss the tile; each one above the hit row moves it up.
        int target = r;
        for (int above = 1; above < r; ++above) {
            if (RowMissesTile(model, above)) --target;
        }
        const bool hitRowStays = !RowMissesTile(model, r);
        RedrawFiguur(model, canvas);
        // Selecting draws the row red over the fresh picture.
        if (hitRowStays) SelectRow(model, canvas, target, reaction);
        return;
    }
}

CanvasCursor DrawingCursor(const InteractionState& st) {
    return st.snapOn ? CanvasCursor::Teken : CanvasCursor::Kruis;
}

}  // namespace

Reaction MouseMove(FigureModel& model, Canvas& canvas, Pixel p) {
    Reaction reaction;
    if (!model.HasFigure()) return reaction;
    InteractionState& st = model.interaction;
    EraseRubberLine(model, canvas);

    st.mousePixel = st.lockedPixel = p;
    const long double s = model.Scale();
    long double dx = p.x * s - st.start.x;
    long double dy = (model.TileHeight() - p.y * s) - st.start.y;

    if (st.snapOn && st.drawing) {
        const int offX = p.x - st.startPixel.x;
        const int offY = p.y - st.startPixel.y;
        bool horizontal = false;
        bool vertical = false;
        if (st.shiftHeld) {
            horizontal = std::abs(offX) > std::abs(offY);
            vertical = !horizontal;  // ties lock vertically
        } else {
            horizontal = std::abs(offY) < kLockPixels;
            vertical = !horizontal && std::abs(offX) < kLockPixels;
        }
        if (horizontal) {
            st.lockedPixel.y = st.startPixel.y;
            dy = 0;
        } else if (vertical) {
            st.lockedPixel.x = st.startPixel.x;
            dx = 0;
        }
    }

    std::string status = "X:" + Text(st.lockedPixel.x * s) +
                         ", Y:" + Text(model.TileHeight() - st.lockedPixel.y * s);
    if (st.drawing) {
        canvas.NotXorLine(st.startPixel, st.lockedPixel);
        st.rubberShown = true;
        SetDirection(st, dx, dy);
        status += " L:" + Text(DirectionDegrees(st));
    }
    reaction.status = std::move(status);
    return reaction;
}

Reaction Click(FigureModel& model, Canvas& canvas, Pixel p) {
    Reaction reaction;
    if (!model.HasFigure()) return reaction;
    if (p != model.interaction.mousePixel) reaction = MouseMove(model, canvas, p);
    if (model.interaction.selectionMode)
        SelectSegmentAt(model, canvas, reaction);
    else
        PlacePoint(model, canvas, reaction);
    return reaction;
}

Reaction KeyPress(FigureModel& model, char key, KeyFocus focus, int windowLeft, int windowTop) {
    Reaction reaction;
    InteractionState& st = model.interaction;
    if (focus != KeyFocus::FigureTab) return reaction;
    if (!st.drawing || st.typedLengthMode || key < '0' || key > '9') return reaction;
    st.typedLengthMode = true;
    reaction.keySwallowed = true;
    TypedLengthBox box;
    box.left = windowLeft + st.lockedPixel.x + 10;
    box.top = windowTop + st.lockedPixel.y + 120;
    box.text = std::string(1, key);
    reaction.openTypedLengthBox = std::move(box);
    return reaction;
}

Reaction KeyDown(FigureModel& model, Canvas& canvas, Key key, bool shift, KeyFocus focus) {
    Reaction reaction;
    model.interaction.shiftHeld = shift;
    if (model.interaction.drawing && key == Key::Escape) {
        AbandonSegment(model, canvas, reaction);
        reaction.keySwallowed = focus == KeyFocus::FigureTab;
    }
    return reaction;
}

void KeyUp(FigureModel& model, bool shift) {
    model.interaction.shiftHeld = shift;
}

Reaction TypedLengthAccepted(FigureModel& model, Canvas& canvas, std::string_view text) {
    Reaction reaction;
    InteractionState& st = model.interaction;
    const ParseResult length = ParseDecimal(text);
    if (!length.ok) {
        st.typedLengthMode = false;
        reaction.warning = kInvalidLengthText;
        if (st.drawing) AbandonSegment(model, canvas, reaction);
        return reaction;
    }
    st.typedLength = length.value;
    // Only an open segment takes a length; the box opens for nothing else.
    if (st.drawing && model.HasFigure()) PlacePoint(model, canvas, reaction);
    st.typedLengthMode = false;
    return reaction;
}

void TypedLengthCancelled(FigureModel& model) {
    model.interaction.typedLengthMode = false;
}

Reaction EnterSelectionMode(FigureModel& model, Canvas& canvas) {
    Reaction reaction;
    if (model.interaction.drawing) AbandonSegment(model, canvas, reaction);
    model.interaction.selectionMode = true;
    reaction.cursor = CanvasCursor::Arrow;
    return reaction;
}

Reaction EnterDrawingMode(FigureModel& model) {
    Reaction reaction;
    model.interaction.selectionMode = false;
    reaction.cursor = DrawingCursor(model.interaction);
    return reaction;
}

Reaction SetSnap(FigureModel& model, bool on) {
    Reaction reaction;
    model.interaction.snapOn = on;
    reaction.cursor =
        model.interaction.selectionMode ? CanvasCursor::Arrow : DrawingCursor(model.interaction);
    return reaction;
}

std::optional<TilePoint> SnapToPoint(const FigureModel& model, TilePoint p) {
    const long double r = model.SnapRadius();
    const TextGrid& grid = model.grid;
    auto near = [&](int xCol, int yCol, int row) -> std::optional<TilePoint> {
        const std::string& xs = grid.Cell(xCol, row);
        const std::string& ys = grid.Cell(yCol, row);
        if (xs.empty() || ys.empty()) return std::nullopt;
        const TilePoint q{ParseDecimal(xs).value, ParseDecimal(ys).value};
        if (std::fabs(q.x - p.x) < r && std::fabs(q.y - p.y) < r) return q;
        return std::nullopt;
    };
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (auto q = near(kColXStart, kColYStart, row)) return q;
        if (auto q = near(kColXEind, kColYEind, row)) return q;
    }
    return std::nullopt;
}

bool HitFiguurLijn(const FigureModel& model, int row, TilePoint p) {
    if (row < 1 || row >= model.grid.RowCount() || !RowComplete(model.grid, row)) return false;
    TileSegment s = RowSegment(model.grid, row);
    if (s.start.x > s.end.x) std::swap(s.start, s.end);
    const long double scale = model.Scale();
    const long double m = kSelectionPixels * scale;
    const auto [yLow, yHigh] = std::minmax(s.start.y, s.end.y);
    if (!(s.start.x - m < p.x && p.x < s.end.x + m && yLow - m < p.y && p.y < yHigh + m)) {
        return false;
    }
    // Both directions as arctangents in [-pi/2, pi/2]: the line through the segment has no
    // sense, and sin |beta - alpha| is the same for an angle and its supplement.
    auto direction = [](long double dx, long double dy) {
        if (dx == 0) return dy > 0 ? kHalfPi : -kHalfPi;
        return std::atan(dy / dx);
    };
    const long double alpha = direction(s.end.x - s.start.x, s.end.y - s.start.y);
    const long double beta = direction(p.x - s.start.x, p.y - s.start.y);
    const long double r = std::hypot(p.x - s.start.x, p.y - s.start.y);
    const long double distance = r * std::sin(std::fabs(beta - alpha));
    return distance / scale < kSelectionPixels;
}

}  // namespace murvex::figure
