// Number text and the numeric guards.
#include "NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace murvex {
namespace {

struct ParseRow {
    const char* name;
    std::string text;
    bool ok;
    double value;
};

void PrintTo(const ParseRow& row, std::ostream* os) {
    *os << row.name;
}

class ParseDecimalRows : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseDecimalRows, ReadsAsSpecified) {
    const ParseRow& row = GetParam();
    const ParseResult r = ParseDecimal(row.text);
    EXPECT_EQ(r.ok, row.ok) << "text [" << row.text << "]";
    EXPECT_EQ(r.value, row.value) << "text [" << row.text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseDecimalRows,
    ::testing::Values(
        ParseRow{"integer", "210", true, 210}, ParseRow{"comma", "62,5", true, 62.5},
        ParseRow{"point", "62.5", true, 62.5}, ParseRow{"blanks_around", " 7 ", true, 7},
        ParseRow{"many_leading_blanks", "    7", true, 7},
        ParseRow{"trailing_controls", "7\t\r\n", true, 7}, ParseRow{"unit_after", "7 mm", false, 0},
        ParseRow{"empty", "", false, 0}, ParseRow{"blanks_only", "   ", false, 0},
        ParseRow{"lone_minus", "-", false, 0}, ParseRow{"lone_plus", "+", false, 0},
        ParseRow{"lone_point", ".", true, 0}, ParseRow{"minus_point", "-.", true, 0},
        ParseRow{"comma_exponent", "1,5e2", true, 150}, ParseRow{"plus", "+3", true, 3},
        ParseRow{"leading_tab", "\t7", false, 0}, ParseRow{"two_points", "1,000.5", false, 0},
        ParseRow{"exponent", "1e3", true, 1000},
        ParseRow{"upper_exponent_sign", "2E-3", true, 0.002},
        ParseRow{"exponent_without_digits", "1e", false, 0},
        ParseRow{"exponent_alone", "e5", false, 0}, ParseRow{"blank_after_sign", "- 7", false, 0},
        ParseRow{"double_minus", "--10.000", false, 0}, ParseRow{"letters", "abc", false, 0},
        ParseRow{"trailing_point", "5.", true, 5}, ParseRow{"leading_point", ".25", true, 0.25},
        ParseRow{"negative", "-12.5", true, -12.5}, ParseRow{"overflow", "1e400", false, 0},
        ParseRow{"huge_exponent", "1e99999999999999999999", false, 0},
        ParseRow{"negative_overflow", "-2e308", false, 0},
        ParseRow{"underflow_reads_zero", "1e-400", true, 0},
        ParseRow{"zero_with_huge_exponent", "0e99999", true, 0},
        ParseRow{"max_double", "1.7976931348623157e308", true, std::numeric_limits<double>::max()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseDecimal, ReadsOnlyTheFirst255Characters) {
    std::string text(255, '1');
    text[0] = '.';  // ".111...1" (255 characters) then garbage after the limit
    EXPECT_TRUE(ParseDecimal(text + "xyz").ok);
    std::string blanks = std::string(254, ' ') + "7";
    EXPECT_EQ(ParseDecimal(blanks + "junk").value, 7);
    EXPECT_FALSE(ParseDecimal(std::string(255, ' ') + "7").ok);
}

TEST(ParseDecimal, SurvivesHostileTexts) {
    const std::string huge(1 << 20, '9');
    EXPECT_TRUE(ParseDecimal(huge).ok);  // the first 255 nines: about 1e255
    EXPECT_NEAR(std::log10(ParseDecimal(huge).value), 255, 1e-9);
    EXPECT_FALSE(ParseDecimal(std::string(1 << 20, '-')).ok);
    EXPECT_FALSE(ParseDecimal(std::string(1 << 20, '.')).ok);
    EXPECT_FALSE(ParseDecimal(std::string(1 << 20, '+')).ok);
    EXPECT_FALSE(ParseDecimal(std::string("1\0"
                                          "2",
                                          3))
                     .ok);
    EXPECT_EQ(ParseDecimal(std::string("12\0\0", 4)).value, 12);  // NULs at the end are trimmed
    EXPECT_FALSE(ParseDecimal(std::string("\0", 1)).ok);
    // A view that stops before the rest of its buffer: nothing past the view is read.
    const std::string buffer = "12345";
    EXPECT_EQ(ParseDecimal(std::string_view(buffer.data(), 2)).value, 12);
}

TEST(ParseDecimal, RoundTripsFormattedNumbers) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> dist(-1e6, 1e6);
    for (int i = 0; i < 20000; ++i) {
        const double v = dist(rng);
        const ParseResult r = ParseDecimal(Fmt(v));
        ASSERT_TRUE(r.ok) << Fmt(v);
        EXPECT_NEAR(r.value, v, 0.0005 + 1e-9) << Fmt(v);
        EXPECT_EQ(Fmt(r.value), Fmt(v));
    }
}

TEST(LocalizeSeparator, ReplacesTheFirstForeignSeparatorOnly) {
    EXPECT_EQ(LocalizeSeparator("62.5", ','), "62,5");
    EXPECT_EQ(LocalizeSeparator("1.2.3", ','), "1,2.3");
    EXPECT_EQ(LocalizeSeparator("62,5", '.'), "62.5");
    EXPECT_EQ(LocalizeSeparator("1,2,3", '.'), "1.2,3");
    EXPECT_EQ(LocalizeSeparator("210", ','), "210");
    EXPECT_EQ(LocalizeSeparator("210", '.'), "210");
    EXPECT_EQ(LocalizeSeparator("", ','), "");
}

TEST(Fmt, WritesThreeDecimalsWithAPoint) {
    EXPECT_EQ(Fmt(0), "0.000");
    EXPECT_EQ(Fmt(-0.0004), "-0.000");
    EXPECT_EQ(Fmt(-0.0), "-0.000");
    EXPECT_EQ(Fmt(90), "90.000");
    EXPECT_EQ(Fmt(1e6), "1000000.000");
    EXPECT_EQ(Fmt(210), "210.000");
    EXPECT_EQ(Fmt(62.5), "62.500");
    EXPECT_EQ(Fmt(-0.5), "-0.500");
    EXPECT_EQ(Fmt(155.0 / 3.0), "51.667");
    EXPECT_EQ(Fmt(1e20), "100000000000000000000.000");
    // 0.0005 is stored slightly above one half of a thousandth.
    EXPECT_EQ(Fmt(0.0005), "0.001");
    // 1.0005 is stored slightly below: the nearer text wins.
    EXPECT_EQ(Fmt(1.0005), "1.000");
    EXPECT_EQ(Fmt10(1.0L / 3.0L), "0.3333333333");
    EXPECT_EQ(Fmt10(-2.5L), "-2.5000000000");
}

// Under a comma-decimal C locale the number texts must not change.
class CommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::setlocale(LC_ALL, nullptr);
        saved_ = old ? old : "C";
        if (!std::setlocale(LC_ALL, "nl_NL.UTF-8") && !std::setlocale(LC_ALL, "nl_NL.utf8")) {
            GTEST_SKIP() << "nl_NL.UTF-8 is not installed (scripts/install-deps generates it)";
        }
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
    std::string saved_;
};

TEST_F(CommaLocale, FormatAndParseIgnoreTheLocale) {
    EXPECT_EQ(Fmt(62.5), "62.500");
    EXPECT_EQ(Fmt(-0.0001), "-0.000");
    EXPECT_EQ(Fmt10(0.1L), "0.1000000000");
    EXPECT_EQ(ParseDecimal("62.5").value, 62.5);
    EXPECT_EQ(ParseDecimal("62,5").value, 62.5);
    EXPECT_EQ(ParseDecimal("1,5e2").value, 150);
    EXPECT_FALSE(ParseDecimal("1.000,5").ok);
}

TEST(SafeTan, GuardsExactlyTwoAngles) {
    EXPECT_EQ(SafeTan(1.5707963267948966192L), 0.0L);
    EXPECT_EQ(SafeTan(4.7123889803846898577L), 0.0L);
    EXPECT_NEAR(static_cast<double>(SafeTan(0.78539816339744830962L)), 1.0, 1e-15);
    EXPECT_GT(std::fabs(SafeTan(-1.5707963267948966192L)), 1e15L);
    EXPECT_GT(std::fabs(SafeTan(1.5707963267948966192L + 1e-18L)), 1e15L);
    // The double value of pi/2 is not the extended one: it is not guarded.
    EXPECT_GT(std::fabs(SafeTan(static_cast<long double>(1.5707963267948966))), 1e15L);
}

TEST(RoundToInt, TakesHalvesUpOnlyWhenPositive) {
    EXPECT_EQ(RoundToInt(2.5L), 3);
    EXPECT_EQ(RoundToInt(3.5L), 4);
    EXPECT_EQ(RoundToInt(2.6L), 3);
    EXPECT_EQ(RoundToInt(2.49L), 2);
    EXPECT_EQ(RoundToInt(2.75L), 3);
    EXPECT_EQ(RoundToInt(2.49999999999995L), 3);
    EXPECT_EQ(RoundToInt(2.4999999999998L), 2);
    EXPECT_EQ(RoundToInt(-2.5L), -2);
    EXPECT_EQ(RoundToInt(-3.5L), -4);
    EXPECT_EQ(RoundToInt(-2.6L), -3);
    EXPECT_EQ(RoundToInt(0.5L), 1);
    EXPECT_EQ(RoundToInt(0.0L), 0);
    EXPECT_EQ(RoundToInt(1e30L), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(RoundToInt(-1e30L), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(RoundToInt(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(NumberText, DecimalValueIsTheDoubleNearestToTheDecimalNumber) {
    EXPECT_EQ(DecimalValue(1, -3), 0.001);
    EXPECT_EQ(DecimalValue(5, -6), 0.000005);
    EXPECT_EQ(DecimalValue(2, 22), 2e22);
    EXPECT_EQ(DecimalValue(1, -400), 0.0);
    EXPECT_EQ(DecimalValue(1, 400), HUGE_VAL);
    // Against the reader of typed numbers, which is exact, over random digits and exponents.
    std::mt19937 random(22);
    std::uniform_int_distribution<long long> digits(-999999, 999999);
    std::uniform_int_distribution<int> exponent(-300, 300);
    for (int i = 0; i < 2000; ++i) {
        const long long d = digits(random);
        const int k = exponent(random);
        const std::string text = std::to_string(d) + "e" + std::to_string(k);
        SCOPED_TRACE(text);
        EXPECT_EQ(DecimalValue(d, k), ParseDecimal(text).value);
    }
}

// Angles at which MinGW's sin or cos gave another double than glibc's (107.3 turned a Wildverband
// at 17.3 degrees into other SVG bytes on Windows), with the correctly rounded cosine and sine,
// and quarter turns, which are exact.
TEST(CosSinDegrees, IsTheSameDoubleOnEverySystem) {
    const double rows[][3] = {{107.3, -0x1.308309fb43cc3p-2, 0x1.e8d66852bc127p-1},
                              {101.5, -0x1.984e37318b216p-3, 0x1.f5b8b0ddc720fp-1},
                              {188.2, -0x1.fac3f33c36d59p-1, -0x1.241aa36dd4045p-3},
                              {-107.3, -0x1.308309fb43cc3p-2, -0x1.e8d66852bc127p-1},
                              {990, 0, -1},
                              {-180, -1, 0},
                              {-90, 0, -1}};
    for (const auto& [degrees, c, s] : rows) {
        SCOPED_TRACE(degrees);
        EXPECT_EQ(CosSinDegrees(degrees).c, c);
        EXPECT_EQ(CosSinDegrees(degrees).s, s);
    }
}

// Within one unit in the last place of the extended sine and cosine (give or take their own
// error near their zeros), the sine odd and the cosine even, over random angles of every size.
TEST(CosSinDegrees, AgreesWithTheExtendedSineAndCosine) {
    const auto near = [](double value, long double reference) {
        const double r = static_cast<double>(reference);
        return std::fabs(value - r) <= std::nextafter(std::fabs(r), 2.0) - std::fabs(r) + 0x1p-62;
    };
    std::mt19937 random(22);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-30, 12);
    for (int i = 0; i < 20000; ++i) {
        const double degrees = std::ldexp(mantissa(random), exponent(random));
        const CosSin r = CosSinDegrees(degrees);
        const long double a =
            std::fmod(static_cast<long double>(degrees), 360.0L) / 180 * 3.14159265358979323846264L;
        EXPECT_TRUE(near(r.c, std::cos(a)) && near(r.s, std::sin(a))) << degrees;
        EXPECT_TRUE(CosSinDegrees(-degrees).c == r.c && CosSinDegrees(-degrees).s == -r.s);
    }
}

}  // namespace
}  // namespace murvex
