// The drawing state machine on random event sequences over a small tile, with the window's grid
// commands in between: no crash, and after every event the grid, the interaction state and the
// canvas agree. Complete rows lie inside the tile; an open segment owns the last row's start
// cells; the rubber line is on the canvas exactly when the state says so (not-xor lines cancel in
// pairs), and never after a move while no segment is open or end point dragged. The drawing tools
// take part: zoom, pan and fit, the window growing, every snap, polar angles, chains, typed
// points, end point drags, window selections, and copy, move and mirror of a selection.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

#include "Canvas.h"
#include "FigureEditing.h"
#include "FigureModel.h"
#include "Interaction.h"
#include "Selection.h"
#include "Snaps.h"
#include "View.h"

using namespace murvex;
using namespace murvex::figure;

namespace {

// Keeps the not-xor lines now on the picture (drawn an odd number of times since the last fresh
// picture) and checks painted lines against the picture's size.
class TrackingCanvas final : public Canvas {
  public:
    using Key = std::tuple<int, int, int, int, int>;

    void SetSize(int w, int h) override {
        width_ = w;
        height_ = h;
        on.clear();
    }
    void FillWhite() override { on.clear(); }
    void SetPenColor(PenColor) override {}
    void SetPenWidth(int w) override { pen_ = w; }
    void MoveTo(Pixel p) override { Check(p); }
    void LineTo(Pixel p) override { Check(p); }
    // Zoomed in or moved, segments run beyond the picture.
    bool viewMoved = false;
    void NotXorLine(Pixel from, Pixel to) override {
        const Key key = KeyOf(from, to, pen_);
        if (on.erase(key) == 0) on.insert({key, true});
    }
    static Key KeyOf(Pixel a, Pixel b, int pen) {
        if (std::tie(b.x, b.y) < std::tie(a.x, a.y)) std::swap(a, b);
        return {a.x, a.y, b.x, b.y, pen};
    }
    std::map<Key, bool> on;

  private:
    void Check(Pixel p) const {
        if (viewMoved) return;
        if (p.x < -1 || p.y < -1 || p.x > width_ + 1 || p.y > height_ + 1) std::abort();
    }
    int width_ = 0;
    int height_ = 0;
    int pen_ = 1;
};

void CheckRow(const FigureModel& model, int row) {
    if (row < 1 || row >= model.grid.RowCount()) std::abort();
}

void CheckConsistent(const FigureModel& model, const TrackingCanvas& canvas, const Reaction& r,
                     bool afterMove) {
    const TextGrid& grid = model.grid;
    const InteractionState& st = model.interaction;
    if (grid.RowCount() < 2) std::abort();
    CheckRow(model, grid.CurrentRow());
    if (r.selectedRow) CheckRow(model, *r.selectedRow);
    if (r.openTypedLengthBox && !st.drawing) std::abort();
    if (st.selectionMode && st.drawing) std::abort();
    if (afterMove && !st.drawing && !st.dragging && st.rubberShown) std::abort();
    if (st.dragging && !st.selectionMode) std::abort();

    // The rubber line, and nothing else drawn not-xor, is on the picture.
    if (st.rubberShown) {
        if (canvas.on.size() != 1) std::abort();
        const auto& key = canvas.on.begin()->first;
        const auto want = TrackingCanvas::KeyOf(st.startPixel, st.lockedPixel, std::get<4>(key));
        if (key != want) std::abort();
    } else if (!canvas.on.empty()) {
        std::abort();
    }

    const int last = grid.RowCount() - 1;
    if (st.drawing) {
        if (grid.Cell(kColXStart, last).empty() || grid.Cell(kColYStart, last).empty())
            std::abort();
        if (!grid.Cell(kColXEind, last).empty() || !grid.Cell(kColYEind, last).empty())
            std::abort();
    }

    const long double w = model.TileWidth();
    const long double h = model.TileHeight();
    const long double tolerance = 0.001L;  // cells hold three decimals
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (!RowComplete(grid, row)) continue;
        const TileSegment s = RowSegment(grid, row);
        for (const TilePoint& p : {s.start, s.end}) {
            if (p.x < -tolerance || p.x > w + tolerance || p.y < -tolerance || p.y > h + tolerance)
                std::abort();
        }
    }
}

Pixel RandomPixel(FuzzedDataProvider& in, const FigureModel& model) {
    // Mostly on the canvas; a captured mouse reports positions beyond it.
    const int margin = in.ConsumeBool() ? 0 : 20;
    return {in.ConsumeIntegralInRange(-margin, model.CanvasWidth() + margin),
            in.ConsumeIntegralInRange(-margin, model.CanvasHeight() + margin)};
}

KeyFocus RandomFocus(FuzzedDataProvider& in) {
    return in.PickValueInArray({KeyFocus::FigureTab, KeyFocus::TextControl, KeyFocus::OtherTab});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FigureModel model;
    TrackingCanvas canvas;
    const int width =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 20) : in.ConsumeIntegralInRange(1, 100000);
    const int height =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 20) : in.ConsumeIntegralInRange(1, 100000);
    if (!InitFiguur(model, canvas, width, height)) std::abort();

    for (int step = 0; step < 200 && in.remaining_bytes() > 0; ++step) {
        Reaction r;
        bool afterMove = false;
        switch (in.ConsumeIntegralInRange(0, 21)) {
            case 0:
            case 1:
                r = MouseMove(model, canvas, RandomPixel(in, model));
                afterMove = true;
                break;
            case 2:
            case 3:
                r = Click(model, canvas, RandomPixel(in, model));
                break;
            case 4: {
                const char key = in.ConsumeIntegral<char>();
                r = KeyPress(model, key, RandomFocus(in), 0, 0);
                if (r.openTypedLengthBox) {
                    CheckConsistent(model, canvas, r, false);
                    if (in.ConsumeBool())
                        r = TypedLengthAccepted(model, canvas, in.ConsumeRandomLengthString(12),
                                                in.ConsumeBool() ? ',' : '.');
                    else
                        TypedLengthCancelled(model);
                }
                break;
            }
            case 5:
                r = KeyDown(model, canvas, in.ConsumeBool() ? Key::Escape : Key::Other,
                            in.ConsumeBool(), RandomFocus(in));
                break;
            case 6:
                KeyUp(model, in.ConsumeBool());
                break;
            case 7:
                r = EnterSelectionMode(model, canvas);
                break;
            case 8:
                r = EnterDrawingMode(model);
                break;
            case 9:
                r = SetSnap(model, in.ConsumeBool());
                break;
            case 10:
                SetThickPen(model, canvas, in.ConsumeBool());
                break;
            case 11:
                ShowSelectedRow(model, canvas,
                                in.ConsumeIntegralInRange(1, model.grid.RowCount() - 1));
                break;
            case 12:
                // The grid's row commands, which the window offers while no segment is open.
                if (!model.interaction.drawing) {
                    model.grid.SetCurrent(model.grid.CurrentCol(),
                                          in.ConsumeIntegralInRange(1, model.grid.RowCount() - 1));
                    if (in.ConsumeBool())
                        AddSegmentRow(model.grid);
                    else
                        DeleteSelectedSegment(model, canvas);
                }
                break;
            case 13:
                canvas.viewMoved = true;
                WheelZoom(model, canvas, RandomPixel(in, model),
                          in.ConsumeIntegralInRange(-2400, 2400));
                break;
            case 14:
                canvas.viewMoved = true;
                PanBy(model, canvas, in.ConsumeIntegralInRange(-500, 500),
                      in.ConsumeIntegralInRange(-500, 500));
                break;
            case 15:
                canvas.viewMoved = true;  // fitted to a larger canvas, the tile may grow
                FitTile(model, canvas);
                SetExtraCanvasSize(model, canvas, in.ConsumeIntegralInRange(0, 40),
                                   in.ConsumeIntegralInRange(0, 40));
                break;
            case 16:
                r = Press(model, canvas, RandomPixel(in, model));
                break;
            case 17:
                r = Release(model, canvas, RandomPixel(in, model));
                break;
            case 18: {
                SnapSettings& snaps = model.interaction.snaps;
                snaps.grid = in.ConsumeBool();
                snaps.midPoints = in.ConsumeBool();
                snaps.intersections = in.ConsumeBool();
                snaps.nearest = in.ConsumeBool();
                snaps.tile = in.ConsumeBool();
                snaps.tileCorners = in.ConsumeBool();
                snaps.neighbours = in.ConsumeBool();
                model.interaction.polarOn = in.ConsumeBool();
                model.interaction.polarStep = in.PickValueInArray({15, 30, 45});
                model.interaction.chainOn = in.ConsumeBool();
                SetGridSpacing(model, in.ConsumeFloatingPoint<double>());
                break;
            }
            case 19:
                if (model.interaction.drawing) break;
                if (in.ConsumeBool()) {
                    DeleteSelection(model, canvas);
                } else {
                    EditSelection(model, canvas,
                                  in.PickValueInArray({SelectionEdit::Copy, SelectionEdit::Move,
                                                       SelectionEdit::MirrorLeftRight,
                                                       SelectionEdit::MirrorUpDown}),
                                  in.ConsumeFloatingPoint<double>(),
                                  in.ConsumeFloatingPoint<double>(), in.ConsumeBool());
                }
                break;
            case 20:
                // The window's snap marker and a figure's redraw ask the same of the snaps.
                FindSnap(model, PixelToTile(model, RandomPixel(in, model)));
                GridDots(model);
                break;
            default:
                RedrawFiguur(model, canvas);
                break;
        }
        CheckConsistent(model, canvas, r, afterMove);
    }
    return 0;
}
