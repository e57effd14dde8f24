// The brick's width: which bricks of each bond take it, and that (L - J) / 2 or none changes no
// byte.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "BondGenerator.h"
#include "BrickFormats.h"
#include "NumberText.h"

namespace murvex::bonds {
namespace {

// The widths of the bricks a bond lays, rounded to thousandths.
std::set<std::string> BrickWidths(const BondInput& in) {
    std::set<std::string> widths;
    for (const BrickBlock& b : BondBricks(in))
        widths.insert(Fmt(b.width));
    return widths;
}

struct WidthRow {
    int bond;
    // The bricks it lays: L stretchers, K headers (which take the width), D three-quarter bricks
    // (which keep the length's).
    std::string_view bricks;
};

class BrickWidthRows : public testing::TestWithParam<WidthRow> {};

// Hilversums formaat: 225 long, 90 wide, where (L - J) / 2 would be 107.5.
TEST_P(BrickWidthRows, HeadersTakeTheWidthAndNothingElseDoes) {
    const WidthRow& row = GetParam();
    const BondInput plain{row.bond, 225, 235, 42, 54.5, 0, "n"};
    BondInput own = plain;
    own.width = 90;
    std::set<std::string> expected;
    for (const char kind : row.bricks)
        expected.insert(Fmt(kind == 'L' ? 225 : kind == 'K' ? 90 : 225 - 235.0 / 4));
    const bool headers = row.bricks.find('K') != std::string_view::npos;
    EXPECT_EQ(BrickWidths(own), expected);
    EXPECT_EQ(BrickWidths(plain).count("107.500"), headers ? 1u : 0u);
    if (!headers) {
        EXPECT_EQ(GenerateBond(own), GenerateBond(plain));
    }
}

INSTANTIATE_TEST_SUITE_P(Bonds, BrickWidthRows,
                         testing::Values(WidthRow{0, "L"}, WidthRow{1, "L"}, WidthRow{2, "LK"},
                                         WidthRow{3, "LK"}, WidthRow{4, "LK"}, WidthRow{5, "K"},
                                         WidthRow{6, "L"}, WidthRow{7, "LK"}, WidthRow{8, "LK"},
                                         WidthRow{9, "LKD"}),
                         [](const auto& info) {
                             return std::string(BondNames()[info.param.bond]);
                         });

// An empty width and one typed as (L - J) / 2 write today's bytes, at every format, bond and a
// turned wall; Waalformaat's own width (100) is (210 - 10) / 2.
TEST(BrickWidth, HalfTheLengthLessAJointIsNoChange) {
    for (const BrickFormat& f : BrickFormats()) {
        const FormatTexts t = TextsOfFormat(f);
        const std::string half = Fmt(f.length / 2 - kHeadJoint / 2);
        for (int bond = 0; bond < kBondCount; ++bond) {
            SCOPED_TRACE(std::string(f.name) + " " + std::string(BondNames()[bond]));
            const auto lines = [&](const std::string& width) {
                const BondReading r = ReadBondTexts(
                    bond, {t.length, t.lengthJoint, t.height, t.heightJoint, "30", width}, "n",
                    '.');
                EXPECT_TRUE(r.valid);
                return GenerateBond(r.input);
            };
            const LineList today = lines("");
            EXPECT_EQ(lines(half), today);
            EXPECT_EQ(lines(" "), today);
            if (f.name == "Waalformaat") {
                EXPECT_EQ(lines(t.width), today);
            }
        }
    }
}

TEST(BrickWidth, AWidthIsReadLikeTheDimensions) {
    EXPECT_FALSE(ReadBondTexts(2, {"210", "220", "50", "62.5", "0", "9o"}, "n", '.').valid);
    EXPECT_EQ(ReadBondTexts(2, {"210", "220", "50", "62.5", "0", "92,5"}, "n", '.').input.width,
              92.5);
}

}  // namespace
}  // namespace murvex::bonds
