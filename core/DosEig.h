// Number text, short-text helpers, numeric guards and deletion through the shell.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace murvex {

class Platform;

// Texts longer than this are cut before parsing.
inline constexpr std::size_t kShortTextLimit = 255;

struct ParseResult {
    bool ok = false;
    double value = 0.0;
};

// Reads a decimal number typed with a comma or a point; never looks at the locale.
// Fails (value 0) on anything outside the grammar and on numbers beyond the range of a double.
ParseResult ParseDecimal(std::string_view text);

// Replaces the first foreign separator by the user's own (separator '.' or ',').
std::string LocalizeSeparator(std::string_view text, char userSeparator);

// Fixed point with exactly three decimals and a point; the sign of the unrounded value is kept.
std::string Fmt(double value);
// The same with exactly ten decimals, rounding from extended precision.
std::string Fmt10(long double value);

// count characters from the 1-based start; empty unless the range lies wholly in the text.
std::string CopyRange(std::string_view text, int start, int count);
// 1-based position of the first c in text, 0 when absent.
int CharPos(char c, std::string_view text);

// sin/cos in extended precision, 0 at exactly pi/2 and 3pi/2.
long double SafeTan(long double x);
// Nearest integer, halves to even, except positive fractions in (0.4999999999999, 0.7) which
// are taken up by adding 0.1 first.
std::int64_t RoundToInt(long double x);

// Longest path the shell's 256-byte name buffer holds with its two terminators.
inline constexpr std::size_t kShellPathLimit = 254;
// Deletes a file through the shell (to the recycle bin when toRecycleBin), with the busy cursor.
bool ShellDeleteFile(Platform& platform, const std::string& path, bool toRecycleBin);

}  // namespace murvex
