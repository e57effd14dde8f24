// The shared text helpers: blanks, integers as text, ASCII case, cutting and searching, streams.
#include "Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace murvex {
namespace {

TEST(Trim, RemovesBlanksAtBothEndsOnly) {
    struct Row {
        const char* name;
        std::string text;
        std::string_view trimmed;
    };
    const Row rows[] = {
        {"empty", "", ""},
        {"blanks only", " \t\r\n", ""},
        {"inside kept", "  a b\t", "a b"},
        {"control bytes are blanks", std::string("\x01x\x1f\0", 4), "x"},
        {"byte 127 and CP1252 stay", "\x7f\xa0", "\x7f\xa0"},
        {"nothing to do", "1,2", "1,2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Trim(row.text), row.trimmed);
    }
}

TEST(IntText, WritesEveryWidthWithoutLocale) {
    struct Row {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Row rows[] = {
        {"zero", IntText(0), "0"},
        {"negative int", IntText(-42), "-42"},
        {"int min", IntText(INT_MIN), "-2147483648"},
        {"long long min", IntText(LLONG_MIN), "-9223372036854775808"},
        {"no thousands separator", IntText(100000), "100000"},
        {"size_t max", IntText(std::numeric_limits<std::size_t>::max()), "18446744073709551615"},
        {"unsigned", IntText(7u), "7"},
        {"int64", IntText(std::int64_t{-1}), "-1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.text, row.expected);
    }
}

TEST(StartsWithNoCase, ComparesAsciiLettersWithoutCase) {
    struct Row {
        const char* name;
        std::string_view text;
        std::string_view prefix;
        bool starts;
    };
    const Row rows[] = {
        {"same case", ";%UNITS=MM", ";%UNITS=", true},
        {"lower text", ";%units=mm", ";%UNITS=", true},
        {"lower prefix", ";%UNITS=MM", ";%units=", true},
        {"whole text", "abc", "ABC", true},
        {"empty prefix", "x", "", true},
        {"text shorter", ";%UNIT", ";%UNITS=", false},
        {"differs", ";%TYPE=", ";%UNITS=", false},
        // Only a-z fold: '@' and '`' lie next to the letters, CP1252 letters do not fold.
        {"not a letter", "@", "`", false},
        {"CP1252 letter", "\xe9", "\xc9", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(StartsWithNoCase(row.text, row.prefix), row.starts);
    }
    EXPECT_EQ(AsciiUpper("inch, Mm \xe9{z}"), "INCH, MM \xe9{Z}");
    EXPECT_TRUE(EqualsNoCase("wildVERBAND", "Wildverband"));
    EXPECT_FALSE(EqualsNoCase("Wildverband", "Wildverbanden"));  // a prefix only
}

TEST(CopyRange, TakesRangesThatLieInsideTheText) {
    EXPECT_EQ(CopyRange("abc", 2, 2), "bc");
    EXPECT_EQ(CopyRange("abc", 2, 3), "");
    EXPECT_EQ(CopyRange("abc", 2, 0), "");
    EXPECT_EQ(CopyRange("abc", 1, 3), "abc");
    EXPECT_EQ(CopyRange("abc", 0, 1), "");
    EXPECT_EQ(CopyRange("abc", 4, 1), "");
    EXPECT_EQ(CopyRange("abc", 2, -1), "");
    EXPECT_EQ(CopyRange("abc", 2147483647, 2147483647), "");
}

TEST(CharPos, FindsTheFirstOccurrence) {
    EXPECT_EQ(CharPos(',', "1, 2"), 2);
    EXPECT_EQ(CharPos(',', "12"), 0);
    EXPECT_EQ(CharPos(',', ""), 0);
    EXPECT_EQ(CharPos('a', "bAa"), 3);
    EXPECT_EQ(CharPos(',', ",,"), 1);
}

TEST(ReadWholeStream, ReadsWhatIsLeftBytesAsTheyAre) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    const std::string bytes = std::string("x\r\n\0\xff", 5) + std::string(70000, 'y');
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::rewind(f);
    EXPECT_EQ(ReadWholeStream(f), bytes);  // longer than one read buffer
    std::fseek(f, 3, SEEK_SET);
    EXPECT_EQ(ReadWholeStream(f), bytes.substr(3));
    std::fclose(f);
}

}  // namespace
}  // namespace murvex
