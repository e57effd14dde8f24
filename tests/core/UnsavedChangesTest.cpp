// Changes since the last save, and the question before they are lost.
#include "UnsavedChanges.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace murvex {
namespace {

TEST(UnsavedChanges, TheAnswerDecidesWhetherTheCommandGoesOn) {
    struct Row {
        const char* name;
        bool changed;
        int answer;
        bool saves;
        bool goesOn;
        int saveCalls;
    };
    const Row rows[] = {
        {"unchanged: no question", false, 0, true, true, 0},
        {"Ja, saved", true, mb::kIdYes, true, true, 1},
        {"Ja, save cancelled or failed", true, mb::kIdYes, false, false, 1},
        {"Nee", true, mb::kIdNo, true, true, 0},
        {"Annuleren or the box closed", true, mb::kIdCancel, true, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        test::FakePlatform p;
        p.messageAnswers = {r.answer};
        int saves = 0;
        const auto save = [&] { return ++saves, r.saves; };
        EXPECT_EQ(MayDropChanges(p, r.changed, "Vrij figuur", 7, save), r.goesOn);
        EXPECT_EQ(saves, r.saveCalls);
        ASSERT_EQ(p.messages.size(), r.changed ? 1u : 0u);
        if (!r.changed) continue;
        EXPECT_EQ(p.messages[0].text, "Wijzigingen in Vrij figuur opslaan?");
        EXPECT_EQ(p.messages[0].title, "Murvex");
        EXPECT_EQ(p.messages[0].style, mb::kYesNoCancel | mb::kIconQuestion);
        EXPECT_EQ(p.messages[0].owner, 7);
    }
}

TEST(UnsavedChanges, OnlyCellsCountAndGoingBackToTheSavedCellsIsNoChange) {
    TextGrid grid(3, 2);
    SavedMark mark;
    EXPECT_TRUE(mark.Changed(grid));
    mark.Set(grid);
    grid.SetCurrent(2, 1);
    EXPECT_FALSE(mark.Changed(grid));
    grid.SetCell(1, 1, "5");
    EXPECT_TRUE(mark.Changed(grid));
    grid.SetCell(1, 1, "");
    EXPECT_FALSE(mark.Changed(grid));
    grid.SetRowCount(3);
    EXPECT_TRUE(mark.Changed(grid));
}

}  // namespace
}  // namespace murvex
