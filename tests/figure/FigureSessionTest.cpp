// The figure session: commands as undo steps, the saved mark, segments loaded as one step.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FigureSession.h"
#include "PatternFigure.h"
#include "RecordingCanvas.h"
#include "TempDir.h"

namespace murvex::figure {
namespace {

using Cells = std::array<std::string, 4>;

Pixel At(int x, int y) {
    return {x, 300 - y};
}

Cells Row(const FigureModel& model, int row) {
    return {model.grid.Cell(1, row), model.grid.Cell(2, row), model.grid.Cell(3, row),
            model.grid.Cell(4, row)};
}

void ClickAt(FigureSession& session, Pixel p) {
    session.MouseMove(p);
    session.Click(p);
}

struct Session : ::testing::Test {
    test::RecordingCanvas canvas;
};

// Each sequence of events, then the undo steps it left and what one Ctrl+Z gives back.
TEST_F(Session, StepsOfEachCommand) {
    struct Case {
        const char* name;
        std::function<void(FigureSession&)> run;
        std::size_t steps;
        int rowsAfterUndo;  // data rows after one undo (when there is a step)
    };
    const Case cases[] = {
        {"a segment by two clicks is one step",
         [](FigureSession& t) {
             ClickAt(t, At(10, 10));
             ClickAt(t, At(100, 10));
         },
         1, 1},
        {"an abandoned segment is none",
         [](FigureSession& t) {
             ClickAt(t, At(10, 10));
             t.KeyDown(Key::Escape, false, KeyFocus::FigureTab);
         },
         0, 0},
        // A half-typed row takes the first point; abandoning empties it, which is no step of its
        // own: the next segment starts from the emptied row, and its undo goes back to there.
        {"a typed cell, a segment abandoned in its row, then one drawn",
         [](FigureSession& t) {
             t.Step([&] { t.Model().grid.SetCell(kColYStart, 1, "5"); });
             ClickAt(t, At(100, 100));
             t.KeyDown(Key::Escape, false, KeyFocus::FigureTab);
             ClickAt(t, At(50, 50));
             EXPECT_EQ(t.History().UndoCount(), 1u) << "no step while the segment is open";
             ClickAt(t, At(200, 50));
             ASSERT_TRUE(t.Undo());
             EXPECT_EQ(Row(t.Model(), 1), (Cells{"", "", "", ""})) << "before the first point";
             ASSERT_TRUE(t.Redo());
         },
         2, 1},
        {"a refused typed text leaves the segment open and makes no step; a point closes it",
         [](FigureSession& t) {
             ClickAt(t, At(10, 10));
             EXPECT_TRUE(t.TypedText("2x", ',').warning);
             EXPECT_TRUE(t.Model().interaction.drawing);
             EXPECT_EQ(t.History().UndoCount(), 0u);
             t.TypedText("@50,20", ',');
             EXPECT_EQ(Row(t.Model(), 1), (Cells{"10.000", "10.000", "60.000", "30.000"}));
         },
         1, 1},
        {"segments loaded into a new tile are one step",
         [](FigureSession& t) {
             ClickAt(t, At(10, 10));
             ClickAt(t, At(100, 10));
             ASSERT_TRUE(t.LoadSegments(215, 65, {{{0, 0}, {215, 65}}, {{5, 5}, {5, 60}}}));
             EXPECT_EQ(Row(t.Model(), 2), (Cells{"5.000", "5.000", "5.000", "60.000"}));
         },
         2, 1},
        // "Als figuur openen": the pattern's figure list read into the figure.
        {"a pattern opened as a figure is one step",
         [](FigureSession& t) {
             ClickAt(t, At(10, 10));
             ClickAt(t, At(100, 10));
             PatternHeader header;
             const PatternFigure f = FigureOfPattern("*P\n0, 0,0, 0,10, 6,-4\n", header);
             t.Step([&] { ReadFigureListLines(f.list, t.Model(), t.TheCanvas(), header); });
             EXPECT_EQ(t.Model().TileWidth(), 10);
         },
         2, 1},
        {"a refused tile changes nothing",
         [](FigureSession& t) { EXPECT_FALSE(t.LoadSegments(0, 65, {})); }, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FigureSession session(canvas);
        ASSERT_TRUE(session.NewFigure("300", "300"));
        c.run(session);
        EXPECT_EQ(session.History().UndoCount(), c.steps);
        if (c.steps == 0) continue;
        bool tileReplaced = false;
        ASSERT_TRUE(session.Undo(&tileReplaced));
        EXPECT_EQ(session.Model().TileWidth(), 300);
        EXPECT_EQ(session.Model().grid.RowCount() - 1, std::max(c.rowsAfterUndo, 1));
        ASSERT_TRUE(session.Redo());
        EXPECT_EQ(session.History().UndoCount(), c.steps);
    }
}

TEST_F(Session, TheSavedMarkFollowsTheFigure) {
    FigureSession fresh(canvas);
    EXPECT_FALSE(fresh.Changed()) << "nothing to lose before the first figure";
    ASSERT_TRUE(fresh.NewFigure("300", "300"));
    EXPECT_EQ(fresh.History().UndoCount(), 0u) << "the first figure starts the history";
    EXPECT_FALSE(fresh.Changed());
    fresh.MouseMove(At(10, 10));
    fresh.Click(At(10, 10));
    fresh.MouseMove(At(50, 10));
    fresh.Click(At(50, 10));
    EXPECT_TRUE(fresh.Changed());
    fresh.MarkSaved();
    EXPECT_FALSE(fresh.Changed());
    ASSERT_TRUE(fresh.Undo());
    EXPECT_TRUE(fresh.Changed());
    // No undo while a segment is open.
    fresh.MouseMove(At(70, 70));
    fresh.Click(At(70, 70));
    EXPECT_FALSE(fresh.Undo());
}

// What the copy, move and mirror dialog and the grid spacing take as typed: an offset is a point
// typed relative (its grammar the typed forms' own), a mirror line one number.
TEST_F(Session, TypedEditTextsAndGridSpacing) {
    struct Case {
        const char* name;
        SelectionEdit edit;
        const char* text;
        std::optional<EditResult> result;
    };
    const Case cases[] = {
        {"offset with a comma", SelectionEdit::Copy, "0,25", EditResult::Done},
        {"one number is no offset", SelectionEdit::Copy, "25", std::nullopt},
        {"a mirror line", SelectionEdit::MirrorLeftRight, "150", EditResult::Done},
        {"a mirror line is one number", SelectionEdit::MirrorUpDown, "1,2,3", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FigureSession session(canvas);
        ASSERT_TRUE(session.LoadSegments(300, 300, {{{10, 10}, {40, 10}}}));
        session.SelectRow(1);
        EXPECT_EQ(session.EditSelectionTyped(c.edit, c.text, true), c.result);
    }
    FigureSession session(canvas);
    ASSERT_TRUE(session.NewFigure("300", "300"));
    EXPECT_TRUE(session.SetGridSpacingTyped("2,5"));
    EXPECT_EQ(session.Model().interaction.snaps.gridSpacing, 2.5);
    EXPECT_FALSE(session.SetGridSpacingTyped("0"));
    EXPECT_FALSE(session.SetGridSpacingTyped("vijf"));
    EXPECT_EQ(session.Model().interaction.snaps.gridSpacing, 2.5);
}

// "Max. afwijking" counts for "Op maat" only: a positive number below the tile's size, written
// with either decimal separator.
TEST_F(Session, TheDeviationOfOpMaat) {
    FigureSession session(canvas);
    ASSERT_TRUE(session.NewFigure("600", "300"));
    for (const char* text : {"0", "-1", "nan", "veel", "600.5"})
        EXPECT_FALSE(session.ConversionChoice(3, text)) << text;
    ASSERT_TRUE(session.ConversionChoice(3, "0,5"));
    EXPECT_EQ(session.ConversionChoice(3, "0,5")->maxDeviation, 0.5L);
    EXPECT_EQ(session.ConversionChoice(0, "veel")->accuracy, Accuracy::Nauwkeurig);
}

// A list read is one step and counts as saved; read into the first figure it starts the history.
TEST_F(Session, AFigureListReadIsOneStepAndCountsAsSaved) {
    test::TempDir dir;
    test::FakePlatform platform;
    const std::string list = dir.File("figuur.txt");
    test::WriteText(list, ";%SIZE=200,100\r\n*visgraat\r\n0,0,200,100\r\n");
    PatternHeader header{"MM", "MODEL", "naam arcering"};
    FigureSession session(canvas);
    ASSERT_TRUE(session.OpenList(platform, list, 7, header));
    EXPECT_EQ(session.History().UndoCount(), 0u);
    EXPECT_FALSE(session.Changed());
    EXPECT_EQ(header.name, "visgraat");
    ClickAt(session, {10, 50});  // canvas pixels: the tile is 2/3 of a unit a pixel
    ClickAt(session, {60, 50});
    EXPECT_TRUE(session.Changed());
    ASSERT_TRUE(session.OpenList(platform, list, 7, header));
    EXPECT_EQ(session.History().UndoCount(), 2u);
    EXPECT_FALSE(session.Changed());
    ASSERT_TRUE(session.Undo());
    EXPECT_EQ(session.Model().grid.RowCount(), 3) << "the drawn segment is back";
}

// Random commands of every kind on a figure (segments drawn, rows added, deleted and typed,
// copies and moves, a new tile): undoing them all gives back each earlier figure exactly, in
// turn, and redoing them all each later one; a step keeps only the rows it changed.
TEST_F(Session, UndoAndRedoGiveBackEveryStateExactly) {
    std::mt19937 random(5);
    FigureSession session(canvas);
    ASSERT_TRUE(session.NewFigure("300", "200"));
    FigureModel& model = session.Model();
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    // Each step's figure as soon as it was made (selecting a row may make one: the row drawn
    // clipped); a change that made no step could not be undone.
    std::vector<FigureSnapshot> states{Snapshot(model)};
    const auto note = [&] {
        while (states.size() < session.History().UndoCount() + 1)
            states.push_back(Snapshot(model));
        EXPECT_TRUE(SameState(Snapshot(model), states.back())) << states.size();
    };
    for (int step = 0; step < 120; ++step) {
        const int kind = below(8);
        if (kind < 3) {
            ClickAt(session, {below(300), below(200)});
            ClickAt(session, {below(300), below(200)});
        } else if (kind < 7) {
            session.SelectRow(1 + below(model.grid.RowCount() - 1));
            note();
            if (kind == 3) session.DeleteSelected();
            if (kind == 4) session.AddRow();
            if (kind > 4)
                session.EditSelection(kind == 5 ? SelectionEdit::Copy : SelectionEdit::Move,
                                      below(400), below(50), true);
        } else if (below(4) == 0) {
            session.Step([&] { InitFiguur(model, canvas, 200 + below(3) * 50, 200); });
        } else {
            const int last = model.grid.RowCount() - 1;
            session.BeginTypedCell();
            model.grid.SetCell(1 + below(4), last, std::to_string(below(300)));
            session.EndTypedCell();
        }
        note();
    }
    ASSERT_GT(states.size(), 60u);
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(session.Undo());
        EXPECT_TRUE(SameState(Snapshot(model), states[i - 1])) << i - 1;
    }
    EXPECT_FALSE(session.Undo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(session.Redo());
        EXPECT_TRUE(SameState(Snapshot(model), states[i])) << i;
    }
    // Whole grids would weigh what the states do; the changed rows are a fraction of that.
    std::size_t wholeGrids = 0;
    for (std::size_t i = 0; i + 1 < states.size(); ++i)
        wholeGrids += StateBytes(states[i]);
    EXPECT_LT(session.History().Bytes(), wholeGrids / 4);
}

}  // namespace
}  // namespace murvex::figure
