// Short texts: blanks, lines, integers as text, ASCII case, cutting and searching, whole files.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace murvex {

// The ordered text lines of one file, without line ends.
using LineList = std::vector<std::string>;

// The control characters and the space (bytes 0 to 32) are blanks in every file format here.
constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
// Without leading and trailing blanks.
std::string_view Trim(std::string_view text);

// Calls visit(line) for every line of text until it returns false. Lines end at CR LF, a lone CR
// or a lone LF; a NUL byte ends the text; a last line without a line end counts, so an empty
// text has no lines.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    std::size_t i = 0;
    // A plain byte loop: find_first_of("\r\n") searches the two-character set once per byte.
    while (i < size) {
        const char c = data[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        if (!visit(std::string_view(data + start, i - start))) return;
        ++i;
        if (c == '\r' && i < size && data[i] == '\n') ++i;
        start = i;
    }
    if (start < size) visit(std::string_view(data + start, size - start));
}
// Every line as ForEachLine sees it.
LineList SplitLines(std::string_view text);

// Decimal text of an integer, without a locale.
std::string IntText(int value);
std::string IntText(long value);
std::string IntText(long long value);
std::string IntText(unsigned value);
std::string IntText(unsigned long value);
std::string IntText(unsigned long long value);

// ASCII letters only; every other byte (CP1252 letters too) stays as it is.
constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string AsciiUpper(std::string_view text);
// Whether text begins with prefix, or equals other, ASCII letters compared without case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EqualsNoCase(std::string_view text, std::string_view other);

// count characters from the 1-based start; empty unless the range lies wholly in the text.
std::string CopyRange(std::string_view text, int start, int count);
// 1-based position of the first c in text, 0 when absent.
int CharPos(char c, std::string_view text);

// Everything left in a stream; nothing when reading fails.
std::optional<std::string> ReadWholeStream(std::FILE* stream);
// Reads a whole file; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace murvex
