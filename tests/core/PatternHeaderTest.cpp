// The pattern header: its lines as every writer writes them and as the readers take them up.
#include "PatternHeader.h"

#include <gtest/gtest.h>

#include <random>

namespace murvex {
namespace {

TEST(PatternHeader, HeaderLines) {
    EXPECT_EQ(UnitsHeader("MM"), ";%UNITS=MM");
    EXPECT_EQ(TypeHeader("MODEL"), ";%TYPE=MODEL");
    EXPECT_EQ(NameLine("a, b c"), "*a, b c");
    EXPECT_EQ(NameLine(""), "*");
}

// A text from an edit or the command line must stay one line of the file: a NUL would cut the
// file short for every reader, a CR or LF would start a pattern line of its own.
TEST(PatternHeader, HeaderAndNameLinesNeverBreak) {
    EXPECT_EQ(NameLine(std::string("na\0me\r\n0,0,0,0,1", 16)), "*na me  0,0,0,0,1");
    EXPECT_EQ(UnitsHeader("MM\n*x"), ";%UNITS=MM *x");
    EXPECT_EQ(TypeHeader("\rMODEL"), ";%TYPE= MODEL");
}

// Every header read starts from one that differs from the defaults in all three texts, so a
// row shows what a line replaces and what it leaves.
const PatternHeader kOld{"INCH", "DRAFTING", "old"};
struct ReadRow {
    const char* name;
    std::string line;
    HeaderRules rules;
    HeaderField field;
    PatternHeader after;
    friend void PrintTo(const ReadRow& r, std::ostream* os) { *os << '"' << r.line << '"'; }
};

class HeaderReading : public ::testing::TestWithParam<ReadRow> {};

TEST_P(HeaderReading, RecognisesAndTakesUp) {
    const ReadRow& r = GetParam();
    EXPECT_EQ(ParseHeaderLine(r.line, r.rules).field, r.field);
    PatternHeader header = kOld;
    EXPECT_EQ(ReadHeaderLine(r.line, header), !r.rules.keyAlone && r.field != HeaderField::None);
    EXPECT_EQ(header, r.after);
}

using enum HeaderField;
INSTANTIATE_TEST_SUITE_P(
    Lines, HeaderReading,
    ::testing::Values(
        ReadRow{"UnitsAnyCase", ";%units=mm", {}, Units, {"MM", "DRAFTING", "old"}},
        ReadRow{"UnitsOtherValueKeeps", ";%UNITS=FEET", {}, Units, kOld},
        ReadRow{"UnitsValueNotTrimmed", ";%UNITS=MM ", {}, Units, kOld},
        ReadRow{"UnitsKeyAlone", ";%UNITS=", {}, None, kOld},
        ReadRow{"UnitsKeyAloneForTheCheck", ";%UNITS=", {true}, Units, kOld},
        ReadRow{"TypeAnyCase", ";%Type=model", {}, Type, {"INCH", "MODEL", "old"}},
        ReadRow{"NameExactly", "* Tegels, wall ", {}, Name, {"INCH", "DRAFTING", " Tegels, wall "}},
        ReadRow{"LoneStar", "*", {}, None, kOld},
        ReadRow{"LeadingBlank", " ;%UNITS=MM", {}, None, kOld},
        ReadRow{"Comment", ";;%UNITS=MM", {}, None, kOld}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever a tab can hold in its combos and name edit comes back as written, in both layouts.
TEST(PatternHeader, ReadingTheWrittenLinesGivesTheHeaderBack) {
    std::mt19937 random(18);
    std::uniform_int_distribution<int> byte(1, 255), length(1, 40), coin(0, 1);
    for (int i = 0; i < 500; ++i) {
        PatternHeader written{coin(random) ? "MM" : "INCH", coin(random) ? "MODEL" : "DRAFTING",
                              ""};
        for (int n = length(random); n > 0; --n) {
            const char c = static_cast<char>(byte(random));
            if (c != '\r' && c != '\n') written.name += c;
        }
        LineList lines;
        AppendHeaderLines(lines, written,
                          coin(random) ? HeaderLayout::PatternFile : HeaderLayout::FigureList);
        PatternHeader read{"", "", ""};
        for (const std::string& line : lines)
            ReadHeaderLine(line, read);
        SCOPED_TRACE(written.name);
        ASSERT_EQ(read, written);
    }
}

}  // namespace
}  // namespace murvex
