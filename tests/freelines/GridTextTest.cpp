// The free line tab as tab-separated text and as JSON.
#include "GridText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "GridRows.h"

namespace murvex::freelines {
namespace {

using test::DataRows;
using test::GridWith;
using test::Row7;
using test::Rows;

TEST(GridText, WritesTheTextsThenOneLinePerRow) {
    const TextGrid grid =
        GridWith({Row7({"0", "0", "0", "0", "6.35"}), Row7({"90", "", "5", "", "10", "1", "-1"})});
    EXPECT_EQ(FormatTabText(grid, PatternHeader{"INCH", "DRAFTING", "Tegels, wall tiles"}),
              "#units\tINCH\n#type\tDRAFTING\n#name\tTegels, wall tiles\n"
              "0\t0\t0\t0\t6.35\t\t\n90\t\t5\t\t10\t1\t-1\n");
}

TEST(GridText, EscapesWhatWouldBreakALine) {
    const TextGrid grid = GridWith({Row7({"#1", "a\tb", "c\\d", "e\r\nf", "#g"})});
    EXPECT_EQ(FormatTabText(grid, PatternHeader{"M\tM", "#", "n\\"}),
              "#units\tM\\tM\n#type\t#\n#name\tn\\\\\n\\#1\ta\\tb\tc\\\\d\te\\r\\nf\t#g\t\t\n");
}

// An ESC sequence in a name must not reach the terminal: C0 controls, DEL and the C1 controls the
// undefined Windows-1252 bytes stand for are written as \xHH and read back.
TEST(GridText, EscapesControlCharactersAndReadsThemBack) {
    const std::string name = "\x1b]0;title\x07 \x7f\x90\x9d\x81\x8d\x8f\x80\xe9";
    const TextGrid grid = GridWith({Row7({"\x1b[2J", "0"})});
    const std::string text = FormatTabText(grid, PatternHeader{"MM", "MODEL", name});
    EXPECT_EQ(text,
              "#units\tMM\n#type\tMODEL\n"
              "#name\t\\x1b]0;title\\x07 \\x7f\\x90\\x9d\\x81\\x8d\\x8f\x80\xe9\n"
              "\\x1b[2J\t0\t\t\t\t\t\n");
    PatternHeader read;
    const TabTextReading reading = ParseTabText(text, read);
    ASSERT_TRUE(reading.ok) << reading.error;
    EXPECT_EQ(read.name, name);
    EXPECT_EQ(DataRows(reading.grid), (Rows{Row7({"\x1b[2J", "0"})}));
    for (const char* bad : {"\\x1", "\\xg0", "\\x"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseTabText(std::string("#name\t") + bad + "\n", read).ok);
    }
    EXPECT_NE(FormatJson(grid, PatternHeader{"MM", "MODEL", name}, false)
                  .find("\\u001b]0;title\\u0007 \\u007f\\u0090\\u009d\\u0081\\u008d\\u008f\x80"),
              std::string::npos);
}

// The escapes both the free line tab and the figure list's command line use: for any bytes, no
// control byte is left for a terminal to act on, and the tab form reads back to the same bytes.
TEST(TabEscaped, LeavesNoControlByteAndReadsBackForAnyBytes) {
    std::mt19937 random(18);
    std::uniform_int_distribution<int> byte(0, 255);
    const auto isControl = [](unsigned char u) {
        return u < 0x20 || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 ||
               u == 0x9D;
    };
    for (int run = 0; run < 300; ++run) {
        std::string text(static_cast<std::size_t>(run % 24), '\0');
        for (char& c : text)
            c = static_cast<char>(byte(random));
        SCOPED_TRACE(testing::PrintToString(text));
        const std::string tab = TabEscaped(text, true);
        const std::string json = JsonString(text);
        for (const std::string* out : {&tab, &json})
            EXPECT_TRUE(std::none_of(out->begin(), out->end(), [&](char c) {
                return isControl(static_cast<unsigned char>(c));
            }));
        PatternHeader read;
        ASSERT_TRUE(ParseTabText("#name\t" + TabEscaped(text, false) + "\n", read).ok);
        EXPECT_EQ(read.name, text);
    }
}

TEST(GridText, ReadsBackWhatItWrites) {
    const Rows rows{Row7({"#1", "a\tb", "c\\d", "e\r\nf", "#g", " x ", "\xe9"}), Row7({}),
                    Row7({"", "", "", "", "", "", "7"})};
    const PatternHeader written{"M\tM", "#", "n\\ \xe9"};
    PatternHeader read{"", "", ""};
    const TabTextReading reading = ParseTabText(FormatTabText(GridWith(rows), written), read);
    ASSERT_TRUE(reading.ok) << reading.error;
    EXPECT_EQ(DataRows(reading.grid), rows);
    EXPECT_EQ(read.units, written.units);
    EXPECT_EQ(read.type, written.type);
    EXPECT_EQ(read.name, written.name);
    EXPECT_EQ(test::Numbers(reading.grid), (std::vector<std::string>{"1", "2", "3"}));
}

TEST(GridText, ReadsShortRowsCommentsAndCrLf) {
    PatternHeader texts;
    const TabTextReading reading =
        ParseTabText("# my rows\r\n45\t0\t0\t0\t3.175\r\n#name\tx\r\n\r\n30", texts);
    ASSERT_TRUE(reading.ok) << reading.error;
    EXPECT_EQ(DataRows(reading.grid),
              (Rows{Row7({"45", "0", "0", "0", "3.175"}), Row7({}), Row7({"30"})}));
    EXPECT_EQ(texts.name, "x");
    EXPECT_EQ(texts.units, "MM");  // not named: kept
}

TEST(GridText, NothingToReadGivesTheOneEmptyRowOfTheTab) {
    PatternHeader texts;
    const TabTextReading reading = ParseTabText("", texts);
    ASSERT_TRUE(reading.ok);
    EXPECT_EQ(DataRows(reading.grid), Rows{Row7({})});
}

TEST(GridText, RefusesBadLinesNamingThem) {
    struct Case {
        const char* name;
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"more cells than a line holds", "1\n" + std::string(128, '\t') + "\n",
         "line 2: more than 128 cells"},
        {"unknown escape", "1\\x\n", "line 1: a backslash must be followed by \\, t, r, n or #"},
        {"backslash at the end", "#name\tab\\\n",
         "line 1: a backslash must be followed by \\, "
         "t, r, n or #"},
        {"header without tab", "1\n\n#units\n", "line 3: a tab must follow #units"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatternHeader texts;
        const TabTextReading reading = ParseTabText(c.text, texts);
        EXPECT_FALSE(reading.ok);
        EXPECT_EQ(reading.error, c.error);
    }
}

TEST(GridJson, WritesTextsFlagAndRows) {
    const TextGrid grid = GridWith({Row7({"0", "1"}), Row7({"q\"", "\\", "\t\x01", "\xe9"})});
    EXPECT_EQ(FormatJson(grid, PatternHeader{"MM", "MODEL", "a \"b\""}, true),
              "{\n"
              "  \"units\": \"MM\",\n"
              "  \"type\": \"MODEL\",\n"
              "  \"name\": \"a \\\"b\\\"\",\n"
              "  \"description\": \"\",\n"
              "  \"multiplePatterns\": true,\n"
              "  \"rows\": [\n"
              "    [\"0\", \"1\", \"\", \"\", \"\", \"\", \"\"],\n"
              "    [\"q\\\"\", \"\\\\\", \"\\t\\u0001\", \"\xe9\", \"\", \"\", \"\"]\n"
              "  ]\n"
              "}\n");
}

}  // namespace
}  // namespace murvex::freelines
