// What the free line tab writes, saved under its pattern name, passes the check for CAD programs;
// a row left without an angle is the one thing it warns about.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GridRows.h"
#include "LijnGrid.h"
#include "PatternCheck.h"
#include "PatternFile.h"

namespace murvex::freelines {
namespace {

std::vector<std::string> Codes(const std::vector<PatternWarning>& warnings) {
    std::vector<std::string> out;
    for (const PatternWarning& w : warnings)
        out.push_back(std::string(CheckCodeName(w.code)) + "@" + std::to_string(w.line));
    return out;
}

TEST(FreeLineCheck, TheWrittenFileHasNoWarningUnderItsName) {
    const TextGrid grid = test::GridWith({
        {"45", "0", "0", "0", "3.175"},
        {"135", "0", "0", "0", "3.175", "6.35", "-3.175"},
        {"90", "1.5", "-2.25", "12.5", "25.4", "0", "-25.4"},
    });
    PatternHeader texts;
    EXPECT_EQ(
        Codes(CheckPatternText(JoinCrLf(BuildFreeLineHatch(grid, texts)), "naam arcering.pat")),
        std::vector<std::string>{});
    texts = {"INCH", "DRAFTING", "Visgraat"};
    EXPECT_EQ(Codes(CheckPatternText(JoinCrLf(BuildFreeLineHatch(grid, texts)), "visgraat.pat")),
              std::vector<std::string>{});
}

TEST(FreeLineCheck, ARowWithoutAnAngleIsAnEmptyPatternLine) {
    const TextGrid grid = test::GridWith({{"0", "0", "0", "0", "10"}, {"", "0", "0", "0", "10"}});
    EXPECT_EQ(Codes(CheckPatternText(JoinCrLf(BuildFreeLineHatch(grid, PatternHeader{})),
                                     "naam arcering.pat")),
              std::vector<std::string>{"empty-pattern-line@6"});
}

}  // namespace
}  // namespace murvex::freelines
