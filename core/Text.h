// Short texts: blanks, lines, integers as text, ASCII case, cutting and searching, whole files.
#pragma once

#include <cstddef>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace murvex {

// Bytes that a terminal may take as a command: the C0 controls, DEL, and the five bytes
// Windows-1252 leaves undefined, which become C1 controls in UTF-8 (among them DCS and OSC).
constexpr bool IsTerminalControl(unsigned char u) {
    return u < 0x20 || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

// text as a quoted JSON string for every JSON output: '"' and '\\' escaped, "\n", "\r" and "\t"
// as such, and every other terminal control as "\u00XX", so that no output of a file's text can
// command a terminal.
std::string JsonString(std::string_view text);

// The ordered text lines of one file, without line ends.
using LineList = std::vector<std::string>;

// The control characters and the space (bytes 0 to 32) are blanks in every file format here.
constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
// Without leading and trailing blanks.
std::string_view Trim(std::string_view text);

// Files written by some editors begin with a UTF-8 byte-order mark; it is no text of the file.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark
               ? text.substr(kUtf8ByteOrderMark.size())
               : text;
}

// The lines of a text, as views into it: lines end at CR LF, a lone CR or a lone LF; a NUL byte
// ends the text; a last line without a line end counts, so an empty text has no lines. Every
// reader splits through this, so a file costs no memory per line: a file of millions of empty
// lines once took thirty times its size as one string per line.
class TextLines {
  public:
    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = std::string_view;

        Iterator() = default;
        std::string_view operator*() const { return line_; }
        Iterator& operator++() {
            Next();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            Next();
            return before;
        }
        bool operator==(const Iterator& other) const {
            return done_ == other.done_ && (done_ || next_ == other.next_);
        }

      private:
        friend class TextLines;
        explicit Iterator(std::string_view text) : text_(text), done_(false) { Next(); }

        void Next() {
            const char* const data = text_.data();
            const std::size_t size = text_.size();
            std::size_t i = next_;
            if (i >= size) {
                done_ = true;
                line_ = {};
                return;
            }
            // A plain byte loop: find_first_of("\r\n") searches the two-character set once
            // per byte.
            while (i < size && data[i] != '\r' && data[i] != '\n')
                ++i;
            line_ = std::string_view(data + next_, i - next_);
            if (i < size && data[i++] == '\r' && i < size && data[i] == '\n') ++i;
            next_ = i;
        }

        std::string_view text_;
        std::size_t next_ = 0;
        std::string_view line_;
        bool done_ = true;
    };

    // A UTF-8 byte-order mark at the start is no part of the first line (the views still point
    // into text, so their offsets are those of the file).
    explicit TextLines(std::string_view text)
        : text_(WithoutByteOrderMark(text.substr(0, text.find('\0')))) {}
    Iterator begin() const { return Iterator(text_); }
    Iterator end() const { return Iterator(); }

  private:
    std::string_view text_;
};

// Calls visit(line) for every line of text, as TextLines sees them, until it returns false.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    for (const std::string_view line : TextLines(text)) {
        if (!visit(line)) return;
    }
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
