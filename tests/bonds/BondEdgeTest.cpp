// Odd inputs: equal and crossed lengths, zero and negative sizes, rotations, reading the edits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BondGenerator.h"
#include "NumberText.h"
#include "PatternFile.h"

namespace murvex::bonds {
namespace {

LineList Generate(int bond, double L, double Lv, double H, double Hv, double R = 0) {
    return GenerateBond({bond, L, Lv, H, Hv, R, "x"});
}

// The comma separated fields of a pattern line, blanks kept.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        out.push_back(line.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) return out;
        start = comma + 1;
    }
}

TEST(BondEdges, EqualLengthAndLengthPlusJointWriteZeroGaps) {
    for (int bond : {0, 1}) {
        const LineList file = Generate(bond, 210, 210, 50, 62.5);
        int horizontal = 0;
        for (std::size_t i = 4; i + 1 < file.size(); ++i) {
            SCOPED_TRACE(file[i]);
            const auto f = Fields(file[i]);
            ASSERT_EQ(f.size(), 7u);
            if (f[0] == "0.000") {
                EXPECT_EQ(f[6], " -0.000");
                ++horizontal;
            } else {
                EXPECT_EQ(f[6], bond == 0 ? " -75.000" : " -12.500");
            }
        }
        EXPECT_EQ(horizontal, bond == 0 ? 4 : 2);
    }
}

TEST(BondEdges, NegativeGapsKeepTheirOwnMinus) {
    // Lv < L: the head joint is negative and every horizontal gap reads "--".
    const LineList tegel = Generate(1, 220, 210, 50, 62.5);
    EXPECT_EQ(tegel[4], "0.000, 0, 0, 0, 62.500, 220.000, --10.000");
    EXPECT_EQ(tegel[7], "90.000, 220.000, 0.000, 0, 210.000, 50.000, -12.500");
    // Hv < H does the same to the vertical gaps.
    const LineList crossed = Generate(1, 210, 220, 62.5, 50);
    EXPECT_EQ(crossed[6], "90.000, 0, 0, 0, 220.000, 62.500, --12.500");
}

TEST(BondEdges, ZeroAndNegativeSizesStillGiveEveryLine) {
    const int counts[kBondCount] = {8, 4, 32, 32, 24, 8, 8, 8, 16, 340};
    const double sizes[][4] = {{0, 0, 0, 0}, {-210, -220, -50, -62.5}, {210, 0, 50, 0}};
    for (const auto& s : sizes) {
        for (int bond = 0; bond < kBondCount; ++bond) {
            std::string trace = std::to_string(bond);  // appended: GCC 12 -O3 -Wrestrict
            trace += ' ';
            trace += Fmt(s[0]);
            SCOPED_TRACE(trace);
            const LineList file = Generate(bond, s[0], s[1], s[2], s[3], 30);
            ASSERT_EQ(file.size(), static_cast<std::size_t>(counts[bond] + 5));
            for (const std::string& line : file) {
                EXPECT_EQ(line.find("nan"), std::string::npos) << line;
                EXPECT_EQ(line.find("inf"), std::string::npos) << line;
            }
        }
    }
    // All zero: every number is zero, the first line keeps its bare origin.
    EXPECT_EQ(Generate(1, 0, 0, 0, 0)[4], "0.000, 0, 0, 0, 0.000, 0.000, -0.000");
}

TEST(BondEdges, FirstCourseOfWildverbandStaysAtZeroForNegativeHeights) {
    const LineList file = Generate(9, 210, 220, -50, -62.5);
    EXPECT_EQ(file[8], "0.000, 110.000, 0.000 , 0, -500.000, 210.000, -1660.000");
}

struct RotationRow {
    const char* name;
    double rotation;
    const char* first;   // pattern line 1 of Tegelverband
    const char* fourth;  // pattern line 4, origin (210, 0) turned
};

class BondRotation : public testing::TestWithParam<RotationRow> {};

// A mathematically zero coordinate may come out as 0.000 or -0.000; both mean the same.
std::string WithoutSignedZero(std::string text) {
    for (std::size_t at = text.find("-0.000"); at != std::string::npos;
         at = text.find("-0.000", at)) {
        if (at > 0 && text[at - 1] != ' ') {
            at += 6;
            continue;
        }
        text.erase(at, 1);
    }
    return text;
}

TEST_P(BondRotation, AnglesAreNotReducedAndOriginsTurn) {
    const RotationRow& row = GetParam();
    const LineList file = Generate(1, 210, 220, 50, 62.5, row.rotation);
    EXPECT_EQ(file[4], row.first);
    EXPECT_EQ(WithoutSignedZero(file[7]), row.fourth);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BondRotation,
    testing::Values(RotationRow{"minus45", -45, "-45.000, 0, 0, 0, 62.500, 210.000, -10.000",
                                "45.000, 148.492, -148.492, 0, 220.000, 50.000, -12.500"},
                    RotationRow{"quarter", 90, "90.000, 0, 0, 0, 62.500, 210.000, -10.000",
                                "180.000, 0.000, 210.000, 0, 220.000, 50.000, -12.500"},
                    RotationRow{"full", 360, "360.000, 0, 0, 0, 62.500, 210.000, -10.000",
                                "450.000, 210.000, 0.000, 0, 220.000, 50.000, -12.500"},
                    RotationRow{"half", 180, "180.000, 0, 0, 0, 62.500, 210.000, -10.000",
                                "270.000, -210.000, 0.000, 0, 220.000, 50.000, -12.500"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BondEdges, ThreeDecimalRoundingBeforeTurningOnlyWhereItBelongs) {
    // A height of 50.0004999 is written 50.000. Halfsteensverband, Tegelverband and the first two
    // blocks of Kruisverband turn that written value, the other origins the value as computed
    // (43.302 against 43.301 after a turn of 30 degrees).
    const auto at = [](int bond, double height, std::size_t line) {
        return Generate(bond, 210, 220, height, 62.5, 30)[line + 3];
    };
    for (int bond = 0; bond < kBondCount; ++bond) {
        SCOPED_TRACE(BondNames()[bond]);
        const bool rounded = bond <= 2;
        EXPECT_EQ(at(bond, 50.0004999, 2) == at(bond, 50, 2), rounded);
    }
    // Kruisverband with a height of 50.0005001: block 2's top edge at y = 112.501 as written
    // turns to 179.929, block 3's top edge at y = 237.5005001 as computed to 288.181.
    EXPECT_EQ(at(2, 50.0005001, 6), "30.000, 86.644, 179.929, 0, 250.000, 210.000, -10.000");
    EXPECT_EQ(at(2, 50.0005001, 10), "30.000, 24.144, 288.181, 0, 250.000, 100.000, -1110.000");
    // Without a rotation nothing is rounded twice.
    EXPECT_EQ(Generate(1, 210, 220, 50.0004999, 62.5)[5],
              "0.000, 0.000, 50.000, 0, 62.500, 210.000, -10.000");
}

TEST(BondEdges, MinusZeroRotationIsNoRotation) {
    EXPECT_EQ(Generate(1, 210, 220, 50, 62.5, -0.0), Generate(1, 210, 220, 50, 62.5, 0));
}

TEST(BondEdges, NameLineTakesTheNameAsItStands) {
    EXPECT_EQ(GenerateBond({0, 210, 220, 50, 62.5, 0, ""})[2], "*");
    EXPECT_EQ(GenerateBond({0, 210, 220, 50, 62.5, 0, " a, b "})[2], "* a, b ");
}

TEST(BondEdges, NoSelectionAndOutOfRangeIndexGiveHalfsteensverband) {
    const LineList half = Generate(0, 210, 220, 50, 62.5);
    EXPECT_EQ(Generate(-1, 210, 220, 50, 62.5), half);
    EXPECT_EQ(Generate(10, 210, 220, 50, 62.5), half);
}

TEST(BondNames, IndexFromNameOrDigit) {
    EXPECT_EQ(BondIndexFromText("Wildverband"), 9);
    EXPECT_EQ(BondIndexFromText("kruisVERBAND"), 2);
    EXPECT_EQ(BondIndexFromText("0"), 0);
    EXPECT_EQ(BondIndexFromText("9"), 9);
    EXPECT_EQ(BondIndexFromText("10"), -2);
    EXPECT_EQ(BondIndexFromText("-1"), -2);
    EXPECT_EQ(BondIndexFromText(""), -2);
    EXPECT_EQ(BondIndexFromText("Wildverband "), -2);
    for (int i = 0; i < kBondCount; ++i)
        EXPECT_EQ(BondIndexFromText(BondNames()[i]), i);
}

struct ReadingRow {
    const char* name;
    BondTexts texts;
    char separator;
    bool valid;
    BondTexts normalised;
    double values[5];  // L, Lv, H, Hv, R
};

class BondReadingRows : public testing::TestWithParam<ReadingRow> {};

TEST_P(BondReadingRows, ReadsTheEditsLikeTheButton) {
    const ReadingRow& row = GetParam();
    const BondReading r = ReadBondTexts(3, row.texts, "naam", row.separator);
    EXPECT_EQ(r.valid, row.valid);
    EXPECT_EQ(r.normalised.length, row.normalised.length);
    EXPECT_EQ(r.normalised.lengthJoint, row.normalised.lengthJoint);
    EXPECT_EQ(r.normalised.height, row.normalised.height);
    EXPECT_EQ(r.normalised.heightJoint, row.normalised.heightJoint);
    EXPECT_EQ(r.normalised.rotation, row.texts.rotation);
    EXPECT_EQ(r.input.bondIndex, 3);
    EXPECT_EQ(r.input.name, "naam");
    if (row.valid) {
        EXPECT_EQ(r.input.length, row.values[0]);
        EXPECT_EQ(r.input.lengthJoint, row.values[1]);
        EXPECT_EQ(r.input.height, row.values[2]);
        EXPECT_EQ(r.input.heightJoint, row.values[3]);
    }
    EXPECT_EQ(r.input.rotation, row.values[4]);
}

INSTANTIATE_TEST_SUITE_P(Rows, BondReadingRows,
                         testing::Values(ReadingRow{"defaults",
                                                    {"210", "220", "50", "62.5", "0"},
                                                    '.',
                                                    true,
                                                    {"210", "220", "50", "62.5", ""},
                                                    {210, 220, 50, 62.5, 0}},
                                         ReadingRow{"commaOnPointSystem",
                                                    {"210", "220", "50", "62,5", "22,5"},
                                                    '.',
                                                    true,
                                                    {"210", "220", "50", "62.5", ""},
                                                    {210, 220, 50, 62.5, 22.5}},
                                         ReadingRow{"pointOnCommaSystem",
                                                    {"210", "220", "50", "62.5", "30"},
                                                    ',',
                                                    true,
                                                    {"210", "220", "50", "62,5", ""},
                                                    {210, 220, 50, 62.5, 30}},
                                         ReadingRow{"lettersInRotation",
                                                    {"210", "220", "50", "62.5", "abc"},
                                                    '.',
                                                    true,
                                                    {"210", "220", "50", "62.5", ""},
                                                    {210, 220, 50, 62.5, 0}},
                                         ReadingRow{"emptyRotation",
                                                    {"210", "220", "50", "62.5", ""},
                                                    '.',
                                                    true,
                                                    {"210", "220", "50", "62.5", ""},
                                                    {210, 220, 50, 62.5, 0}},
                                         ReadingRow{"lettersInOneDimension",
                                                    {"abc", "220,0", "50", "62,5", "-45"},
                                                    '.',
                                                    false,
                                                    {"abc", "220.0", "50", "62.5", ""},
                                                    {0, 0, 0, 0, -45}},
                                         ReadingRow{"emptyDimension",
                                                    {"210", "220", "", "62.5", "360"},
                                                    '.',
                                                    false,
                                                    {"210", "220", "", "62.5", ""},
                                                    {0, 0, 0, 0, 360}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace murvex::bonds
