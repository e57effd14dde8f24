// Message boxes: styles, owners and the OK rule.
#include "Msg.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace murvex {
namespace {

TEST(Msg, WrappersUseTheirStylesAndReportOkOnly) {
    test::FakePlatform p;
    p.messageAnswers = {Answer::Ok,     Answer::Ok,     Answer::Ok,
                        Answer::Cancel, Answer::Cancel, Answer::Cancel};
    EXPECT_TRUE(ShowWarning(p, "w", "T1", 7));
    EXPECT_TRUE(ShowError(p, "e", "T2", 0));
    EXPECT_TRUE(AskQuestion(p, "q1", "T3", 1, 7));
    EXPECT_FALSE(AskQuestion(p, "q2", "T4", 2, 7));
    EXPECT_FALSE(AskQuestion(p, "q3", "T5", 1, -3));  // closed box
    EXPECT_FALSE(ShowError(p, "e2", "T6", 7));
    ASSERT_EQ(p.messages.size(), 6u);
    EXPECT_EQ(p.messages[0].style, style::kWarning);
    EXPECT_EQ(p.messages[1].style, style::kError);
    EXPECT_EQ(p.messages[2].style, style::kQuestion);
    EXPECT_EQ(p.messages[3].style, style::kQuestionCancelDefault);
    EXPECT_EQ(p.messages[3].text, "q2");
    EXPECT_EQ(p.messages[3].title, "T4");
    EXPECT_EQ(p.messages[0].owner, 7);
    EXPECT_EQ(p.messages[4].owner, 0);  // no owner for values of 0 or less
}

TEST(Msg, ShowMessageBoxReturnsTheAnswer) {
    test::FakePlatform p;
    p.messageAnswers = {Answer::No};
    EXPECT_EQ(ShowMessageBox(p, "t", "", style::kYesNoCancel, 5), Answer::No);
    EXPECT_EQ(p.messages.at(0).style, style::kYesNoCancel);
}

}  // namespace
}  // namespace murvex
