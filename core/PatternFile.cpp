// Pattern lines and pattern files: the line kinds, their text, and what the two save flows
// (PosixFileIo.cpp, WindowsFileIo.cpp) share.
#include "PatternFile.h"

#include <algorithm>
#include <cerrno>

#include "FileIoSteps.h"
#include "NumberText.h"
#include "Text.h"

namespace murvex {

std::optional<PatternLine> ParsePatternLine(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '*') return std::nullopt;
    std::vector<double> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = trimmed.find(',', start);
        const std::string_view field = Trim(
            trimmed.substr(start, comma == std::string_view::npos ? trimmed.npos : comma - start));
        // Fields are point-decimal here: a comma is always a separator.
        const ParseResult r = ParseDecimal(field);
        if (!r.ok || field.empty()) return std::nullopt;
        fields.push_back(r.value);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() < 5) return std::nullopt;
    PatternLine line;
    line.angle = fields[0];
    line.x = fields[1];
    line.y = fields[2];
    line.shiftX = fields[3];
    line.shiftY = fields[4];
    line.dashes.assign(fields.begin() + 5, fields.end());
    return line;
}

namespace {

template <typename Lines>
std::vector<PatternLine> ParseFirstPattern(const Lines& lines) {
    std::vector<PatternLine> out;
    bool seen = false;
    for (const std::string_view l : lines) {
        const std::string_view t = Trim(l);
        if (seen && t.size() >= 2 && t.front() == '*') break;  // a second pattern
        if (auto p = ParsePatternLine(l)) {
            out.push_back(std::move(*p));
            seen = true;
        }
    }
    return out;
}

}  // namespace

std::vector<PatternLine> ParsePatternLines(const LineList& lines) {
    return ParseFirstPattern(lines);
}

std::vector<PatternLine> ParsePatternText(std::string_view text) {
    return ParseFirstPattern(TextLines(text));
}

std::string JoinCrLf(const LineList& lines) {
    std::size_t size = 0;
    for (const std::string& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

namespace {

WriteFaultHook g_writeFaultHook = nullptr;

}  // namespace

void SetWriteFaultHook(WriteFaultHook hook) {
    g_writeFaultHook = hook;
}

namespace detail {

bool Faulted(WriteStep step) {
    if (g_writeFaultHook == nullptr) return false;
    const int error = g_writeFaultHook(step);
    if (error == 0) return false;
    errno = error;
    return true;
}

bool IsTemporaryName(std::string_view name) {
    constexpr std::string_view kPrefix = ".murvex-";
    if (name.size() != kPrefix.size() + 6 || name.substr(0, kPrefix.size()) != kPrefix)
        return false;
    return std::all_of(name.begin() + kPrefix.size(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

ReadFileStatus OpenFailure(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return ReadFileStatus::Missing;
        case EACCES:
        case EPERM:
            return ReadFileStatus::PermissionDenied;
        case EISDIR:
            return ReadFileStatus::IsFolder;
        default:
            return ReadFileStatus::Failed;
    }
}

ReadFileResult ReadToEnd(const ReadSome& readSome, std::uintmax_t limit) {
    ReadFileResult result;
    char buffer[65536];
    while (true) {
        ReadFileStatus failure = ReadFileStatus::Failed;
        const long n = readSome(buffer, sizeof buffer, &failure);
        if (n < 0) {
            result.status = failure;
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        if (result.bytes.size() + static_cast<std::size_t>(n) > limit) {
            result.status = ReadFileStatus::TooLarge;
            result.bytes.clear();
            return result;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    result.status = ReadFileStatus::Ok;
    return result;
}

}  // namespace detail

WriteStatus WriteFileAtomic(const std::string& path, std::string_view bytes) {
    PendingWrite write;
    const WriteStatus prepared = write.Prepare(path, bytes);
    if (prepared != WriteStatus::Ok) return prepared;
    return write.Commit();
}

}  // namespace murvex
