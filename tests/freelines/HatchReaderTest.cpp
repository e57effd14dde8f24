// The pattern file reader: the recognisers, their order and the whole read into the grid.
#include "HatchReader.h"

#include <gtest/gtest.h>

#include "GridRows.h"

namespace murvex::freelines {
namespace {

using test::DataRows;
using test::GridWith;
using test::Numbers;
using test::Row7;
using test::RowOf;
using test::Rows;

const Rows kOld{Row7({"old1", "1"}), Row7({"old2"}), Row7({"old3"}), Row7({"old4", "", "", "4"})};

struct Read {
    TextGrid grid = GridWith(kOld);
    PatternHeader texts{"MM", "MODEL", "vorige"};
    int warnings = 0;
    ReadResult result;

    explicit Read(const LineList& lines, int currentRow = 1) {
        grid.SetCurrent(1, currentRow);
        result = ReadHatchLines(lines, grid, texts, [this] {
            ++warnings;
            // The rows read so far are in place, the trailing empty row not yet removed.
            const auto last = DataRows(grid).back();
            EXPECT_EQ(last, RowOf({}, last.size()));
        });
    }
};

TEST(HatchReader, ReadsTheTenLineExample) {
    const Read read({";%UNITS=inch", ";", "*Tegels, wall tiles", ";;drawn by hand",
                     ";%TYPE=DRAFTING", "0, 0, 0, 0, 6.35", "90,0,0 , 0,6.35, 6.35, -6.35, 1, -1",
                     ";", "*Second", "45, 0, 0, 0, 1"});
    // Every dash value is kept: the grid grows the columns "Pen Down 2" and "Pen Up 2".
    EXPECT_EQ(DataRows(read.grid),
              (Rows{RowOf({"0", "0", "0", "0", "6.35"}, 9),
                    RowOf({"90", "0", "0", "0", "6.35", "6.35", "-6.35", "1", "-1"}, 9)}));
    EXPECT_EQ(read.grid.Cell(8, 0), "Pen Down 2");
    EXPECT_EQ(read.grid.Cell(9, 0), "Pen Up 2");
    EXPECT_EQ(Numbers(read.grid), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(read.texts.units, "INCH");
    EXPECT_EQ(read.texts.type, "DRAFTING");
    EXPECT_EQ(read.texts.name, "Tegels");
    EXPECT_EQ(read.texts.description, "wall tiles");
    EXPECT_EQ(read.warnings, 1);
    EXPECT_TRUE(read.result.multiplePatterns);
    EXPECT_EQ(read.result.patternLines, 2);
    EXPECT_EQ(read.grid.Cell(1, 0), "Hoek");
}

// The figure conversion writes ten decimals, which a cell of the grid cut to "0.000000...": such
// numbers come in without trailing zeros (a gap of length 0 keeps its sign); the editor's own
// three decimals and other texts stay as written.
TEST(HatchReader, NumbersWithMoreThanThreeDecimalsComeInShort) {
    const Read read({"*Figuur",
                     "90.0000000000, 20.5000000000,0.000 , 1.25000, 100.0000000000, "
                     "-0.0000000000, -20.0000000000, 1.5e1, 2,5000"});
    EXPECT_EQ(DataRows(read.grid),
              (Rows{RowOf({"90", "20.5", "0.000", "1.25", "100", "-0", "-20", "1.5e1", "2", "5000"},
                          11)}));
}

TEST(HatchReader, ReadsLowerCaseHeaders) {
    const Read read({";%units=inch", ";", "*klein", ";%type=drafting", "0,0,0,0,1"});
    EXPECT_EQ(read.texts.units, "INCH");
    EXPECT_EQ(read.texts.type, "DRAFTING");
    EXPECT_EQ(read.texts.name, "klein");
    EXPECT_EQ(read.warnings, 0);
}

TEST(HatchReader, UnknownHeaderValuesAreConsumedSilently) {
    const Read read({";%UNITS=CM", ";%TYPE=DETAIL", ";%UNITS= MM", "*n"});
    EXPECT_EQ(read.texts.units, "MM");
    EXPECT_EQ(read.texts.type, "MODEL");
    EXPECT_EQ(DataRows(read.grid).size(), 1u);
    EXPECT_EQ(read.result.patternLines, 0);
}

TEST(HatchReader, AnEmptyFileKeepsOneRowWithItsTexts) {
    const Read read({});
    EXPECT_EQ(DataRows(read.grid), Rows{kOld.back()});  // row 1 current: the last row remains
    EXPECT_EQ(Numbers(read.grid), std::vector<std::string>{"1"});
    EXPECT_EQ(read.texts.name, "vorige");
    EXPECT_EQ(read.warnings, 0);
}

TEST(HatchReader, HeaderLinesOnlySetTheTextsAndKeepOneRow) {
    const Read read({";%UNITS=INCH", ";", "*alleen kop", ";%TYPE=DRAFTING", ";"}, 3);
    EXPECT_EQ(DataRows(read.grid), Rows{kOld.front()});  // a later row current: row 1 remains
    EXPECT_EQ(read.texts.units, "INCH");
    EXPECT_EQ(read.texts.type, "DRAFTING");
    EXPECT_EQ(read.texts.name, "alleen kop");
}

TEST(HatchReader, ALoneStarIsIgnored) {
    const Read read({"*", "1,2"});
    EXPECT_EQ(read.texts.name, "vorige");
    EXPECT_EQ(DataRows(read.grid), Rows{Row7({"1", "2"})});
}

TEST(HatchReader, HeadersAfterTheFirstPatternLineAreNotHeaders) {
    const Read read({"*a", "1,2", ";%UNITS=INCH", "%VERSION=2", ";%TYPE=DRAFTING", ";;x"});
    EXPECT_EQ(read.texts.units, "MM");
    EXPECT_EQ(read.texts.type, "MODEL");
    EXPECT_EQ(DataRows(read.grid), (Rows{Row7({"1", "2"}), Row7({"%VERSION=2"})}));
}

TEST(HatchReader, VersionAndCommentLinesBeforeThePatternAreSkipped) {
    const Read read({"%version=2.1", ";%VERSION=3", ";;*not a name", "5"});
    EXPECT_EQ(DataRows(read.grid), Rows{Row7({"5"})});
    EXPECT_EQ(read.texts.name, "vorige");
}

TEST(HatchReader, ALineOfBlanksIsARowOfEmptyCells) {
    const Read read({"1,1", "   \t ", "2,2"});
    EXPECT_EQ(DataRows(read.grid), (Rows{Row7({"1", "1"}), Row7({}), Row7({"2", "2"})}));
}

TEST(HatchReader, AnEmptyLineIsNotAPatternLine) {
    const Read read({"1,1", "", "2,2"});
    EXPECT_EQ(DataRows(read.grid), (Rows{Row7({"1", "1"}), Row7({"2", "2"})}));
}

TEST(HatchReader, ASecondPatternRightAfterTheFirstStopsWithoutATrailingRow) {
    const Read read({"*a", "1", "*b", "2", "*c", "3"});
    EXPECT_EQ(DataRows(read.grid), Rows{Row7({"1"})});
    EXPECT_EQ(read.texts.name, "a");
    EXPECT_EQ(read.warnings, 1);
}

TEST(HatchReader, ANameLineBeforeAnyPatternLineReplacesTheName) {
    const Read read({"*a", "*b", "1"});
    EXPECT_EQ(read.texts.name, "b");
    EXPECT_EQ(read.warnings, 0);
}

struct FieldCase {
    const char* name;
    std::string line;
    std::vector<std::string> cells;
};

// Seven numbers and dash lists of any length, odd ones too, are the round trip's random files.
class PatternFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PatternFields, FillTheLastRow) {
    TextGrid grid = GridWith(
        {Row7({"x", "x", "x", "x", "x", "x", "x"}), Row7({"y", "y", "y", "y", "y", "y", "y"})});
    ASSERT_TRUE(ReadPatternLine(GetParam().line, grid));
    // Seven cells, or more where the line's dash list is longer.
    const std::size_t n = static_cast<std::size_t>(LastDataCol(grid));
    EXPECT_EQ(DataRows(grid),
              (Rows{RowOf({"x", "x", "x", "x", "x", "x", "x"}, n), RowOf(GetParam().cells, n)}));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PatternFields,
    ::testing::Values(FieldCase{"TrailingEmptyFieldsAddNoColumn",
                                "0,1,2,3,4,5,6,,",
                                {"0", "1", "2", "3", "4", "5", "6"}},
                      FieldCase{"ThreeEmptiesTheRest", "45, 0, 1", {"45", "0", "1"}},
                      FieldCase{"SpacedSeparators", "0.000 , 0 , 0", {"0.000", "0", "0"}},
                      FieldCase{"TabsAndControlsTrimmed", "\t1\x01,\x1f 2 ", {"1", "2"}},
                      FieldCase{"InnerBlanksKept", "1 2, a b", {"1 2", "a b"}},
                      FieldCase{"EmptyFieldsStayInPlace", "1,,3,,5", {"1", "", "3", "", "5"}},
                      FieldCase{"TrailingComma", "1,2,", {"1", "2", ""}},
                      FieldCase{"Blanks", "     ", {}},
                      FieldCase{"HighBytesAreNotBlanks",
                                "\xa0"
                                "1\xe9",
                                {"\xa0"
                                 "1\xe9"}},
                      FieldCase{"NotANumber", "abc, %VERSION=1", {"abc", "%VERSION=1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PatternFields, HeaderNameAndEmptyLinesAreNotPatternLines) {
    for (const char* line : {"", ";", ";1,2", "*", "*1,2"}) {
        SCOPED_TRACE(line);
        TextGrid grid = GridWith({Row7({"keep"})});
        EXPECT_FALSE(ReadPatternLine(line, grid));
        EXPECT_EQ(DataRows(grid), Rows{Row7({"keep"})});
    }
}

struct RecogniserCase {
    const char* name;
    std::string line;
    bool units, nameLine, type, version, comment;
};

class Recognisers : public ::testing::TestWithParam<RecogniserCase> {};

TEST_P(Recognisers, ConsumeTheirOwnLinesOnly) {
    const RecogniserCase& c = GetParam();
    PatternHeader texts;
    EXPECT_EQ(ReadUnitsLine(c.line, texts), c.units);
    EXPECT_EQ(ReadNameLine(c.line, false, texts), c.nameLine);
    EXPECT_EQ(ReadTypeLine(c.line, texts), c.type);
    EXPECT_EQ(ReadVersionLine(c.line), c.version);
    EXPECT_EQ(IsCommentLine(c.line), c.comment);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Recognisers,
    ::testing::Values(
        RecogniserCase{"Units", ";%UNITS=MM", true, false, false, false, false},
        RecogniserCase{"UnitsWithoutValue", ";%UNITS=", false, false, false, false, false},
        RecogniserCase{"Type", ";%Type=x", false, false, true, false, false},
        RecogniserCase{"TypeWithoutValue", ";%TYPE=", false, false, false, false, false},
        RecogniserCase{"Version", "%VERSION=1", false, false, false, true, false},
        RecogniserCase{"ShortVersion", "%VERSION", false, false, false, false, false},
        RecogniserCase{"CommentedVersion", ";%VERSION=1", false, false, false, false, false},
        RecogniserCase{"Name", "*ab", false, true, false, false, false},
        RecogniserCase{"LoneStar", "*", false, false, false, false, false},
        RecogniserCase{"Comment", ";;", false, false, false, false, true},
        RecogniserCase{"CommentedUnits", ";;%UNITS=MM", false, false, false, false, true},
        RecogniserCase{"Separator", ";", false, false, false, false, false},
        RecogniserCase{"Pattern", "0,0,0", false, false, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Recognisers, NameLineAfterAPatternIsConsumedWithoutEffect) {
    PatternHeader texts;
    EXPECT_TRUE(ReadNameLine("*later", true, texts));
    EXPECT_EQ(texts.name, "naam arcering");
}

TEST(Recognisers, NameIsTakenExactlyUpToTheCommaAndTheDescriptionAfterIt) {
    PatternHeader texts;
    ASSERT_TRUE(ReadNameLine("* Tegels,  wall, floor ", false, texts));
    EXPECT_EQ(texts.name, " Tegels");
    EXPECT_EQ(texts.description, "wall, floor ");
    // A name line without a description leaves none from an earlier read.
    ASSERT_TRUE(ReadNameLine("*Streep", false, texts));
    EXPECT_EQ(texts.description, "");
}

// Lines are handled within their first 255 characters; the rest is ignored.
TEST(HatchReaderLongLines, OnlyTheFirst255CharactersCount) {
    std::string longName = "*";  // appended: GCC 12 -O3 -Wrestrict
    longName.append(300, 'n');
    std::string longPattern = "1,2,3,4,5,6," + std::string(250, ' ') + "77777";
    ASSERT_EQ(longPattern.size(), 267u);
    const Read read({longName, longPattern, ";%UNITS=INCH" + std::string(250, ' ')});
    EXPECT_EQ(read.texts.name, std::string(254, 'n'));
    // The seventh field starts at character 262, beyond the limit.
    EXPECT_EQ(DataRows(read.grid), Rows{Row7({"1", "2", "3", "4", "5", "6", ""})});
}

TEST(HatchReaderLongLines, ACommaBeyondTheLimitDoesNotSplit) {
    const std::string line = std::string(254, '7') + "8,9";
    TextGrid grid = GridWith({Row7({})});
    ASSERT_TRUE(ReadPatternLine(line, grid));
    EXPECT_EQ(DataRows(grid), Rows{Row7({std::string(254, '7') + "8"})});
}

TEST(HatchReaderLongLines, AHeaderCutAtTheLimitKeepsItsValueUnrecognised) {
    PatternHeader texts;
    EXPECT_TRUE(ReadUnitsLine(";%UNITS=" + std::string(247, ' ') + "INCH", texts));
    EXPECT_EQ(texts.units, "MM");
    EXPECT_FALSE(ReadVersionLine(std::string(255, ' ') + "%VERSION=1"));
}

// The reader walks the bytes of a file itself; it must see the lines the file splitter sees.
TEST(ForEachLine, SeesTheLinesSplitLinesGives) {
    const std::string texts[] = {"",
                                 "a",
                                 "a\r\nb\r\n",
                                 "a\rb\nc\r\n\r\nd",
                                 "\n\n",
                                 "\r\r\n\n\r",
                                 "a\r",
                                 std::string("a\r\nb\0c\r\nd", 10),
                                 std::string("\0a", 2),
                                 "last line without end"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(::testing::PrintToString(text));
        LineList seen;
        ForEachLine(text, [&](std::string_view line) {
            seen.emplace_back(line);
            return true;
        });
        EXPECT_EQ(seen, SplitLines(text));
    }
}

TEST(ForEachLine, StopsWhenAsked) {
    int calls = 0;
    ForEachLine("a\nb\nc\n", [&](std::string_view) { return ++calls < 2; });
    EXPECT_EQ(calls, 2);
}

TEST(ReadHatchText, ReadsLikeTheLineList) {
    const std::string text =
        ";%UNITS=inch\r\n;\r\n*Tegels, wall tiles\r\n;;drawn by hand\r\n;%TYPE=DRAFTING\r\n"
        "0, 0, 0, 0, 6.35\r\n90,0,0 , 0,6.35, 6.35, -6.35, 1, -1\r\n;\r\n*Second\r\n"
        "45, 0, 0, 0, 1\r\n";
    TextGrid fromText = GridWith(kOld);
    PatternHeader textsFromText;
    int warnings = 0;
    const ReadResult result = ReadHatchText(text, fromText, textsFromText, [&] { ++warnings; });
    const Read fromLines(SplitLines(text));
    EXPECT_EQ(DataRows(fromText), DataRows(fromLines.grid));
    EXPECT_EQ(textsFromText.name, fromLines.texts.name);
    EXPECT_EQ(textsFromText.units, "INCH");
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(result.patternLines, 2);
}

TEST(CountPatternRows, CountsTheRowsOfTheFirstPatternOnly) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t rows;
    };
    const Case cases[] = {
        {"headers only", ";%UNITS=MM\n;\n*a\n;%TYPE=MODEL\n;\n", 0},
        {"version before the pattern", "%VERSION=1\n1\n2\n", 2},
        {"version after the first line", "1\n%VERSION=1\n", 2},
        {"blank line counts, empty line not", "1\n  \n\n2", 3},
        {"stops at a second name", "*a\n1\n2\n*b\n3\n", 2},
        {"name before any pattern line", "*a\n*b\n1\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CountPatternRows(c.text, 100), c.rows);
        const Read read(SplitLines(c.text));
        EXPECT_EQ(static_cast<std::size_t>(read.result.patternLines), c.rows);
    }
    EXPECT_EQ(CountPatternRows("1\n2\n3\n4\n5\n", 2), 3u);  // stops past the limit
}

}  // namespace
}  // namespace murvex::freelines
