// The figure's undo steps: a drawn segment is one step from its first point to its second, an
// abandoned one none, and a snapshot put back brings the tile and the exact grid.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FigureEditing.h"
#include "FigureUndo.h"
#include "GridHistory.h"
#include "Interaction.h"
#include "RecordingCanvas.h"

namespace murvex::figure {
namespace {

// A 300 x 300 tile: tile (x, y) is mouse pixel (x, 300 - y).
struct FigureSteps300 : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(InitFiguur(model, canvas, 300, 300)); }
    // As the tab runs a command: the state before it, then whatever step the rules make.
    void Step(const std::function<void()>& command) {
        FigureSnapshot before = Snapshot(model);
        command();
        if (std::optional<FigureSnapshot> step = steps.Ran(std::move(before), model))
            history.Record(*step, Snapshot(model));
    }
    void ClickAt(int x, int y) {
        Step([&] { Click(model, canvas, {x, 300 - y}); });
    }

    FigureModel model;
    test::RecordingCanvas canvas;
    FigureSteps steps;
    StateHistory<FigureSnapshot> history;
};

TEST_F(FigureSteps300, ASegmentIsOneStepAndAnAbandonedOneNone) {
    struct Case {
        const char* name;
        std::function<void(FigureSteps300&)> before;  // what happens before the segment drawn
        std::size_t steps;
    };
    // A half-typed row takes the first point; abandoning the segment empties it, which is no
    // step of its own: the next segment starts from the emptied row.
    const auto abandon = [](FigureSteps300& f, bool selectionMode) {
        f.Step([&] { f.model.grid.SetCell(kColYStart, 1, "5"); });
        f.ClickAt(100, 100);
        if (selectionMode) {
            EnterSelectionMode(f.model, f.canvas);
            EnterDrawingMode(f.model);
        } else {
            KeyDown(f.model, f.canvas, Key::Escape, false, KeyFocus::FigureTab);
        }
        f.steps.ForgetAbandonedSegment(f.model);
    };
    const Case cases[] = {
        {"alone", [](FigureSteps300&) {}, 1},
        {"after Escape", [&](FigureSteps300& f) { abandon(f, false); }, 2},
        {"after the selection mode", [&](FigureSteps300& f) { abandon(f, true); }, 2},
        {"after a typed cell",
         [](FigureSteps300& f) { f.Step([&] { f.model.grid.SetCell(1, 1, "10"); }); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        history.Clear();
        steps = {};
        c.before(*this);
        const FigureSnapshot start = Snapshot(model);
        ClickAt(50, 50);
        ASSERT_TRUE(model.interaction.drawing);
        EXPECT_EQ(history.UndoCount(), c.steps - 1) << "no step while the segment is open";
        ClickAt(200, 50);
        ASSERT_FALSE(model.interaction.drawing);
        EXPECT_EQ(history.UndoCount(), c.steps);
        const std::optional<FigureSnapshot> back = history.Undo(Snapshot(model));
        ASSERT_TRUE(back.has_value());
        EXPECT_TRUE(SameState(*back, start)) << "back to before the first point";
    }
}

TEST_F(FigureSteps300, PuttingASnapshotBackBringsItsTileAndItsExactRows) {
    model.grid.SetCell(1, 1, "10");
    const FigureSnapshot small = Snapshot(model);
    ASSERT_TRUE(InitFiguur(model, canvas, 600, 100));
    model.grid.SetCell(1, 1, "20");
    const FigureSnapshot wide = Snapshot(model);
    FigureSnapshot outside = wide;  // a row drawing would clip
    outside.rows.SetCell(1, 1, "900");
    outside.rows.SetCell(2, 1, "50");
    outside.rows.SetCell(3, 1, "950");
    outside.rows.SetCell(4, 1, "50");
    FigureSnapshot noTile = small;  // from before the first figure
    noTile.tileWidth = noTile.tileHeight = 0;

    struct Case {
        const char* name;
        const FigureSnapshot& state;
        bool newTile;
        int width;
    };
    const Case cases[] = {
        {"another tile", small, true, 300},
        {"the same tile", wide, false, 600},
        {"a row outside the tile", outside, false, 600},
        {"no tile keeps the tile", noTile, false, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(InitFiguur(model, canvas, 600, 100));
        model.previousRow = model.currentRow = 1;
        EXPECT_EQ(Restore(model, canvas, c.state), c.newTile);
        EXPECT_EQ(model.TileWidth(), c.width);
        EXPECT_TRUE(SameCells(model.grid, c.state.rows));
        EXPECT_EQ(model.currentRow, 0);
        EXPECT_EQ(model.previousRow, 0);
    }
}

}  // namespace
}  // namespace murvex::figure
