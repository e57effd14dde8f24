// Short texts: blanks, lines, integers as text, ASCII case, cutting and searching, whole files.
#include "Text.h"

#include <charconv>
#include <limits>
#include <utility>

#include "PatternFile.h"

namespace murvex {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

LineList SplitLines(std::string_view text) {
    LineList lines;
    for (const std::string_view line : TextLines(text))
        lines.emplace_back(line);
    return lines;
}

namespace {

template <typename Int>
std::string DecimalText(Int value) {
    char buffer[24];  // 20 digits and a sign for the widest integer
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

}  // namespace

std::string IntText(int value) {
    return DecimalText(value);
}
std::string IntText(long value) {
    return DecimalText(value);
}
std::string IntText(long long value) {
    return DecimalText(value);
}
std::string IntText(unsigned value) {
    return DecimalText(value);
}
std::string IntText(unsigned long value) {
    return DecimalText(value);
}
std::string IntText(unsigned long long value) {
    return DecimalText(value);
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiUpper(text[i]) != AsciiUpper(prefix[i])) return false;
    }
    return true;
}

bool EqualsNoCase(std::string_view text, std::string_view other) {
    return text.size() == other.size() && StartsWithNoCase(text, other);
}

std::string CopyRange(std::string_view text, int start, int count) {
    if (count <= 0 || start < 1) return std::string();
    const long long last = static_cast<long long>(start) + count - 1;
    if (last > static_cast<long long>(text.size())) return std::string();
    return std::string(
        text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

int CharPos(char c, std::string_view text) {
    const std::size_t at = text.find(c);
    return at == std::string_view::npos ? 0 : static_cast<int>(at + 1);
}

std::optional<std::string> ReadWholeStream(std::FILE* stream) {
    std::string data;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        data.append(buffer, n);
    if (std::ferror(stream)) return std::nullopt;
    return data;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    // Through the reader of each system, which takes UTF-8 paths on Windows too.
    ReadFileResult r = ReadFileLimited(path, std::numeric_limits<std::uintmax_t>::max());
    if (r.status != ReadFileStatus::Ok) return std::nullopt;
    return std::move(r.bytes);
}

std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (IsTerminalControl(u)) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 0xf];
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

}  // namespace murvex
