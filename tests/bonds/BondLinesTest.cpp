// Every listed line of the ten bonds, spelled out, against the generator and the golden files.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "BondGenerator.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "TempDir.h"

namespace murvex::bonds {
namespace {

BondInput Defaults(int bond, double rotation = 0) {
    return {bond, 210, 220, 50, 62.5, rotation, std::string(BondNames()[bond])};
}

std::string GoldenPath(int bond) {
    return std::string(MURVEX_GOLDEN_DIR) + "/" + std::string(BondNames()[bond]) + ".pat";
}

struct ListedLine {
    int bond;
    double rotation;
    int number;  // 1-based among the pattern lines
    const char* text;
};

constexpr int kHalf = 0, kTegel = 1, kKruis = 2, kEngels = 3, kKetting = 4, kKoppen = 5,
              kKlezoor = 6, kStaand = 7, kVlaams = 8, kWild = 9;

const std::vector<ListedLine>& Listed() {
    static const std::vector<ListedLine> rows = {
        {kHalf, 0, 1, "0.000, 0, 0, 0, 125.000, 210.000, -10.000"},
        {kHalf, 0, 2, "0.000, 0.000, 50.000, 0, 125.000, 210.000, -10.000"},
        {kHalf, 0, 3, "0.000, 110.000, 62.500, 0, 125.000, 210.000, -10.000"},
        {kHalf, 0, 4, "0.000, 110.000, 112.500, 0, 125.000, 210.000, -10.000"},
        {kHalf, 0, 5, "90.000, 0, 0, 0, 220.000, 50.000, -75.000"},
        {kHalf, 0, 6, "90.000, 210.000, 0.000, 0, 220.000, 50.000, -75.000"},
        {kHalf, 0, 7, "90.000, 110.000, 62.500, 0, 220.000, 50.000, -75.000"},
        {kHalf, 0, 8, "90.000, 320.000, 62.500, 0, 220.000, 50.000, -75.000"},

        {kTegel, 0, 1, "0.000, 0, 0, 0, 62.500, 210.000, -10.000"},
        {kTegel, 0, 2, "0.000, 0.000, 50.000, 0, 62.500, 210.000, -10.000"},
        {kTegel, 0, 3, "90.000, 0, 0, 0, 220.000, 50.000, -12.500"},
        {kTegel, 0, 4, "90.000, 210.000, 0.000, 0, 220.000, 50.000, -12.500"},
        {kTegel, 30, 1, "30.000, 0, 0, 0, 62.500, 210.000, -10.000"},
        {kTegel, 30, 2, "30.000, -25.000, 43.301, 0, 62.500, 210.000, -10.000"},
        {kTegel, 30, 3, "120.000, 0, 0, 0, 220.000, 50.000, -12.500"},
        {kTegel, 30, 4, "120.000, 181.865, 105.000, 0, 220.000, 50.000, -12.500"},

        {kKruis, 0, 1, "0.000, 0, 0, 0, 125.000, 100.000, -10.000"},
        {kKruis, 0, 2, "0.000, 0.000, 50.000, 0, 125.000, 100.000, -10.000"},
        {kKruis, 0, 3, "90.000, 0, 0, 0, 110.000, 50.000, -75.000"},
        {kKruis, 0, 4, "90.000, 100.000, 0.000, 0, 110.000, 50.000, -75.000"},
        {kKruis, 0, 5, "0.000, 165.000, 62.500, 0, 250.000, 210.000, -10.000"},
        {kKruis, 0, 6, "0.000, 165.000, 112.500, 0, 250.000, 210.000, -10.000"},
        {kKruis, 0, 7, "90.000, 165.000, 62.500, 0, 220.000, 50.000, -200.000"},
        {kKruis, 0, 8, "90.000, 375.000, 62.500, 0, 220.000, 50.000, -200.000"},
        {kKruis, 0, 9, "0.000, 165.000, 187.500, 0, 250.000, 100.000, -1110.000"},
        {kKruis, 0, 10, "0.000, 165.000, 237.500, 0, 250.000, 100.000, -1110.000"},
        {kKruis, 0, 11, "90.000, 165.000, 187.500, 0, 1210.000, 50.000, -200.000"},
        {kKruis, 0, 12, "90.000, 265.000, 187.500, 0, 1210.000, 50.000, -200.000"},
        {kKruis, 0, 32, "90.000, 1365.000, 187.500, 0, 1210.000, 50.000, -200.000"},

        {kEngels, 0, 1, "0.000, 0, 0 , 0, 125.000, 100.000, -670.000"},
        {kEngels, 0, 2, "0.000, 0.000, 50.000 , 0, 125.000, 100.000, -670.000"},
        {kEngels, 0, 3, "90.000, 0, 0, 0, 770.000, 50.000, -75.000"},
        {kEngels, 0, 17, "0.000, 385.000, 62.500, 0, 125.000, 100.000, -670.000"},
        {kEngels, 0, 21, "0.000, 495.000, 62.500, 0, 125.000, 210.000, -560.000"},
        {kEngels, 0, 22, "0.000, 495.000, 112.500 , 0, 125.000, 210.000, -560.000"},

        {kKoppen, 0, 1, "0.000, 0, 0 , 0, 125.000, 100.000, -10.000"},
        {kKoppen, 0, 2, "0.000, 0.000, 50.000 , 0, 125.000, 100.000, -10.000"},
        {kKoppen, 0, 3, "90.000, 0, 0, 0, 110.000, 50.000, -75.000"},
        {kKoppen, 0, 4, "90.000, 100.000, 0.000, 0, 110.000, 50.000, -75.000"},
        {kKoppen, 0, 5, "0.000, 61.667, 62.500, 0, 125.000, 100.000, -10.000"},
        {kKoppen, 0, 6, "0.000, 61.667, 112.500 , 0, 125.000, 100.000, -10.000"},
        {kKoppen, 0, 7, "90.000, 61.667, 62.500, 0, 110.000, 50.000, -75.000"},
        {kKoppen, 0, 8, "90.000, 161.667, 62.500, 0, 110.000, 50.000, -75.000"},

        {kKlezoor, 0, 5, "0.000, 51.667, 62.500, 0, 125.000, 210.000, -10.000"},
        {kKlezoor, 0, 8, "90.000, 261.667, 62.500, 0, 220.000, 50.000, -75.000"},

        {kKetting, 0, 13, "0.000, 281.667, 62.500, 0, 125.000, 100.000, -450.000"},
        {kKetting, 0, 18, "0.000, 391.667, 112.500 , 0, 125.000, 210.000, -340.000"},
        {kKetting, 0, 24, "90.000, 821.667, 62.500, 0, 550.000, 50.000, -75.000"},

        {kVlaams, 0, 9, "0.000, 155.000, 62.500 , 0, 125.000, 100.000, -230.000"},
        {kVlaams, 0, 13, "0.000, 265.000, 62.500, 0, 125.000, 210.000, -120.000"},
        {kVlaams, 0, 16, "90.000, 475.000, 62.500, 0, 330.000, 50.000, -75.000"},

        {kWild, 0, 1, "0.000, 0, 0 , 0, 500.000, 100.000, -1770.000"},
        {kWild, 0, 2, "0.000, 0.000, 50.000 , 0, 500.000, 100.000, -1770.000"},
        {kWild, 0, 3, "90.000, 0, 0, 0, 1870.000, 50.000, -450.000"},
        {kWild, 0, 4, "90.000, 100.000, 0.000, 0, 1870.000, 50.000, -450.000"},
        {kWild, 0, 5, "0.000, 110.000, 0.000 , 0, 500.000, 210.000, -1660.000"},
        {kWild, 0, 6, "0.000, 110.000, 50.000 , 0, 500.000, 210.000, -1660.000"},
        {kWild, 0, 7, "90.000, 110.000, 0.000, 0, 1870.000, 50.000, -450.000"},
        {kWild, 0, 8, "90.000, 320.000, 0.000, 0, 1870.000, 50.000, -450.000"},
        {kWild, 0, 41, "0.000, 1705.000, 0.000 , 0, 500.000, 155.000, -1715.000"},
        {kWild, 0, 45, "0.000, 51.667, 62.500, 0, 500.000, 155.000, -1715.000"},
        {kWild, 0, 89, "0.000, 165.000, 125.000, 0, 500.000, 155.000, -1715.000"},
        {kWild, 0, 340, "90.000, 2025.000, 437.500, 0, 1870.000, 50.000, -450.000"},
        {kWild, 30, 1, "30.000, 0, 0 , 0, 500.000, 100.000, -1770.000"},
        {kWild, 30, 2, "30.000, -25.000, 43.301 , 0, 500.000, 100.000, -1770.000"},
        {kWild, 30, 4, "120.000, 86.603, 50.000, 0, 1870.000, 50.000, -450.000"},
        {kWild, 30, 45, "30.000, 13.495, 79.960, 0, 500.000, 155.000, -1715.000"},
    };
    return rows;
}

TEST(BondLines, EveryListedLineAtTheDefaults) {
    for (const ListedLine& row : Listed()) {
        SCOPED_TRACE(std::string(BondNames()[row.bond]) + " rotation " +
                     std::to_string(static_cast<int>(row.rotation)) + " line " +
                     std::to_string(row.number));
        const LineList file = GenerateBond(Defaults(row.bond, row.rotation));
        ASSERT_LT(static_cast<std::size_t>(row.number + 3), file.size());
        EXPECT_EQ(file[static_cast<std::size_t>(row.number + 3)], row.text);
    }
}

TEST(BondLines, EveryListedLineOfRotationZeroIsInTheGoldenFile) {
    for (const ListedLine& row : Listed()) {
        if (row.rotation != 0) continue;
        SCOPED_TRACE(GoldenPath(row.bond) + " line " + std::to_string(row.number));
        const LineList golden = SplitLines(test::ReadText(GoldenPath(row.bond)));
        ASSERT_LT(static_cast<std::size_t>(row.number + 3), golden.size());
        EXPECT_EQ(golden[static_cast<std::size_t>(row.number + 3)], row.text);
    }
}

TEST(BondLines, HalfsteensverbandWholeFile) {
    const LineList file = GenerateBond(Defaults(kHalf));
    ASSERT_EQ(file.size(), 13u);
    EXPECT_EQ(file[0], ";%UNITS=MM");
    EXPECT_EQ(file[1], ";");
    EXPECT_EQ(file[2], "*Halfsteensverband");
    EXPECT_EQ(file[3], ";%TYPE=MODEL");
    EXPECT_EQ(file[12], ";");
}

TEST(BondLines, StaandverbandIsKoppenverbandThenKlezoorverband) {
    const LineList staand = GenerateBond(Defaults(kStaand));
    const LineList koppen = GenerateBond(Defaults(kKoppen));
    const LineList klezoor = GenerateBond(Defaults(kKlezoor));
    ASSERT_EQ(staand.size(), 13u);
    for (std::size_t i = 4; i < 8; ++i)
        EXPECT_EQ(staand[i], koppen[i]) << i;
    for (std::size_t i = 8; i < 12; ++i)
        EXPECT_EQ(staand[i], klezoor[i]) << i;
}

TEST(BondLines, SpacedSeparatorsOfWildverbandEndWithTheFirstCourse) {
    const LineList file = GenerateBond(Defaults(kWild));
    ASSERT_EQ(file.size(), 345u);
    for (int n = 1; n <= 340; ++n) {
        const std::string& line = file[static_cast<std::size_t>(n + 3)];
        const bool horizontal = line.starts_with("0.000,");
        const bool spaced =
            line.find(" , 0,") != std::string::npos || line.find("0, 0 , 0,") != std::string::npos;
        EXPECT_EQ(spaced, horizontal && n <= 44) << "line " << n << ": " << line;
    }
}

TEST(BondLines, WildverbandBrickPositionsAtTheDefaults) {
    const std::vector<std::vector<const char*>> courses = {
        {"0.000", "110.000", "330.000", "495.000", "660.000", "770.000", "990.000", "1210.000",
         "1375.000", "1485.000", "1705.000"},
        {"51.667", "216.667", "436.667", "546.667", "711.667", "876.667", "1096.667", "1316.667",
         "1536.667", "1646.667", "1756.667"},
        {"165.000", "330.000", "495.000", "605.000", "825.000", "935.000", "1155.000", "1265.000",
         "1430.000", "1595.000", "1815.000"},
        {"220.000", "385.000", "550.000", "770.000", "990.000", "1100.000", "1320.000", "1485.000",
         "1705.000", "1870.000"},
        {"110.000", "275.000", "495.000", "660.000", "880.000", "1045.000", "1210.000", "1430.000",
         "1650.000", "1760.000"},
        {"61.667", "171.667", "391.667", "556.667", "776.667", "941.667", "1161.667", "1271.667",
         "1491.667", "1711.667"},
        {"110.000", "275.000", "495.000", "605.000", "825.000", "990.000", "1100.000", "1320.000",
         "1540.000", "1650.000", "1815.000"},
        {"165.000", "385.000", "550.000", "715.000", "935.000", "1155.000", "1265.000", "1430.000",
         "1595.000", "1760.000", "1925.000"},
    };
    const std::vector<BrickBlock> bricks = BondBricks(Defaults(kWild));
    ASSERT_EQ(bricks.size(), 85u);
    std::size_t i = 0;
    for (std::size_t c = 0; c < courses.size(); ++c) {
        for (const char* x : courses[c]) {
            SCOPED_TRACE("course " + std::to_string(c + 1) + " brick " + std::to_string(i));
            ASSERT_LT(i, bricks.size());
            EXPECT_EQ(Fmt(bricks[i].x), x);
            EXPECT_EQ(bricks[i].y, 62.5 * static_cast<double>(c));
            EXPECT_EQ(bricks[i].periodX, 1870);
            EXPECT_EQ(bricks[i].periodY, 500);
            ++i;
        }
    }
}

TEST(BondLines, LineCountsAreFixedPerBond) {
    const int counts[kBondCount] = {8, 4, 32, 32, 24, 8, 8, 8, 16, 340};
    for (int bond = 0; bond < kBondCount; ++bond) {
        EXPECT_EQ(GenerateBond(Defaults(bond)).size(), static_cast<std::size_t>(counts[bond] + 5))
            << BondNames()[bond];
    }
}

TEST(BondLines, GoldenFilesHoldExactlyTheGeneratedBytes) {
    for (int bond = 0; bond < kBondCount; ++bond) {
        SCOPED_TRACE(GoldenPath(bond));
        const std::string golden = test::ReadText(GoldenPath(bond));
        ASSERT_FALSE(golden.empty());
        EXPECT_EQ(golden, JoinCrLf(GenerateBond(Defaults(bond))));
        // CR LF after every line, no lone line ends.
        std::size_t crlf = 0;
        for (std::size_t at = golden.find("\r\n"); at != std::string::npos;
             at = golden.find("\r\n", at + 2)) {
            ++crlf;
        }
        EXPECT_EQ(crlf, static_cast<std::size_t>(std::count(golden.begin(), golden.end(), '\n')));
        EXPECT_EQ(crlf, static_cast<std::size_t>(std::count(golden.begin(), golden.end(), '\r')));
    }
}

}  // namespace
}  // namespace murvex::bonds
