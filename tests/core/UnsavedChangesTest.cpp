// Changes since the last save, and the question before they are lost.
#include "UnsavedChanges.h"

#include <gtest/gtest.h>

#include <tuple>

#include "FakePlatform.h"
#include "Msg.h"

namespace murvex {
namespace {

TEST(UnsavedChanges, AskedOnlyWhenChangedAndTheAnswerDecidesWhetherTheCommandGoesOn) {
    // changed, answer, the save succeeds, the command goes on
    const std::tuple<bool, Answer, bool, bool> rows[] = {{false, Answer::Ok, true, true},
                                                         {true, Answer::Yes, true, true},
                                                         {true, Answer::Yes, false, false},
                                                         {true, Answer::No, false, true},
                                                         {true, Answer::Cancel, true, false}};
    for (const auto& [changed, answer, saved, goesOn] : rows) {
        SCOPED_TRACE(testing::Message() << changed << static_cast<int>(answer) << saved);
        test::FakePlatform p;
        p.messageAnswers = {answer};
        int saves = 0;
        const bool saveSucceeds = saved;  // clang 14 cannot capture a structured binding
        EXPECT_EQ(
            MayDropChanges(p, changed, "Vrij figuur", 7, [&] { return ++saves, saveSucceeds; }),
            goesOn);
        EXPECT_EQ(saves, answer == Answer::Yes ? 1 : 0);
        EXPECT_EQ(p.messages.size(), changed ? 1u : 0u);
        for (const test::MessageCall& m : p.messages) {
            EXPECT_EQ(m.title, "Murvex");
            EXPECT_EQ(m.style, style::kYesNoCancel);
        }
    }
}

TEST(UnsavedChanges, OnlyCellsCountAndGoingBackToTheSavedCellsIsNoChange) {
    TextGrid grid(3, 2);
    SavedMark mark;
    EXPECT_TRUE(mark.Changed(grid));
    mark.Set(grid);
    grid.SetCurrent(2, 1);
    grid.SetCell(1, 1, "5");
    EXPECT_TRUE(mark.Changed(grid));
    grid.SetCell(1, 1, "");
    EXPECT_FALSE(mark.Changed(grid));
}

}  // namespace
}  // namespace murvex
