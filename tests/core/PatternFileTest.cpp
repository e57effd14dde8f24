// Pattern line text, line splitting, atomic writing and the Windows-1252 boundary.
#include "PatternFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Cp1252.h"
#include "TempDir.h"

namespace murvex {
namespace {

TEST(PatternFile, JoinsWithCrLfAfterEveryLine) {
    EXPECT_EQ(JoinCrLf({";%UNITS=MM", "", ";"}), ";%UNITS=MM\r\n\r\n;\r\n");
    EXPECT_EQ(JoinCrLf({}), "");
}

TEST(PatternFile, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (LineList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (LineList{"a", ""}));
    EXPECT_EQ(SplitLines("\n\n"), (LineList{"", ""}));
    EXPECT_EQ(SplitLines(""), LineList{});
    EXPECT_EQ(SplitLines(std::string("a\nb\0c\nd", 7)), (LineList{"a", "b"}));
    EXPECT_EQ(SplitLines("a\r"), (LineList{"a"}));
}

TEST(PatternFile, ParsesPatternLines) {
    auto p = ParsePatternLine("90.000, 210.000 , 0.000, 0, 220.000, 50.000, -75.000");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->angle, 90);
    EXPECT_EQ(p->x, 210);
    EXPECT_EQ(p->y, 0);
    EXPECT_EQ(p->shiftX, 0);
    EXPECT_EQ(p->shiftY, 220);
    EXPECT_EQ(p->dashes, (std::vector<double>{50, -75}));

    auto solid = ParsePatternLine("45,0,0,0,3.175");
    ASSERT_TRUE(solid);
    EXPECT_TRUE(solid->dashes.empty());

    EXPECT_FALSE(ParsePatternLine(";%UNITS=MM"));
    EXPECT_FALSE(ParsePatternLine("*name"));
    EXPECT_FALSE(ParsePatternLine(""));
    EXPECT_FALSE(ParsePatternLine("0, 0, 0"));  // too few fields for a family of lines
    EXPECT_FALSE(ParsePatternLine("0, 0, 0, 0, 10, 5, --3"));
    EXPECT_FALSE(ParsePatternLine("0, 0, 0, 0, 10,"));
}

TEST(PatternFile, ParsesOnlyTheFirstPattern) {
    const LineList lines = {";%UNITS=MM", "*A", "0,0,0,0,1", ";; note",
                            "90,0,0,0,1", "*B", "45,0,0,0,1"};
    const auto parsed = ParsePatternLines(lines);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].angle, 90);
}

TEST(PatternFile, WritesAtomicallyAndLeavesNothingOnFailure) {
    test::TempDir dir;
    const std::string file = dir.File("a.pat");
    ASSERT_EQ(WriteFileAtomic(file, "one\r\n"), WriteStatus::Ok);
    EXPECT_EQ(test::ReadText(file), "one\r\n");
    ASSERT_EQ(WriteFileAtomic(file, "two\r\n"), WriteStatus::Ok);
    EXPECT_EQ(test::ReadText(file), "two\r\n");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.pat"});

    EXPECT_EQ(WriteFileAtomic(dir.File("missing/b.pat"), "x"), WriteStatus::CannotCreate);
    // A folder standing where the file should go: the rename fails, the temporary file goes.
    std::filesystem::create_directory(dir.File("c.pat"));
    EXPECT_EQ(WriteFileAtomic(dir.File("c.pat"), "x"), WriteStatus::CannotWrite);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.pat", "c.pat"}));
}

TEST(PatternFile, ReadsWholeFiles) {
    test::TempDir dir;
    const std::string file = dir.File("r.pat");
    test::WriteText(file, std::string("a\0b", 3));
    EXPECT_EQ(ReadWholeFile(file), std::string("a\0b", 3));
    EXPECT_FALSE(ReadWholeFile(dir.File("none.pat")));
}

struct Malformed {
    const char* name;
    std::string utf8;
    std::string cp1252;
};

TEST(Cp1252, MalformedUtf8BecomesQuestionMarks) {
    const Malformed rows[] = {
        {"OverlongNul", "na\xC0\x80me", "na??me"},
        {"OverlongSlashOfTwo", "\xC0\xAF", "??"},
        {"OverlongSlashOfThree", "\xE0\x80\xAF", "???"},
        {"OverlongCrLf", "\xC0\x8D\xC0\x8A", "????"},
        {"OverlongEuroOfFour", "\xF0\x82\x82\xAC", "????"},
        {"Surrogate", "\xED\xA0\x80", "???"},
        {"AboveU10FFFF", "\xF4\x90\x80\x80", "????"},
        {"LeadByteF5", "\xF5\x80\x80\x80", "????"},
        {"CutShortBeforeAscii",
         "\xE2\x82"
         "a",
         "?a"},
        {"LoneContinuation",
         "\x80"
         "a",
         "?a"},
        // The smallest and largest well-formed code points of each length still decode.
        {"LowestTwoByte", "\xC2\xA0", "\xA0"},
        {"LowestThreeByte", "\xE0\xA0\x80x", "?x"},
        {"LastBeforeSurrogates", "\xED\x9F\xBF", "?"},
        {"LowestFourByte", "\xF0\x90\x80\x80", "?"},
        {"HighestCodePoint", "\xF4\x8F\xBF\xBF", "?"},
    };
    for (const Malformed& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Utf8ToCp1252(row.utf8), row.cp1252);
    }
}

TEST(Cp1252, ConvertsBothWays) {
    EXPECT_EQ(Utf8ToCp1252("Gevel \xE2\x82\xAC 5\xC3\xA9"), "Gevel \x80 5\xE9");
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");        // not in the code page
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80x"), "?x");  // outside the BMP
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");              // cut short
    EXPECT_EQ(Utf8ToCp1252("\xFF"
                           "b"),
              "?b");
    EXPECT_EQ(Cp1252ToUtf8("\x80\xE9\x9F"), "\xE2\x82\xAC\xC3\xA9\xC5\xB8");
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
    }
}

}  // namespace
}  // namespace murvex
