// Files written by the free line editor, and bond lines written by hand, read back into the grid.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "GridRows.h"
#include "HatchReader.h"
#include "LijnGrid.h"

namespace murvex::freelines {
namespace {

using test::DataRows;
using test::GridWith;
using test::Row7;
using test::RowOf;
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
    const PatternHeader texts{"INCH", "DRAFTING", "Tegels", "wall tiles"};
    const RoundTrip back(GridWith(rows), texts);
    EXPECT_EQ(DataRows(back.grid), rows);
    EXPECT_EQ(back.texts.units, "INCH");
    EXPECT_EQ(back.texts.type, "DRAFTING");
    EXPECT_EQ(back.texts.name, "Tegels");
    EXPECT_EQ(back.texts.description, "wall tiles");
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

// Dash lists of 2 to 12 values, odd counts too: every value comes back through the grid, which
// has the columns the longest line needs and no more; a second read of a short pattern drops
// the dash columns of the first.
TEST(FreeLineRoundTrip, EveryDashValueIsKept) {
    std::mt19937 random(30);
    TextGrid grid = MakeLijnGrid();
    for (int round = 0; round < 200; ++round) {
        LineList file{";%UNITS=MM", ";", "*Streep, streep-punt lijnen", ";%TYPE=MODEL"};
        Rows expected;
        std::size_t longest = 7;
        for (unsigned l = 1 + random() % 4; l > 0; --l) {
            std::vector<std::string> row{std::to_string(random() % 180), "0", "0.5", "0", "4"};
            for (unsigned d = (round % 5 == 0) ? 0 : 2 + random() % 11; d > 0; --d)
                row.push_back(std::string(d % 2 ? "-" : "")
                                  .append(std::to_string(random() % 50))
                                  .append(".25"));
            std::string line = row[0];
            for (std::size_t i = 1; i < row.size(); ++i)
                line += (random() % 2 ? "," : ", ") + row[i];
            file.push_back(line);
            longest = std::max(longest, row.size());
            expected.push_back(row);
        }
        file.emplace_back(";");
        // The grid: seven columns, then whole pairs of dash columns.
        const std::size_t cells = longest + (longest - 7) % 2;
        for (auto& row : expected)
            row.resize(cells);
        SCOPED_TRACE(file[4]);

        PatternHeader texts;
        ReadHatchLines(file, grid, texts);
        ASSERT_EQ(DataRows(grid), expected);
        ASSERT_EQ(grid.ColCount(), static_cast<int>(cells) + 1);
        EXPECT_EQ(grid.Cell(grid.ColCount() - 1, 0),
                  cells == 7 ? "Pen Up" : "Pen Up " + std::to_string((cells - 5) / 2));
        EXPECT_EQ(texts.name, "Streep");
        EXPECT_EQ(texts.description, "streep-punt lijnen");

        const LineList written = BuildFreeLineHatch(grid, texts);
        EXPECT_EQ(written[2], "*Streep, streep-punt lijnen");
        TextGrid again = MakeLijnGrid();
        ReadHatchLines(written, again, texts);
        EXPECT_EQ(DataRows(again), expected);
    }
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
