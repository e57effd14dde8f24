// Files written by the free line editor, and bond lines written by hand, read back into the grid.
#include <gtest/gtest.h>

#include "GridRows.h"
#include "HatchReader.h"
#include "LijnGrid.h"

namespace murvex::freelines {
namespace {

using test::DataRows;
using test::GridWith;
using test::Row7;
using test::Rows;

// Writes grid and texts as "Maak Hatch" does, and reads the bytes back into a fresh grid.
struct RoundTrip {
    TextGrid grid = MakeLijnGrid();
    PatternHeader texts{"", "", ""};
    ReadResult result;

    RoundTrip(const TextGrid& written, const PatternHeader& writtenTexts) {
        const std::string bytes = JoinCrLf(BuildFreeLineHatch(written, writtenTexts));
        result = ReadHatchLines(SplitLines(bytes), grid, texts);
    }
};

TEST(FreeLineRoundTrip, GivesBackTheSameCellsAndTexts) {
    const Rows rows{Row7({"0", "0", "0", "0", "6.35", "6.35", "-6.35"}),
                    Row7({"90", "1.5", "-2", "0", "6.35", "3", "-3"}),
                    Row7({"45", "0", "0", "0", "3.175"})};
    const PatternHeader texts{"INCH", "DRAFTING", "Tegels, wall tiles"};
    const RoundTrip back(GridWith(rows), texts);
    EXPECT_EQ(DataRows(back.grid), rows);
    EXPECT_EQ(back.texts.units, "INCH");
    EXPECT_EQ(back.texts.type, "DRAFTING");
    EXPECT_EQ(back.texts.name, "Tegels, wall tiles");
    EXPECT_FALSE(back.result.multiplePatterns);
}

TEST(FreeLineRoundTrip, BlanksAroundCellsAreTrimmed) {
    const RoundTrip back(GridWith({Row7({" 30 ", "\t1", "2  "})}), PatternHeader{});
    EXPECT_EQ(DataRows(back.grid), Rows{Row7({"30", "1", "2"})});
}

// What the writer does not keep: empty cells close up, and a row without "Hoek" is an empty line,
// which the reader skips.
TEST(FreeLineRoundTrip, EmptyCellsCloseUpAndRowsWithoutHoekVanish) {
    const RoundTrip back(GridWith({Row7({"90", "", "5", "", "10"}), Row7({"", "7"}), Row7({"1"})}),
                         PatternHeader{});
    EXPECT_EQ(DataRows(back.grid), (Rows{Row7({"90", "5", "10"}), Row7({"1"})}));
}

TEST(FreeLineRoundTrip, TypedUnitsAndTypeOutsideTheItemsAreNotReadBack) {
    const RoundTrip back(GridWith({Row7({"1"})}), PatternHeader{"cm", "detail", "n"});
    EXPECT_EQ(back.texts.units, "");
    EXPECT_EQ(back.texts.type, "");
    EXPECT_EQ(back.texts.name, "n");
}

// Lines as the bond generator writes them, spaced separators and a doubled minus sign included.
TEST(BondLinesRoundTrip, EveryFieldLandsInItsCell) {
    const LineList file{";%UNITS=MM",
                        ";",
                        "*Engelsverband",
                        ";%TYPE=MODEL",
                        "0.000, 0, 0 , 0, 125.000, 100.000, -670.000",
                        "0.000, 0.000, 50.000 , 0, 125.000, 100.000, -670.000",
                        "90.000, 0, 0, 0, 770.000, 50.000, -75.000",
                        "30.000, -25.000, 43.301, 0, 62.500, 210.000, -10.000",
                        "120.000, 181.865, 105.000, 0, 220.000, 50.000, --12.500",
                        ";"};
    TextGrid grid = MakeLijnGrid();
    PatternHeader texts;
    ReadHatchLines(file, grid, texts);
    const Rows expected{
        {"0.000", "0", "0", "0", "125.000", "100.000", "-670.000"},
        {"0.000", "0.000", "50.000", "0", "125.000", "100.000", "-670.000"},
        {"90.000", "0", "0", "0", "770.000", "50.000", "-75.000"},
        {"30.000", "-25.000", "43.301", "0", "62.500", "210.000", "-10.000"},
        {"120.000", "181.865", "105.000", "0", "220.000", "50.000", "--12.500"},
    };
    EXPECT_EQ(DataRows(grid), expected);
    EXPECT_EQ(texts.name, "Engelsverband");

    // Written again, the separators come out even and the cells stay the same.
    const LineList again = BuildFreeLineHatch(grid, texts);
    EXPECT_EQ(again[4], "0.000, 0, 0, 0, 125.000, 100.000, -670.000");
    TextGrid second = MakeLijnGrid();
    ReadHatchLines(again, second, texts);
    EXPECT_EQ(DataRows(second), expected);
}

}  // namespace
}  // namespace murvex::freelines
