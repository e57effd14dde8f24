// Undo and redo of grid states: every kind of change comes back exactly, redo, and the bound.
#include "GridHistory.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace murvex {
namespace {

TextGrid Filled(int rows) {
    TextGrid g(5, rows);
    for (int row = 1; row < rows; ++row) {
        for (int col = 1; col < 5; ++col)
            g.SetCell(col, row, std::to_string(col * 10 + row));
    }
    g.SetCurrent(2, 1);
    return g;
}

void ExpectSameGrid(const TextGrid& actual, const TextGrid& expected) {
    EXPECT_TRUE(SameCells(actual, expected));
    EXPECT_EQ(actual.CurrentCol(), expected.CurrentCol());
    EXPECT_EQ(actual.CurrentRow(), expected.CurrentRow());
}

struct Change {
    const char* name;
    std::function<void(TextGrid&)> apply;
};

const Change kChanges[] = {
    {"TypedCell", [](TextGrid& g) { g.SetCell(3, 2, "7.5"); }},
    {"EmptiedCell", [](TextGrid& g) { g.SetCell(1, 1, ""); }},
    {"RowAdded",
     [](TextGrid& g) {
         g.SetRowCount(g.RowCount() + 1);
         g.SetCurrent(1, g.RowCount() - 1);
     }},
    {"RowRemoved",
     [](TextGrid& g) {
         g.SetCell(2, 2, g.Cell(2, 3));
         g.SetRowCount(g.RowCount() - 1);
     }},
    {"WholeGridReplaced",  // an opened file or a new figure
     [](TextGrid& g) {
         g.SetRowCount(2);
         g.SetCell(1, 1, "45");
         g.SetCell(4, 1, "x");
         g.SetCurrent(4, 1);
     }},
};

TEST(GridHistory, UndoAndRedoRestoreEachKindOfChangeExactly) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        TextGrid grid = Filled(4);
        const TextGrid before = grid;
        change.apply(grid);
        const TextGrid after = grid;
        GridHistory history;
        ASSERT_TRUE(history.Record(before, grid));

        const unsigned long revision = grid.Revision();
        std::optional<TextGrid> back = history.Undo(grid);
        ASSERT_TRUE(back.has_value());
        RestoreGrid(grid, *back);
        ExpectSameGrid(grid, before);
        EXPECT_GT(grid.Revision(), revision);  // a view that watches the revision refreshes
        EXPECT_FALSE(history.CanUndo());

        std::optional<TextGrid> forward = history.Redo(grid);
        ASSERT_TRUE(forward.has_value());
        RestoreGrid(grid, *forward);
        ExpectSameGrid(grid, after);
        EXPECT_FALSE(history.CanRedo());
        EXPECT_TRUE(history.CanUndo());
    }
}

TEST(GridHistory, StepsBackThroughSeveralCommandsInOrder) {
    TextGrid grid = Filled(3);
    GridHistory history;
    std::vector<TextGrid> states = {grid};
    for (const Change& change : kChanges) {
        const TextGrid before = grid;
        change.apply(grid);
        history.Record(before, grid);
        states.push_back(grid);
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        RestoreGrid(grid, *history.Undo(grid));
        ExpectSameGrid(grid, states[i - 1]);
    }
    EXPECT_FALSE(history.Undo(grid).has_value());
    RestoreGrid(grid, *history.Redo(grid));
    RestoreGrid(grid, *history.Redo(grid));
    ExpectSameGrid(grid, states[2]);
}

TEST(GridHistory, ACommandThatChangesNoTextIsNoStep) {
    TextGrid grid = Filled(3);
    TextGrid moved = grid;
    moved.SetCurrent(4, 2);
    moved.SetCell(1, 1, grid.Cell(1, 1));  // written again, the same text
    GridHistory history;
    EXPECT_FALSE(history.Record(grid, moved));
    EXPECT_FALSE(history.CanUndo());
}

TEST(GridHistory, ANewCommandClearsRedo) {
    TextGrid grid = Filled(3);
    GridHistory history;
    TextGrid before = grid;
    grid.SetCell(1, 1, "a");
    history.Record(before, grid);
    RestoreGrid(grid, *history.Undo(grid));
    ASSERT_TRUE(history.CanRedo());
    before = grid;
    grid.SetCell(2, 2, "b");
    history.Record(before, grid);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Redo(grid).has_value());
    EXPECT_EQ(history.UndoCount(), 1u);
}

TEST(GridHistory, TheBoundDropsTheOldestSteps) {
    struct Bound {
        const char* name;
        std::size_t maxSteps;
        std::size_t byteBudget;
        std::size_t kept;
    };
    const TextGrid sample = Filled(3);
    const std::size_t each = GridBytes(sample);
    const Bound bounds[] = {
        {"Steps", 3, GridHistory::kDefaultByteBudget, 3},
        {"Bytes", 100, 2 * each + each / 2, 2},
        {"StateLargerThanTheBudget", 100, each / 2, 0},
    };
    for (const Bound& b : bounds) {
        SCOPED_TRACE(b.name);
        GridHistory history(b.maxSteps, b.byteBudget);
        TextGrid grid = Filled(3);
        for (int i = 1; i <= 5; ++i) {
            const TextGrid before = grid;
            grid.SetCell(1, 1, std::to_string(i));  // same size, so each step weighs the same
            history.Record(before, grid);
        }
        EXPECT_EQ(history.UndoCount(), b.kept);
        EXPECT_LE(history.Bytes(), b.byteBudget);
        // The newest steps stay: undo walks back to the text of step 5 - kept.
        for (std::size_t i = 0; i < b.kept; ++i)
            RestoreGrid(grid, *history.Undo(grid));
        EXPECT_EQ(grid.Cell(1, 1), std::to_string(5 - b.kept)) << "oldest kept state";
        EXPECT_FALSE(history.CanUndo());
    }
}

TEST(GridHistory, UndoAndRedoTogetherStayWithinTheStepBound) {
    GridHistory history(2);
    TextGrid grid = Filled(3);
    for (int i = 1; i <= 2; ++i) {
        const TextGrid before = grid;
        grid.SetCell(1, 1, std::to_string(i));
        history.Record(before, grid);
    }
    RestoreGrid(grid, *history.Undo(grid));
    EXPECT_EQ(history.UndoCount() + history.RedoCount(), 2u);
    RestoreGrid(grid, *history.Redo(grid));
    EXPECT_EQ(grid.Cell(1, 1), "2");
    EXPECT_EQ(history.UndoCount(), 2u);
}

// A state that is no grid: a number whose note does not count as a change, with its own weight.
struct Noted {
    int value;
    std::string note;
    std::size_t weight = 10;
};
bool SameState(const Noted& a, const Noted& b) {
    return a.value == b.value;
}
std::size_t StateBytes(const Noted& s) {
    return s.weight;
}

TEST(StateHistory, AnyStateStepsByItsOwnSamenessAndWeighsItsOwnBytes) {
    StateHistory<Noted> history(100, 25);
    EXPECT_FALSE(history.Record({1, "a"}, {1, "b"}));
    ASSERT_TRUE(history.Record({1, "a"}, {2, "b"}));
    ASSERT_TRUE(history.Record({2, "b"}, {3, "c"}));
    EXPECT_EQ(history.Bytes(), 20u);
    // The current state weighs in on the redo side: 30 bytes pass the budget, the oldest goes.
    const std::optional<Noted> back = history.Undo({3, "c", 20});
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->value, 2);
    EXPECT_EQ(back->note, "b");  // kept whole, not only what counts
    EXPECT_EQ(history.UndoCount(), 0u);
    EXPECT_EQ(history.Bytes(), 20u);
    EXPECT_EQ(history.Redo(*back)->value, 3);
}

}  // namespace
}  // namespace murvex
