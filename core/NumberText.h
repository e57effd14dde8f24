// Number text without the locale, and numeric guards: a tangent, a rounding rule, and a sine and
// cosine that are the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace murvex {

// Texts longer than this are cut before parsing.
inline constexpr std::size_t kShortTextLimit = 255;

struct ParseResult {
    bool ok = false;
    double value = 0.0;
};

// Reads a decimal number typed with a comma or a point; never looks at the locale.
// Fails (value 0) on anything outside the grammar and on numbers beyond the range of a double.
ParseResult ParseDecimal(std::string_view text);

// digits x 10^exponent as the double nearest to that decimal number (0.001 for 1, -3), which
// pow(10, -3) is not everywhere: MinGW's is a few units off in the last place.
double DecimalValue(long long digits, int exponent);

// Replaces the first foreign separator by the user's own (separator '.' or ',').
std::string LocalizeSeparator(std::string_view text, char userSeparator);

// Fixed point with exactly three decimals and a point; the sign of the unrounded value is kept.
std::string Fmt(double value);
// The same with exactly ten decimals, rounding from extended precision.
std::string Fmt10(long double value);
// The same with the given number of decimals (0 to 20).
std::string FmtDecimals(double value, int decimals);

// sin/cos in extended precision, 0 at exactly pi/2 and 3pi/2.
long double SafeTan(long double x);

struct CosSin {
    double c = 1;
    double s = 0;
};
// The cosine and sine of an angle in degrees, bit for bit the same on every system: the C
// library's sin and cos are not (MinGW's differ from glibc's in the last place for about one
// angle in 300), and an SVG picture, which writes every digit, would show it. Exact at whole
// quarter turns; elsewhere within one unit in the last place. Not a number for an infinite
// angle.
CosSin CosSinDegrees(double degrees);

// Nearest integer, halves to even, except positive fractions in (0.4999999999999, 0.7) which
// are taken up by adding 0.1 first.
std::int64_t RoundToInt(long double x);

}  // namespace murvex
