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
        {"90", "1.5", "-2.25", "12.7", "25.4", "0", "-25.4"},  // half a period: FreeCAD too
    });
    for (const PatternHeader& texts :
         {PatternHeader{}, PatternHeader{"INCH", "DRAFTING", "Visgraat"}}) {
        SCOPED_TRACE(texts.name);
        const std::string file = texts.name + ".pat";
        EXPECT_EQ(Codes(CheckPatternText(JoinCrLf(BuildFreeLineHatch(grid, texts)), file)),
                  std::vector<std::string>{"no-description@3"});
        EXPECT_EQ(Codes(CheckPatternText(
                      JoinCrLf(BuildFreeLineHatch(grid, texts, PatternStyle::Compatible)), file)),
                  std::vector<std::string>{});
    }
}

TEST(FreeLineCheck, ARowWithoutAnAngleIsAnEmptyPatternLineOrACompatibleComment) {
    const TextGrid grid = test::GridWith({{"0", "0", "0", "0", "10"}, {"", "0", "0", "0", "10"}});
    EXPECT_EQ(Codes(CheckPatternText(JoinCrLf(BuildFreeLineHatch(grid, PatternHeader{})),
                                     "naam arcering.pat")),
              (std::vector<std::string>{"no-description@3", "empty-pattern-line@6"}));
    const LineList compatible = BuildFreeLineHatch(grid, PatternHeader{}, PatternStyle::Compatible);
    EXPECT_EQ(compatible[5], "; Rij zonder hoek: 2");
    EXPECT_EQ(Codes(CheckPatternText(JoinCrLf(compatible), "naam arcering.pat")),
              std::vector<std::string>{});
}

}  // namespace
}  // namespace murvex::freelines
