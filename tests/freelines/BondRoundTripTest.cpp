// Every bond's file, as the bond generator writes it, read back into the free line grid.
#include <gtest/gtest.h>

#include <cmath>

#include "BondGenerator.h"
#include "GridRows.h"
#include "HatchReader.h"
#include "LijnGrid.h"
#include "NumberText.h"

namespace murvex::freelines {
namespace {

using test::DataRows;

// The fields of a pattern line, split at every comma with the blanks around them removed.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        std::string field =
            line.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t first = field.find_first_not_of(' ');
        const std::size_t last = field.find_last_not_of(' ');
        fields.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
}

class BondRoundTrip : public ::testing::TestWithParam<std::tuple<int, double>> {};

TEST_P(BondRoundTrip, GivesTheSameCells) {
    bonds::BondInput input;
    input.bondIndex = std::get<0>(GetParam());
    input.length = 210;
    input.lengthJoint = 220;
    input.height = 50;
    input.heightJoint = 62.5;
    input.rotation = std::get<1>(GetParam());
    input.name = std::string(bonds::BondNames()[static_cast<std::size_t>(input.bondIndex)]);
    const LineList file = bonds::GenerateBond(input);
    ASSERT_GE(file.size(), 9u);

    TextGrid grid = MakeLijnGrid();
    PatternHeader texts{"", "", ""};
    const ReadResult result = ReadHatchLines(SplitLines(JoinCrLf(file)), grid, texts);
    EXPECT_FALSE(result.multiplePatterns);
    EXPECT_EQ(texts.units, "MM");
    EXPECT_EQ(texts.type, "MODEL");
    EXPECT_EQ(texts.name, input.name);

    const LineList patternLines(file.begin() + 4, file.end() - 1);
    const auto rows = DataRows(grid);
    ASSERT_EQ(rows.size(), patternLines.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(patternLines[i]);
        const std::vector<std::string> fields = Fields(patternLines[i]);
        ASSERT_EQ(fields.size(), 7u);
        EXPECT_EQ(rows[i], fields);
        // Written again from the grid, the line means the same pattern line.
        const auto before = ParsePatternLine(patternLines[i]);
        const auto after = ParsePatternLine(RowLine(grid, static_cast<int>(i) + 1));
        ASSERT_TRUE(before && after);
        EXPECT_EQ(before->angle, after->angle);
        EXPECT_EQ(before->x, after->x);
        EXPECT_EQ(before->y, after->y);
        EXPECT_EQ(before->shiftY, after->shiftY);
        EXPECT_EQ(before->dashes, after->dashes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllBonds, BondRoundTrip,
    ::testing::Combine(::testing::Range(0, bonds::kBondCount), ::testing::Values(0.0, 30.0)),
    [](const auto& info) {
        return std::string(bonds::BondNames()[static_cast<std::size_t>(std::get<0>(info.param))]) +
               (std::get<1>(info.param) == 0.0 ? "" : "Rotated");
    });

}  // namespace
}  // namespace murvex::freelines
