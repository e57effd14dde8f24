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
#include "Polar.h"
#include "Snaps.h"
#include "TypedInput.h"

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

std::string Text(long double v) {
    return Fmt(static_cast<double>(v));
}

// The status without a segment open: where the mouse is.
std::string PositionText(const FigureModel& model) {
    const InteractionState& st = model.interaction;
    const TilePoint p = st.target ? st.target->point : PixelToTile(model, st.lockedPixel);
    return "X:" + Text(p.x) + ", Y:" + Text(p.y);
}

// Escape and the selection mode button: the grid goes back to what it was before the first
// point. A row the first point appended goes again (an empty row left behind would be written
// as a line of its own); a row that was there already is emptied. The rubber line and the
// length in the status go with the segment.
void AbandonSegment(FigureModel& model, Canvas& canvas, Reaction& reaction) {
    InteractionState& st = model.interaction;
    TextGrid& grid = model.grid;
    EraseRubberLine(model, canvas);
    if (st.segmentRowAdded && grid.RowCount() > 2) {
        grid.SetRowCount(grid.RowCount() - 1);
    } else {
        grid.SetCell(kColXStart, LastRow(model), std::string());
        grid.SetCell(kColYStart, LastRow(model), std::string());
    }
    SelectRow(model, canvas, LastRow(model), reaction);
    st.drawing = false;
    st.segmentRowAdded = false;
    reaction.status = PositionText(model);
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

// The first point of a segment: the start of the grid's last row (a new row when that one is
// taken).
void StartSegment(FigureModel& model, Canvas& canvas, TilePoint p, Reaction& reaction) {
    InteractionState& st = model.interaction;
    TextGrid& grid = model.grid;
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
}

// A click in drawing mode: the first places the start of a segment in the grid's last row (a
// new row when that one is taken), the second its end.
void PlacePoint(FigureModel& model, Canvas& canvas, Reaction& reaction) {
    InteractionState& st = model.interaction;
    st.chainLinked = false;
    TilePoint p = PixelToTile(model, st.mousePixel);
    if (st.typedLengthMode) p = st.typedPoint ? *st.typedPoint : TypedLengthPoint(st);
    bool snapped = false;
    if (st.snapOn && !st.typedLengthMode) {
        if (const std::optional<TilePoint> q = SnapToPoint(model, p)) {
            p = *q;
            snapped = true;
        }
    }
    // The extra snaps, the polar angles and the grid: the point the last mouse move showed. A
    // point locked level or plumb still takes the lock's exact copy of the start's text below.
    const bool lockTarget = st.target && st.target->kind == SnapKind::Lock;
    if (!snapped && !st.typedLengthMode && st.target) {
        p = st.target->point;
        snapped = !lockTarget;
    }
    TextGrid& grid = model.grid;

    if (!st.drawing) {
        StartSegment(model, canvas, p, reaction);
        return;
    }

    EraseRubberLine(model, canvas);
    const int row = LastRow(model);
    SelectRow(model, canvas, row, reaction);
    // A locked (or exactly level) end copies the start's text, so the segment is exactly
    // horizontal or vertical whatever the start's text held.
    const bool lockRules = st.snapOn && !st.typedLengthMode && (st.shiftHeld || !snapped) &&
                           (!st.target || lockTarget);
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
    const bool drawn = DrawFiguurLijn(model, canvas, row, false) == DrawResult::Drawn;
    st.drawing = false;
    st.target.reset();
    // A chain goes on from the end just placed, while that end lies in the tile.
    if (st.chainOn && drawn && InsideTile(model, p)) {
        StartSegment(model, canvas, p, reaction);
        st.chainLinked = true;
    }
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

// An end point being dragged follows the mouse, snapped as a click is (its own row takes no
// part), or along a polar ray from the segment's other end.
void DragMove(FigureModel& model, TilePoint mouse, Reaction& reaction) {
    InteractionState& st = model.interaction;
    if (auto hit = FindSnap(model, mouse, st.dragRow)) {
        st.target = hit;
    } else if (st.polarOn) {
        if (const auto q = PolarPoint(model, st.start, mouse))
            st.target = SnapTarget{*q, SnapKind::Polar};
    }
    SnapMarker marker;
    if (st.target) marker = {FiguurToPixel(model, st.target->point).pixel, st.target->kind};
    reaction.marker = marker;
}

void ShowSelectionWindow(FigureModel& model, Pixel p, Reaction& reaction) {
    InteractionState& st = model.interaction;
    const bool far = std::abs(p.x - st.pressPixel.x) >= kDragPixels ||
                     std::abs(p.y - st.pressPixel.y) >= kDragPixels;
    if (far) st.windowShown = true;
    if (st.windowShown) reaction.window = SelectionWindow{st.pressPixel, p, true};
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

    // A drag belongs to selection mode; leaving it ends the drag where it was.
    if (!st.selectionMode) st.dragging = st.pressed = st.windowShown = false;
    st.mousePixel = st.lockedPixel = p;
    st.target.reset();
    const TilePoint mouse = PixelToTile(model, p);
    long double dx = mouse.x - st.start.x;
    long double dy = mouse.y - st.start.y;

    if (st.dragging) {
        DragMove(model, mouse, reaction);
        if (st.target) st.lockedPixel = FiguurToPixel(model, st.target->point).pixel;
    } else if (st.pressed) {
        ShowSelectionWindow(model, p, reaction);
    }

    bool horizontal = false;
    bool vertical = false;
    if (st.snapOn && st.drawing) {
        const int offX = p.x - st.startPixel.x;
        const int offY = p.y - st.startPixel.y;
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

    // The snap a click here takes, shown by the marker, followed by the rubber line and the
    // status. Without any of the extra tools they stay with the mouse as they always did.
    if (!st.dragging && !st.selectionMode) {
        const bool tools = st.snaps.Any() || st.polarOn;
        // Without the tools a mouse move costs what it always did: no snap is looked for.
        const std::optional<SnapTarget> hit =
            tools ? FindSnap(model, mouse) : std::optional<SnapTarget>();
        const bool objectHit = hit && hit->kind != SnapKind::Grid;
        if (tools && objectHit && !(st.shiftHeld && (horizontal || vertical))) {
            st.target = hit;
        } else if (tools && (horizontal || vertical)) {
            // Level or plumb, along the grid when it is on.
            TilePoint q =
                horizontal ? TilePoint{mouse.x, st.start.y} : TilePoint{st.start.x, mouse.y};
            if (st.snaps.grid) {
                const TilePoint g = NearestGridPoint(model, mouse);
                (horizontal ? q.x : q.y) = horizontal ? g.x : g.y;
            }
            st.target = SnapTarget{q, SnapKind::Lock};
        } else if (st.polarOn && st.drawing) {
            if (const auto q = PolarPoint(model, st.start, mouse))
                st.target = SnapTarget{*q, SnapKind::Polar};
        }
        if (!st.target && tools && hit) st.target = hit;  // the grid
        if (st.target) {
            const Pixel at = FiguurToPixel(model, st.target->point).pixel;
            // A lock keeps its exact row or column of pixels: the click compares them.
            if (st.target->kind == SnapKind::Lock) {
                (horizontal ? st.lockedPixel.x : st.lockedPixel.y) = horizontal ? at.x : at.y;
            } else {
                st.lockedPixel = at;
            }
        }
        SnapMarker marker;
        if (st.target && st.target->kind != SnapKind::Lock)
            marker = {st.lockedPixel, st.target->kind};
        reaction.marker = marker;
    } else if (!st.dragging) {
        reaction.marker = SnapMarker{};  // selection mode snaps nothing
    }
    if (st.target) {
        dx = st.target->point.x - st.start.x;
        dy = st.target->point.y - st.start.y;
    }

    std::string status = PositionText(model);
    if (st.drawing || st.dragging) {
        canvas.NotXorLine(st.startPixel, st.lockedPixel);
        st.rubberShown = true;
        SetDirection(st, dx, dy);
        // The segment as it would be drawn, in the typed form "@L<A".
        status += " L:" + Text(std::hypot(dx, dy)) + " <" + Text(DirectionDegrees(st));
    }
    reaction.status = std::move(status);
    return reaction;
}

Reaction Click(FigureModel& model, Canvas& canvas, Pixel p) {
    Reaction reaction;
    if (!model.HasFigure()) return reaction;
    if (p != model.interaction.mousePixel) reaction = MouseMove(model, canvas, p);
    if (model.interaction.selectionMode) {
        SelectSegmentAt(model, canvas, reaction);
    } else {
        PlacePoint(model, canvas, reaction);
        // A closed segment leaves no length in the status.
        if (!model.interaction.drawing) reaction.status = PositionText(model);
    }
    return reaction;
}

Reaction KeyPress(FigureModel& model, char key, KeyFocus focus, int windowLeft, int windowTop) {
    Reaction reaction;
    InteractionState& st = model.interaction;
    if (focus != KeyFocus::FigureTab) return reaction;
    if (!st.drawing || st.typedLengthMode || !OpensTypedInput(key)) return reaction;
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
    // Escape drops a dragged end point where it was and a selection window.
    InteractionState& st = model.interaction;
    if (key == Key::Escape && st.pressed) {
        EraseRubberLine(model, canvas);
        st.dragging = st.pressed = st.windowShown = false;
        st.target.reset();
        reaction.marker = SnapMarker{};
        reaction.window = SelectionWindow{};
    }
    if (model.interaction.drawing && key == Key::Escape) {
        AbandonSegment(model, canvas, reaction);
        reaction.keySwallowed = focus == KeyFocus::FigureTab;
    }
    return reaction;
}

void KeyUp(FigureModel& model, bool shift) {
    model.interaction.shiftHeld = shift;
}

Reaction TypedLengthAccepted(FigureModel& model, Canvas& canvas, std::string_view text,
                             char userSeparator) {
    Reaction reaction;
    InteractionState& st = model.interaction;
    const std::optional<TypedInput> input = ParseTypedInput(text);
    if (!input) {
        // The segment stays open for the next try.
        st.typedLengthMode = false;
        reaction.warning = TypedInputRefusedText(userSeparator);
        return reaction;
    }
    st.typedPoint.reset();
    if (input->form == TypedInput::Form::Length) {
        st.typedLength = static_cast<double>(input->a);
    } else {
        st.typedPoint = TypedInputPoint(*input, st.start);
    }
    // Only an open segment takes a length; the box opens for nothing else.
    if (st.drawing && model.HasFigure()) {
        PlacePoint(model, canvas, reaction);
        if (!st.drawing) reaction.status = PositionText(model);
    }
    st.typedLengthMode = false;
    st.typedPoint.reset();
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
    InteractionState& st = model.interaction;
    // A drag ends with its mode; its rubber line goes with the next mouse move.
    st.dragging = st.pressed = st.windowShown = false;
    st.selectionMode = false;
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

Reaction Press(FigureModel& model, Canvas& canvas, Pixel p) {
    Reaction reaction;
    InteractionState& st = model.interaction;
    if (!model.HasFigure() || !st.selectionMode || st.dragging) return reaction;
    if (p != st.mousePixel) reaction = MouseMove(model, canvas, p);
    st.pressed = true;
    st.pressPixel = p;
    st.windowShown = false;
    if (const auto hit = EndPointAt(model, PixelToTile(model, p))) {
        // The rubber line runs from the other end to the dragged one.
        st.dragging = true;
        st.dragRow = hit->row;
        st.dragEnd = hit->end;
        st.dragRevision = model.grid.Revision();
        st.start = hit->other;
        st.startPixel = FiguurToPixel(model, hit->other).pixel;
        st.target = SnapTarget{hit->point, SnapKind::EndPoint};
        st.lockedPixel = FiguurToPixel(model, hit->point).pixel;
    }
    return reaction;
}

Reaction Release(FigureModel& model, Canvas& canvas, Pixel p) {
    Reaction reaction;
    InteractionState& st = model.interaction;
    if (!st.pressed || !st.selectionMode) {
        if (st.dragging) EraseRubberLine(model, canvas);
        st.pressed = st.dragging = st.windowShown = false;
        return reaction;
    }
    if (p != st.mousePixel) reaction = MouseMove(model, canvas, p);
    st.pressed = false;
    const bool moved = std::abs(p.x - st.pressPixel.x) >= kDragPixels ||
                       std::abs(p.y - st.pressPixel.y) >= kDragPixels;
    if (st.dragging) {
        st.dragging = false;
        EraseRubberLine(model, canvas);
        reaction.marker = SnapMarker{};
        // A press and release on the spot is a click that selects the segment; a drag whose rows
        // changed while the button was held moves nothing.
        if (!moved || model.grid.Revision() != st.dragRevision) return reaction;
        const TilePoint to = st.target ? st.target->point : PixelToTile(model, p);
        MoveEndPoint(model, st.dragRow, st.dragEnd, to);
        st.target.reset();
        RedrawFiguur(model, canvas);
        SelectRow(model, canvas, st.dragRow, reaction);
        reaction.releaseHandled = true;
        return reaction;
    }
    if (st.windowShown) {
        st.windowShown = false;
        reaction.window = SelectionWindow{};
        std::vector<int> rows =
            RowsInsideWindow(model, PixelToTile(model, st.pressPixel), PixelToTile(model, p));
        RedrawFiguur(model, canvas);
        if (!rows.empty()) {
            SelectRow(model, canvas, rows.front(), reaction);
            SetWindowRows(model, std::move(rows));
            RedrawSelection(model, canvas);
        } else {
            // An empty window ends the selection: the red is gone, and Delete takes nothing.
            SetWindowRows(model, {});
            model.previousRow = model.currentRow = 0;
        }
        reaction.releaseHandled = true;
    }
    return reaction;
}

std::optional<TilePoint> SnapToPoint(const FigureModel& model, TilePoint p) {
    return EndPointNear(model, p, model.ViewSnapRadius());
}

bool HitFiguurLijn(const FigureModel& model, int row, TilePoint p) {
    if (row < 1 || row >= model.grid.RowCount() || !RowComplete(model.grid, row)) return false;
    TileSegment s = RowSegment(model.grid, row);
    if (s.start.x > s.end.x) std::swap(s.start, s.end);
    const long double scale = model.ViewScale();
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
