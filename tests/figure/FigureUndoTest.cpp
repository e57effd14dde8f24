// The figure's undo steps: a drawn segment is one step from its first point to its second, and
// an abandoned one none.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>

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
    const auto abandon = [](FigureSteps300& f) {
        f.Step([&] { f.model.grid.SetCell(kColYStart, 1, "5"); });
        f.ClickAt(100, 100);
        KeyDown(f.model, f.canvas, Key::Escape, false, KeyFocus::FigureTab);
        f.steps.ForgetAbandonedSegment(f.model);
    };
    const Case cases[] = {{"alone", [](FigureSteps300&) {}, 1},
                          {"after an abandoned one", abandon, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        history.Clear();
        c.before(*this);
        const FigureSnapshot start = Snapshot(model);
        ClickAt(50, 50);
        ASSERT_TRUE(model.interaction.drawing);
        EXPECT_EQ(history.UndoCount(), c.steps - 1) << "no step while the segment is open";
        ClickAt(200, 50);
        EXPECT_EQ(history.UndoCount(), c.steps);
        const std::optional<FigureSnapshot> back = history.Undo(Snapshot(model));
        EXPECT_TRUE(back && SameState(*back, start)) << "back to before the first point";
    }
}

}  // namespace
}  // namespace murvex::figure
